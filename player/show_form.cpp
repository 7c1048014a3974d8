#include "show_form.h"

TshowFrm::TshowFrm(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("showFrm"));
    setWindowTitle(QStringLiteral("Verasco Viewer"));
}

#include "show_form.h"

TshowFrm::TshowFrm(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("TshowFrm"));
    setWindowTitle(QStringLiteral("Verasco Viewer"));
}

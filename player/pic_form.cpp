#include "pic_form.h"

Tpicfrm::Tpicfrm(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("Tpicfrm"));
    setWindowTitle(QStringLiteral("Morvant Verasco"));
}

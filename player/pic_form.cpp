// SPDX-License-Identifier: MIT
#include "pic_form.h"

Tpicfrm::Tpicfrm(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("picfrm"));
    setWindowTitle(QStringLiteral("Morvant Verasco"));
}

#include "print_image_dialog.h"

Tprint1Dlg::Tprint1Dlg(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("print1Dlg"));
    setWindowTitle(QStringLiteral("Print Image"));
}

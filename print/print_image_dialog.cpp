#include "print_image_dialog.h"

Tprint1Dlg::Tprint1Dlg(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("Tprint1Dlg"));
    setWindowTitle(QStringLiteral("Print Image"));
}

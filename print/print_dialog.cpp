#include "print_dialog.h"

Tprintdlg::Tprintdlg(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("Tprintdlg"));
    setWindowTitle(QStringLiteral("Print Verasco"));
}

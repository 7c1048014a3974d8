#include "print_dialog.h"

Tprintdlg::Tprintdlg(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("printdlg"));
    setWindowTitle(QStringLiteral("Print Verasco"));
}

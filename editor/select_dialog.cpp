#include "select_dialog.h"

TselectDlg::TselectDlg(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("TselectDlg"));
    setWindowTitle(QStringLiteral("Select Images"));
}

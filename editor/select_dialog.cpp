#include "select_dialog.h"

TselectDlg::TselectDlg(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("selectDlg"));
    setWindowTitle(QStringLiteral("Select Images"));
}

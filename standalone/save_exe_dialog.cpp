#include "save_exe_dialog.h"

Tsaveexedlg::Tsaveexedlg(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("saveexedlg"));
    setWindowTitle(QStringLiteral("Stand-alone Verasco Settings"));
}

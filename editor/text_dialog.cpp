#include "text_dialog.h"

Ttextdlg::Ttextdlg(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("textdlg"));
    setWindowTitle(QStringLiteral("Image Properties"));
}

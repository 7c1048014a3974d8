#include "text_dialog.h"

Ttextdlg::Ttextdlg(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("Ttextdlg"));
    setWindowTitle(QStringLiteral("Image Properties"));
}

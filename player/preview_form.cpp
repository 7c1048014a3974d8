#include "preview_form.h"

Tpreviewfrm::Tpreviewfrm(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("Tpreviewfrm"));
    setWindowTitle(QStringLiteral("Preview Image"));
}

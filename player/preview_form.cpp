#include "preview_form.h"

Tpreviewfrm::Tpreviewfrm(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("previewfrm"));
    setWindowTitle(QStringLiteral("Preview Image"));
}

#include "search_form.h"

Tsrchform::Tsrchform(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("Tsrchform"));
    setWindowTitle(QStringLiteral("Find Image"));
}

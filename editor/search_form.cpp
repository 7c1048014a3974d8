#include "search_form.h"

Tsrchform::Tsrchform(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("srchform"));
    setWindowTitle(QStringLiteral("Find Image"));
}

// SPDX-License-Identifier: MIT
#include "dialog_parts.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

namespace print {

void layOutPrintDialog(QDialog* dialog, QLayout* contents, QPushButton* print, QPushButton* cancel,
                       QPushButton* extra) {
    auto* buttons = new QHBoxLayout;
    if (extra)
        buttons->addWidget(extra);
    buttons->addStretch();
    buttons->addWidget(print);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(dialog);
    layout->addLayout(contents);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    print->setDefault(true);
    QObject::connect(print, &QPushButton::clicked, dialog, [dialog] { dialog->done(1); });
    QObject::connect(cancel, &QPushButton::clicked, dialog, [dialog] { dialog->done(2); });
}

} // namespace print

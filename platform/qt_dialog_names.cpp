// SPDX-License-Identifier: MIT
#include "qt_dialog_names.h"

#include <QCoreApplication>
#include <QFileDialog>
#include <QFontDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QSizeGrip>
#include <QSplitter>
#include <QStackedWidget>

#include <algorithm>

namespace {

QString translated(const char* text) {
    return QCoreApplication::translate("QtDialogNames", text);
}

void nameIfUnnamed(QWidget* part, const QString& name) {
    if (part && part->accessibleName().isEmpty())
        part->setAccessibleName(name);
}

void nameSizeGrips(QDialog& dialog) {
    for (QSizeGrip* grip : dialog.findChildren<QSizeGrip*>())
        nameIfUnnamed(grip, translated(QT_TRANSLATE_NOOP("QtDialogNames", "Window size")));
}

} // namespace

void nameFileDialogParts(QFileDialog& dialog) {
    if (auto* splitter = dialog.findChild<QSplitter*>(QStringLiteral("splitter"))) {
        nameIfUnnamed(splitter, translated(QT_TRANSLATE_NOOP("QtDialogNames", "Places and files")));
        for (int i = 0; i < splitter->count(); ++i)
            nameIfUnnamed(splitter->handle(i),
                          translated(QT_TRANSLATE_NOOP("QtDialogNames", "Width of the places")));
    }
    nameIfUnnamed(dialog.findChild<QStackedWidget*>(QStringLiteral("stackedWidget")),
                  translated(QT_TRANSLATE_NOOP("QtDialogNames", "Files")));
    nameSizeGrips(dialog);
}

void nameFontDialogParts(QFontDialog& dialog) {
    // The family, style and size columns, each a field over a list; a column's label names the
    // list or the field, and both take its name.
    const QList<QLineEdit*> fields = dialog.findChildren<QLineEdit*>(Qt::FindDirectChildrenOnly);
    const QList<QListView*> lists = dialog.findChildren<QListView*>(Qt::FindDirectChildrenOnly);
    for (QLabel* label : dialog.findChildren<QLabel*>(Qt::FindDirectChildrenOnly)) {
        const qsizetype column = std::max(fields.indexOf(label->buddy()), lists.indexOf(label->buddy()));
        if (column < 0 || column >= fields.size() || column >= lists.size())
            continue;
        const QString name = label->text().remove(QLatin1Char('&'));
        nameIfUnnamed(fields[column], name);
        nameIfUnnamed(lists[column], name);
    }
    nameSizeGrips(dialog);
}

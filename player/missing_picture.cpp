// SPDX-License-Identifier: MIT
#include "missing_picture.h"

#include "show_file.h"

#include <QCoreApplication>
#include <QPainter>

QImage missingPicture(QSize size, const QString& path, const QFont& font) {
    QImage picture(size.expandedTo(QSize(1, 1)), QImage::Format_RGB32);
    picture.fill(QColor(192, 192, 192));
    QPainter painter(&picture);
    painter.setFont(font);
    painter.drawText(
        picture.rect(), Qt::AlignCenter,
        QCoreApplication::translate("MissingPicture", "%1\nmissing").arg(ShowFile::fileNamePart(path)));
    return picture;
}

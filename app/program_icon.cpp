// SPDX-License-Identifier: MIT
#include "program_icon.h"

#include <QIconEngine>
#include <QPainter>

#include <algorithm>

namespace {
const int IconSizes[] = {16, 32, 48, 64, 128};

// Answers sizes from the list of files and reads the files when a picture is first asked for.
class FilesOnFirstDrawEngine : public QIconEngine {
  public:
    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override {
        painter->drawPixmap(rect, pixmap(rect.size(), mode, state));
    }
    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        return loaded().pixmap(size, mode, state);
    }
    QSize actualSize(const QSize& size, QIcon::Mode, QIcon::State) override {
        const int largest = IconSizes[std::size(IconSizes) - 1];
        return QSize(std::min(size.width(), largest), std::min(size.height(), largest));
    }
    QList<QSize> availableSizes(QIcon::Mode, QIcon::State) override {
        QList<QSize> sizes;
        for (const int side : IconSizes)
            sizes.append(QSize(side, side));
        return sizes;
    }
    QIconEngine* clone() const override { return new FilesOnFirstDrawEngine(*this); }
    QString key() const override { return QStringLiteral("FilesOnFirstDraw"); }

  private:
    QIcon& loaded() {
        if (icon_.isNull()) {
            for (const int side : IconSizes)
                icon_.addFile(QStringLiteral(":/icons/verasco-%1.png").arg(side), QSize(side, side));
        }
        return icon_;
    }

    QIcon icon_;
};
} // namespace

QIcon programIcon() {
    return QIcon(new FilesOnFirstDrawEngine);
}

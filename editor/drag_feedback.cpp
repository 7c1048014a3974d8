// SPDX-License-Identifier: MIT
#include "drag_feedback.h"

#include "ovc_table.h"
#include "show_grid.h"

#include <QLabel>
#include <QPainter>
#include <QPixmap>

namespace {
constexpr int MarkWidth = 3;
constexpr qreal PictureOpacity = 0.6;
} // namespace

DragFeedback::DragFeedback(QWidget& pictureLayer, TOvcTable& showGrid)
    : layer_(pictureLayer), grid_(showGrid), picture_(new QLabel(&pictureLayer)),
      mark_(new QWidget(showGrid.viewport())) {
    picture_->setObjectName(QStringLiteral("DragPicture"));
    picture_->setAttribute(Qt::WA_TransparentForMouseEvents);
    picture_->hide();
    mark_->setObjectName(QStringLiteral("InsertionMark"));
    mark_->setAttribute(Qt::WA_TransparentForMouseEvents);
    mark_->setAutoFillBackground(true);
    QPalette colours = mark_->palette();
    colours.setColor(QPalette::Window, Qt::black);
    mark_->setPalette(colours);
    mark_->hide();
}

void DragFeedback::showPicture(const QImage& thumbnail, const QPoint& globalPos) {
    if (thumbnail.isNull()) {
        picture_->hide();
        return;
    }
    // The see-through copy is made once per picture, not at every pointer move.
    if (thumbnail.cacheKey() != pictureKey_) {
        pictureKey_ = thumbnail.cacheKey();
        QPixmap faded(thumbnail.size());
        faded.setDevicePixelRatio(thumbnail.devicePixelRatio());
        faded.fill(Qt::transparent);
        QPainter painter(&faded);
        painter.setOpacity(PictureOpacity);
        painter.drawImage(0, 0, thumbnail);
        painter.end();
        picture_->setPixmap(faded);
        picture_->resize(thumbnail.deviceIndependentSize().toSize());
    }
    picture_->move(layer_.mapFromGlobal(globalPos) - QPoint(picture_->width() / 2, picture_->height() / 2));
    picture_->raise();
    picture_->show();
}

void DragFeedback::markBefore(int index, int slideCount) {
    using namespace ShowGrid;
    const int columns = grid_.ColumnCount();
    if (index > 0 && columnOf(index, columns) == 0 && index >= slideCount)
        markBorder(rowOf(index - 1, columns), columns);
    else
        markBorder(rowOf(index, columns), columnOf(index, columns));
}

void DragFeedback::markAfter(int index) {
    const int columns = grid_.ColumnCount();
    markBorder(ShowGrid::rowOf(index, columns), ShowGrid::columnOf(index, columns) + 1);
}

void DragFeedback::markBorder(int row, int edge) {
    const QRect cell = grid_.cellRect(row, 0);
    mark_->setGeometry(edge * grid_.ColumnWidth() - MarkWidth / 2, cell.top(), MarkWidth, cell.height());
    mark_->raise();
    mark_->show();
}

void DragFeedback::clearMark() {
    mark_->hide();
}

void DragFeedback::hide() {
    picture_->hide();
    mark_->hide();
}

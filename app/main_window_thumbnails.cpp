// SPDX-License-Identifier: MIT
// The main window's thumbnail size: the View menu's steps, Ctrl with the wheel over a grid, and the
// grids laid out across the window's width for the size chosen; the thumbnails' ground, which
// follows the appearance.
#include "image_browser.h"
#include "main_window.h"
#include "ovc_table.h"
#include "show_grid.h"
#include "show_grid_view.h"
#include "thumbnails.h"

#include <QFrame>
#include <QLabel>
#include <QPushButton>

#include <algorithm>

namespace {
// The design's distances across: the left margin, the folder panel's width beyond its cells, from
// the folder panel to the add buttons and to the show panel, the right margin, and the room the
// show grid keeps for its scroll bar.
constexpr int LeftMargin = 15;
constexpr int PanelExtra = 25;
constexpr int ToButtons = 16;
constexpr int ToShowPanel = 54;
constexpr int RightMargin = 13;
constexpr int ScrollBarRoom = 17;
constexpr int PanelInset = 4;

void placeAcross(QWidget* control, int x, int width = -1) {
    QRect r = control->geometry();
    r.moveLeft(x);
    if (width >= 0)
        r.setWidth(width);
    control->setGeometry(r);
}
} // namespace

void TMainFormverasco::connectThumbnailSizes() {
    for (TOvcTable* grid : {OvcTable1, OvcTable2})
        connect(grid, &TOvcTable::zoomRequested, this, [this](int steps) {
            setThumbnailSize(steppedThumbnailWidth(thumbnails_->thumbnailWidth(), steps));
        });
    thumbnails_->setThumbnailWidth(settings_.ThumbnailSize);
    thumbnailGround_ = thumbnails_->ground();
    placeGrids();
}

void TMainFormverasco::followThumbnailGround() {
    if (!thumbnails_ || !browser_ || thumbnails_->ground() == thumbnailGround_)
        return;
    thumbnailGround_ = thumbnails_->ground();
    browser_->drawThumbnailsAnew();
    OvcTable2->InvalidateTable();
}

void TMainFormverasco::LargerThumbnails1Click() {
    setThumbnailSize(steppedThumbnailWidth(thumbnails_->thumbnailWidth(), 1));
}

void TMainFormverasco::SmallerThumbnails1Click() {
    setThumbnailSize(steppedThumbnailWidth(thumbnails_->thumbnailWidth(), -1));
}

void TMainFormverasco::setThumbnailSize(int width) {
    width = std::clamp(width, int(Settings::MinThumbnailSize), int(Settings::MaxThumbnailSize));
    settings_.ThumbnailSize = width;
    if (width == thumbnails_->thumbnailWidth())
        return;
    thumbnails_->setThumbnailWidth(width);
    placeGrids();
    browser_->drawThumbnailsAnew();
    OvcTable2->InvalidateTable();
}

void TMainFormverasco::placeGrids() {
    if (!thumbnails_ || !showView_)
        return;
    const QSize thumbnail = thumbnails_->thumbnailSize();
    const int cellWidth = thumbnail.width() - 4;
    const int panelWidth = cellWidth + PanelExtra;
    // The window is at least wide enough for one column of the show grid.
    QWidget* client = centralWidget();
    client->setMinimumWidth(std::max(ClientWidth, LeftMargin + 2 * panelWidth + ToShowPanel + RightMargin));
    const int showX = LeftMargin + panelWidth + ToShowPanel;
    const int showWidth = std::max(panelWidth, client->width() - RightMargin - showX);
    placeAcross(Panel6, LeftMargin, panelWidth);
    placeAcross(OvcTable1, PanelInset, panelWidth - 2 * PanelInset);
    for (QWidget* control : {Label1, Label6})
        placeAcross(control, LeftMargin + 5);
    for (QWidget* button : {BitBtn1, BitBtn3})
        placeAcross(button, LeftMargin + panelWidth + ToButtons);
    placeAcross(Label2, showX + 2);
    placeAcross(Label7, showX + 4);
    placeAcross(Panel7, showX, showWidth);
    placeAcross(ShowTimeLabel, showX + showWidth - ShowTimeLabel->width() - 4);
    placeAcross(OvcTable2, PanelInset, showWidth - 2 * PanelInset);

    OvcTable1->setColumnWidth(cellWidth);
    OvcTable1->setRowHeight(thumbnail.height() + 2);
    OvcTable2->setColumnWidth(cellWidth);
    OvcTable2->setRowHeight(thumbnail.height() + 3);
    const int fitting = (OvcTable2->width() - ScrollBarRoom) / cellWidth;
    showView_->setColumns(std::max(thumbnail.width() == ThumbnailWidth ? ShowGrid::Columns : 1, fitting));
}

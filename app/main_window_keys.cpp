// SPDX-License-Identifier: MIT
// The main window for the keyboard and the screen reader: the names its controls are announced by,
// and the grids' keyboard commands (Enter, the context menu keys, moving a slide).

#include "main_window.h"

#include "app_windows.h"
#include "image_browser.h"
#include "ovc_table.h"
#include "show_grid.h"
#include "slide_properties.h"

#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>

void TMainFormverasco::nameControls() {
    BitBtn1->setAccessibleName(tr("Add selected pictures"));
    BitBtn3->setAccessibleName(tr("Add all pictures"));
    BitBtn5->setAccessibleName(tr("Choose the pictures folder"));
    BitBtn4->setAccessibleName(tr("Choose the show file"));
    OvcTable1->setAccessibleName(tr("Pictures of the folder"));
    OvcTable2->setAccessibleName(tr("Slides of the show"));
    Edit2->setAccessibleName(tr("Show file"));
    Edit1->setAccessibleName(tr("Pictures folder"));
    // The counts are read by what they say now ("Files: 12", "Images: 3 (1 not found)").
    Label6->setAccessibleDescription(tr("Pictures in the folder"));
    Label7->setAccessibleDescription(tr("Slides in the show"));
    // The tab order is the order of reading: the show's name, the folder, Play, the folder grid, the
    // add buttons, the show grid.
    QWidget* order[] = {Edit2, BitBtn4, Edit1, BitBtn5, BitBtn2, OvcTable1, BitBtn1, BitBtn3, OvcTable2};
    for (std::size_t i = 1; i < std::size(order); ++i)
        setTabOrder(order[i - 1], order[i]);
}

void TMainFormverasco::connectGridKeys() {
    connect(OvcTable1, &TOvcTable::cellActivated, this, [this] { browser_->previewActiveRow(); });
    connect(OvcTable1, &TOvcTable::contextMenuKeyPressed, this, [this](int row, int col) {
        PopupMenu1->popup(OvcTable1->viewport()->mapToGlobal(OvcTable1->cellRect(row, col).center()));
    });
    // In the show grid Enter and the context menu keys open the properties of the selected slides,
    // or else of the active one, as Edit > Image Properties does.
    auto openProperties = [this] { properties_->openActive(); };
    connect(OvcTable2, &TOvcTable::cellActivated, this, openProperties);
    connect(OvcTable2, &TOvcTable::contextMenuKeyPressed, this, openProperties);
    connect(OvcTable2, &TOvcTable::moveCellRequested, this, &TMainFormverasco::moveSlideByKey);
}

// The active slide goes to the cell the arrow leads to (no further than the last slide), as one step
// of the history, and stays the active one.
void TMainFormverasco::moveSlideByKey(int fromRow, int fromCol, int toRow, int toCol) {
    const int from = ShowGrid::indexAt(fromRow, fromCol, OvcTable2->ColumnCount());
    const int to = qMin(ShowGrid::indexAt(toRow, toCol, OvcTable2->ColumnCount()), show_.SlideCount - 1);
    if (from >= show_.SlideCount || to < 0 || to == from)
        return;
    show_.move(from, to);
    OvcTable2->setActiveCell(ShowGrid::rowOf(to, OvcTable2->ColumnCount()),
                             ShowGrid::columnOf(to, OvcTable2->ColumnCount()));
}

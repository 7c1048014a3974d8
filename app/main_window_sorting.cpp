// SPDX-License-Identifier: MIT
// The main window's side of sorting the show: which slides Edit > "&Sort Slides" sorts, and when.
#include "main_window.h"

#include "main_menus.h"
#include "show_grid_view.h"
#include "show_selection.h"
#include "slide_sorting.h"
#include "wait_cursor.h"

namespace {
// The slides a sort acts on: those selected when several are, else the whole show.
QList<int> slidesToSort(const ShowDocument& show, const ShowSelection& selection) {
    if (!selection.several())
        return SlideSorting::allSlides(show);
    const std::vector<int> chosen = selection.slides();
    return QList<int>(chosen.begin(), chosen.end());
}

void sortShow(ShowDocument& show, const ShowSelection& selection, SlideSorting::Order order) {
    // A first sort by date reads the head of every picture file not yet read.
    const WaitCursor hourglass;
    SlideSorting::sortSlides(show, slidesToSort(show, selection), order);
}
} // namespace

void TMainFormverasco::SortMenuClick() {
    const bool several = show_.SlideCount > 1;
    applyMenuRules(*this, {{"SortByDate1", several}, {"SortByName1", several}, {"SortReverse1", several}});
}

void TMainFormverasco::SortByDate1Click() {
    sortShow(show_, showView_->selection(), SlideSorting::Order::DateTaken);
}

void TMainFormverasco::SortByName1Click() {
    sortShow(show_, showView_->selection(), SlideSorting::Order::Name);
}

void TMainFormverasco::SortReverse1Click() {
    sortShow(show_, showView_->selection(), SlideSorting::Order::Reverse);
}

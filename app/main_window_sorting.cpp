// SPDX-License-Identifier: MIT
// The main window's side of sorting the show: which slides Edit > "S&ort Slides" sorts, and when.
#include "main_window.h"

#include "main_menus.h"
#include "slide_sorting.h"
#include "wait_cursor.h"

namespace {
// The slides a sort acts on: the whole show, as the show grid selects one slide at a time.
QList<int> slidesToSort(const ShowDocument& show) {
    return SlideSorting::allSlides(show);
}

void sortShow(ShowDocument& show, SlideSorting::Order order) {
    // A first sort by date reads the head of every picture file not yet read.
    const WaitCursor hourglass;
    SlideSorting::sortSlides(show, slidesToSort(show), order);
}
} // namespace

void TMainFormverasco::SortMenuClick() {
    const bool several = show_.SlideCount > 1;
    applyMenuRules(*this, {{"SortByDate1", several}, {"SortByName1", several}, {"SortReverse1", several}});
}

void TMainFormverasco::SortByDate1Click() {
    sortShow(show_, SlideSorting::Order::DateTaken);
}

void TMainFormverasco::SortByName1Click() {
    sortShow(show_, SlideSorting::Order::Name);
}

void TMainFormverasco::SortReverse1Click() {
    sortShow(show_, SlideSorting::Order::Reverse);
}

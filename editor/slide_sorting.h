// SPDX-License-Identifier: MIT
#pragma once
// Edit > "&Sort Slides": puts slides in the order their pictures were taken, in the natural order of
// their file names ("img2" before "img10"), or the other way round. The slides sorted take the places
// they held among themselves, as one step of the show's history; the others stay where they are.

#include <QList>
#include <QString>

class ShowDocument;

namespace SlideSorting {

enum class Order {
    DateTaken, // by the EXIF date the picture was taken, else its file's modification time
    Name,      // by file name, digits by their value, case left aside
    Reverse,   // the other way round
};

// Sorts the slides at `indices` (any order; those outside the show are left out) among their own
// places. Slides without a picture (blank, or the file not there) keep their order after the others
// when sorting by date or name.
void sortSlides(ShowDocument& show, QList<int> indices, Order order);

// Every slide of the show, for sortSlides.
QList<int> allSlides(const ShowDocument& show);

// Negative, zero or positive as `a` comes before, with or after `b` in natural order: runs of digits
// compare by their value, letters without regard to case.
int naturalCompare(const QString& a, const QString& b);

} // namespace SlideSorting

// SPDX-License-Identifier: MIT
#pragma once
// What the show grid tells of each slide beside its picture, and the show's running time under it:
// a slide's time, and marks for a caption shown, a sound and a motion.

#include <QObject>
#include <QString>

#include <cstdint>

class QLabel;
class QPainter;
class QRect;
class ShowDocument;

namespace SlideBadges {

// The slide's time and marks, drawn over the top of its cell.
void paint(QPainter& painter, const QRect& cell, const ShowDocument& show, int index);
// A time as the grid shows it: seconds to the tenth ("2.5", "12").
QString secondsText(std::int64_t ms);
// The show's running time as "m:ss", rounded up to the whole second.
QString lengthText(std::int64_t ms);
// The show played once at the slides' own times, each held slide at least its own time.
std::int64_t showLengthMs(const ShowDocument& show);

} // namespace SlideBadges

// Keeps a label saying the show's running time as the show changes.
class ShowLengthView : public QObject {
  public:
    ShowLengthView(ShowDocument& show, QLabel& label);

  private:
    void showLength();

    ShowDocument& show_;
    QLabel& label_;
};

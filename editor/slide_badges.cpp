// SPDX-License-Identifier: MIT
#include "slide_badges.h"

#include "show_document.h"
#include "show_motion.h"
#include "show_timeline.h"
#include "stored_path.h"

#include <QCoreApplication>
#include <QFontMetrics>
#include <QLabel>
#include <QLocale>
#include <QPainter>

namespace SlideBadges {

namespace {

constexpr int StripHeight = 12;

// The marks of what the slide carries beside its picture: a caption shown, a sound, a motion.
QString marksOf(const ShowDocument& show, int index) {
    const TSlideRecord& slide = show.slide(index);
    QString marks;
    if (slide.ShowText && !StoredPath::of(slide.Text).trimmed().isEmpty())
        marks += QStringLiteral("T");
    if (show.hasAudio(index))
        marks += QChar(0x266A); // a note
    if (ShowMotion::motion(show.extra(index)))
        marks += QChar(0x2197); // an arrow up and to the right
    return marks;
}

} // namespace

QString secondsText(std::int64_t ms) {
    return QLocale().toString(double(ms) / 1000.0, 'g', 6);
}

QString lengthText(std::int64_t ms) {
    const std::int64_t seconds = (ms + 999) / 1000;
    return QStringLiteral("%1:%2").arg(seconds / 60).arg(seconds % 60, 2, 10, QLatin1Char('0'));
}

std::int64_t showLengthMs(const ShowDocument& show) {
    std::vector<ShowRules::SlideTiming> slides;
    for (int i = 0; i < show.SlideCount; ++i)
        slides.push_back({show.timeMs(i), false, false, -1, {}});
    return ShowRules::makeTimeline(slides).totalMs;
}

void paint(QPainter& painter, const QRect& cell, const ShowDocument& show, int index) {
    if (index < 0 || index >= show.SlideCount)
        return;
    const QRect strip(cell.left() + 3, cell.top() + 3, cell.width() - 6, StripHeight);
    painter.save();
    painter.fillRect(strip, QColor(0, 0, 0, 150));
    QFont font = painter.font();
    font.setPixelSize(StripHeight - 2);
    painter.setFont(font);
    painter.setPen(Qt::white);
    const QRect text = strip.adjusted(2, 0, -2, 0);
    painter.drawText(text, Qt::AlignLeft | Qt::AlignVCenter,
                     secondsText(show.timeMs(index)) + QStringLiteral(" s"));
    painter.drawText(text, Qt::AlignRight | Qt::AlignVCenter, marksOf(show, index));
    painter.restore();
}

} // namespace SlideBadges

ShowLengthView::ShowLengthView(ShowDocument& show, QLabel& label)
    : QObject(&label), show_(show), label_(label) {
    label_.setAccessibleName(QCoreApplication::translate("ShowLengthView", "Show length"));
    connect(&show_, &ShowDocument::changed, this, &ShowLengthView::showLength);
    showLength();
}

void ShowLengthView::showLength() {
    label_.setText(SlideBadges::lengthText(SlideBadges::showLengthMs(show_)));
}

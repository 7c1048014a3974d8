// SPDX-License-Identifier: MIT
#pragma once
// A slide's own time as the show keeps it: whole seconds in its record, and a time finer than that
// as "ms" in the slide's object of the extension block (slide_time.h holds the rule).

#include "slide_record.h"
#include "slide_time.h"

#include <QJsonObject>
#include <QString>

namespace SlideTimes {

inline const QString MsKey = QStringLiteral("ms");

// The slide's time in milliseconds.
inline std::int64_t timeMs(const TSlideRecord& record, const QJsonObject& slide) {
    const QJsonValue ms = slide.value(MsKey);
    return ShowRules::slideTimeMs(record.Delay, ms.isDouble() ? std::int64_t(ms.toDouble()) : -1);
}

// Gives the slide the time `ms` (within ShowRules' limits): its record the nearest whole seconds and
// its object the finer time where whole seconds do not hold it.
inline void setTimeMs(TSlideRecord& record, QJsonObject& slide, std::int64_t ms) {
    ms = std::clamp(ms, ShowRules::MinSlideMs, ShowRules::MaxSlideMs);
    record.Delay = static_cast<std::uint8_t>(ShowRules::delayOf(ms));
    if (ShowRules::needsMs(ms))
        slide.insert(MsKey, double(ms));
    else
        slide.remove(MsKey);
}

} // namespace SlideTimes

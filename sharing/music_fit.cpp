// SPDX-License-Identifier: MIT
#include "music_fit.h"

#include "codec_backend.h"
#include "show_document.h"
#include "show_extension.h"
#include "work_wait.h"

#include <QCoreApplication>
#include <QFileInfo>

#include <algorithm>
#include <chrono>
#include <future>
#include <map>

namespace sharing {
namespace {

// A sound's length as the codec measures it; -1 for a file that is not there or not a sound.
std::int64_t soundMs(CodecBackend& codec, const QString& path) {
    if (path.trimmed().isEmpty() || !QFileInfo(path).isFile())
        return -1;
    const SoundFacts facts = codec.probeSound(path);
    return facts.readable ? facts.durationMs : -1;
}

} // namespace

// A long list, or a file that states no length and is measured by decoding it, holds no window
// meanwhile.
std::map<QString, std::int64_t> soundLengths(CodecBackend& codec, const QStringList& paths) {
    std::map<QString, std::int64_t> lengths;
    for (const QString& path : paths)
        lengths.emplace(path, -1);
    std::future<void> work = std::async(std::launch::async, [&codec, &lengths] {
        for (auto& [path, ms] : lengths)
            ms = soundMs(codec, path);
    });
    imaging::waitForWork([&work](int ms) {
        return work.wait_for(std::chrono::milliseconds(ms)) == std::future_status::ready;
    });
    return lengths;
}

std::vector<std::int64_t> fittedSlideTimes(const std::vector<FitSlide>& slides, std::int64_t musicMs) {
    std::int64_t fixedMs = 0;
    std::int64_t free = 0;
    for (const FitSlide& slide : slides) {
        if (slide.heldMs >= 0)
            fixedMs += std::max(slide.timeMs, slide.heldMs);
        else
            ++free;
    }
    // The tenths left for the other slides, shared out evenly: the first slides take one more where
    // they do not divide.
    const std::int64_t tenths = free > 0 ? std::max<std::int64_t>(0, (musicMs - fixedMs + 50) / 100) : 0;
    const std::int64_t each = free > 0 ? tenths / free : 0;
    std::int64_t more = free > 0 ? tenths % free : 0;
    std::vector<std::int64_t> times;
    times.reserve(slides.size());
    for (const FitSlide& slide : slides) {
        if (slide.heldMs >= 0) {
            times.push_back(slide.timeMs);
            continue;
        }
        const std::int64_t time = (each + (more > 0 ? 1 : 0)) * 100;
        more -= more > 0 ? 1 : 0;
        times.push_back(std::clamp(time, ShowRules::MinSlideMs, ShowRules::MaxSlideMs));
    }
    return times;
}

QString fitSlidesToMusic(ShowDocument& show, CodecBackend& codec) {
    const QStringList music = ShowExtension::musicPaths(show.showData());
    QStringList sounds = music;
    for (int i = 0; i < show.SlideCount; ++i)
        if (show.slide(i).HoldForAudio)
            sounds.append(show.audioPath(i));
    const std::map<QString, std::int64_t> lengths = soundLengths(codec, sounds);
    const auto lengthOf = [&lengths](const QString& path) {
        const auto found = lengths.find(path);
        return found == lengths.end() ? std::int64_t(-1) : found->second;
    };
    std::int64_t musicMs = 0;
    for (const QString& path : music)
        musicMs += std::max<std::int64_t>(0, lengthOf(path));
    if (musicMs <= 0)
        return QCoreApplication::translate("MusicFit", "The show has no music that can be played.");
    std::vector<FitSlide> slides;
    for (int i = 0; i < show.SlideCount; ++i) {
        const TSlideRecord& record = show.slide(i);
        FitSlide slide{show.timeMs(i), -1};
        if (record.HoldForAudio)
            slide.heldMs = lengthOf(show.audioPath(i));
        slides.push_back(slide);
    }
    const std::vector<std::int64_t> times = fittedSlideTimes(slides, musicMs);
    const ShowDocument::Step step(show, QCoreApplication::translate("MusicFit", "Fit Slides to Music"));
    for (int i = 0; i < show.SlideCount; ++i) {
        ShowSlide slide = show.at(i);
        SlideTimes::setTimeMs(slide.record, slide.extra, times[std::size_t(i)]);
        show.replace(i, slide);
    }
    return {};
}

} // namespace sharing

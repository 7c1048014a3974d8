// SPDX-License-Identifier: MIT
#include "shared_show.h"

#include "music_level.h"
#include "show_document.h"
#include "show_extension.h"
#include "show_look.h"
#include "slide_audio.h"
#include "slide_paths.h"
#include "slide_transition.h"
#include "stored_font.h"
#include "title_slides.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QStringList>

namespace sharing {

SharedShow readSharedShow(const ShowDocument& show, const QPalette& palette) {
    SharedShow shared;
    for (int i = 0; i < show.SlideCount; ++i) {
        const TSlideRecord& record = show.slide(i);
        SharedSlide slide;
        if (!isBlankSlide(record))
            slide.picture = imagePathOf(record);
        if (SlideAudio::hasPlayableAudio(record))
            slide.audio = audioPathOf(record);
        slide.timeMs = show.timeMs(i);
        slide.holdForAudio = record.HoldForAudio;
        slide.showText = record.ShowText;
        slide.caption = shownCaptionOf(record);
        slide.font = storedFont(fontNameOf(record), record.FontSize, record.FontStyle);
        slide.colour = storedColor(record.FontColor, palette);
        if (!slide.picture.isEmpty())
            slide.motion = ShowMotion::motion(show.extra(i));
        slide.transition = SlideTransition::transitionInto(show.showData(), show.extra(i));
        slide.look = ShowLook::lookOf(show.showData(), show.extra(i));
        slide.title = TitleSlides::isTitle(record, show.extra(i));
        if (const int from = slide.title ? TitleSlides::backdropOf(show, i) : -1; from >= 0)
            slide.backdrop = imagePathOf(show.slide(from));
        shared.slides.push_back(slide);
    }
    const QStringList music = ShowExtension::musicPaths(show.showData());
    shared.music.assign(music.begin(), music.end());
    shared.musicFadeMs = ShowExtension::musicFadeMs(show.showData());
    shared.musicLevel = ShowExtension::musicLevel(show.showData()) / double(MusicLevel::FullLevel);
    return shared;
}

std::vector<SlideTiming> slideTimings(const SharedShow& show, const std::vector<std::int64_t>& audioMs) {
    std::vector<SlideTiming> timings;
    for (std::size_t i = 0; i < show.slides.size(); ++i) {
        const SharedSlide& slide = show.slides[i];
        timings.push_back(
            {slide.timeMs, slide.holdForAudio, !slide.audio.isEmpty(), audioMs[i], slide.transition});
    }
    return timings;
}

QString musicLeftOutNote(const std::vector<QString>& files) {
    if (files.empty())
        return {};
    QStringList names;
    for (const QString& file : files)
        names << QFileInfo(file).fileName();
    return QCoreApplication::translate("ShareCommands", "Music left out: %1")
        .arg(names.join(QStringLiteral(", ")));
}

} // namespace sharing

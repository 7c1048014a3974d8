// SPDX-License-Identifier: MIT
#pragma once
// Captions taken from the photographs: the date a photo was taken, its file name, or the description
// its Exif or XMP data holds. The text goes into the slide's caption, where every reader of the show
// finds it; "captionFrom" in the slide's object names its source, so that Edit > Refresh Captions can
// take it again after the photo changed.

#include <QJsonObject>
#include <QString>

class ShowDocument;
struct ShowSlide;

namespace CaptionSources {

enum class Source { Typed, DateTaken, FileName, Description };

// The source named in the slide's object; Typed for none or one this version does not know.
Source sourceOf(const QJsonObject& slide);
// The caption the source gives the picture at `imagePath`; empty where it gives none.
QString captionOf(Source source, const QString& imagePath);
// The slide with its caption taken from `source` (Typed only forgets the source).
void apply(ShowSlide& slide, Source source, const QString& imagePath);
// Takes every sourced caption again from its photo, as one step of the show's history ("Refresh
// Captions"); the number of slides whose caption changed.
int refreshAll(ShowDocument& show);
// Whether any slide of the show takes its caption from its photo.
bool anySourced(const ShowDocument& show);

} // namespace CaptionSources

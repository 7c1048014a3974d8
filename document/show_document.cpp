#include "show_document.h"

#include "stored_path.h"

#include <QFileInfo>

#include <algorithm>
#include <cctype>
#include <cstring>

ShowDocument::ShowDocument(int defaultDelay)
    : slides_(std::make_unique_for_overwrite<TSlideRecord[]>(SlotCount)),
      thumbnails_(std::make_unique<std::array<QImage, SlotCount>>()), defaultDelay_(defaultDelay) {
    std::memset(&fresh_, 0, sizeof fresh_);
    resetAll();
}

void ShowDocument::makeFresh(TSlideRecord& r) const {
    r.ImageFile.assign({});
    r.AudioFile.assign({});
    r.Text.assign({});
    r.Delay = static_cast<std::uint8_t>(std::clamp(defaultDelay_, 1, 255));
    r.HoldForAudio = 0;
    r.ShowText = 0;
    r.FontName.assign(DefaultFontName);
    r.FontColor = 0;
    r.FontSize = DefaultFontSize;
    r.FontStyle = 0;
}

void ShowDocument::resetSlot(int index) {
    makeFresh(slide(index));
}

void ShowDocument::resetAll() {
    makeFresh(fresh_);
    freshFrom_ = 0;
}

TSlideRecord& ShowDocument::slide(int index) {
    for (; freshFrom_ <= index; ++freshFrom_)
        slides_[freshFrom_] = fresh_;
    return slides_[index];
}

bool ShowDocument::isBlank(int index) const {
    const std::string name = slide(index).ImageFile.str();
    return name.size() == BlankImageName.size() &&
           std::equal(name.begin(), name.end(), BlankImageName.begin(),
                      [](char a, char b) { return std::toupper(static_cast<unsigned char>(a)) == b; });
}

bool ShowDocument::isMissing(int index) const {
    return !isBlank(index) && !QFileInfo::exists(imagePath(index));
}

bool ShowDocument::hasAudio(int index) const {
    const std::string audio = slide(index).AudioFile.str();
    return audio.find_first_not_of(' ') != std::string::npos;
}

QString ShowDocument::imagePath(int index) const {
    return StoredPath::of(slide(index).ImageFile);
}

QString ShowDocument::audioPath(int index) const {
    return StoredPath::of(slide(index).AudioFile);
}

bool ShowDocument::setImagePath(int index, const QString& path) {
    return StoredPath::assign(slide(index).ImageFile, path);
}

bool ShowDocument::setAudioPath(int index, const QString& path) {
    return StoredPath::assign(slide(index).AudioFile, path);
}

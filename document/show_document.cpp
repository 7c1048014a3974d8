#include "show_document.h"

#include "stored_path.h"

#include <algorithm>
#include <cctype>
#include <cstring>

ShowDocument::ShowDocument(int defaultDelay)
    : slides_(std::make_unique_for_overwrite<TSlideRecord[]>(SlotCount)),
      thumbnails_(std::make_unique<std::array<QImage, SlotCount>>()), defaultDelay_(defaultDelay) {
    std::memset(slides_.get(), 0, sizeof(TSlideRecord) * SlotCount);
    resetAll();
}

void ShowDocument::resetSlot(int index) {
    TSlideRecord& r = slides_[index];
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

void ShowDocument::resetAll() {
    for (int i = 0; i < SlotCount; ++i)
        resetSlot(i);
}

bool ShowDocument::isBlank(int index) const {
    const std::string name = slides_[index].ImageFile.str();
    return name.size() == BlankImageName.size() &&
           std::equal(name.begin(), name.end(), BlankImageName.begin(),
                      [](char a, char b) { return std::toupper(static_cast<unsigned char>(a)) == b; });
}

bool ShowDocument::hasAudio(int index) const {
    const std::string audio = slides_[index].AudioFile.str();
    return audio.find_first_not_of(' ') != std::string::npos;
}

QString ShowDocument::imagePath(int index) const {
    return StoredPath::of(slides_[index].ImageFile);
}

QString ShowDocument::audioPath(int index) const {
    return StoredPath::of(slides_[index].AudioFile);
}

bool ShowDocument::setImagePath(int index, const QString& path) {
    return StoredPath::assign(slides_[index].ImageFile, path);
}

bool ShowDocument::setAudioPath(int index, const QString& path) {
    return StoredPath::assign(slides_[index].AudioFile, path);
}

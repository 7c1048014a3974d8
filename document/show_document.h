#pragma once
// The show in memory: 501 slide records (one spare for insertions), their thumbnails, the count
// and the modified flag. Owned by the main window; the editor, player, printing and export get it
// by reference.

#include "slide_record.h"

#include <QImage>
#include <QString>
#include <array>
#include <memory>

class ShowDocument {
  public:
    static constexpr int MaxSlides = 500;
    static constexpr int SlotCount = MaxSlides + 1;

    explicit ShowDocument(int defaultDelay = 5);

    // Gives a slot the values of a fresh slide: no image, audio or caption, the default display
    // time and the default caption font.
    void resetSlot(int index);
    // Fresh values for every slot, as when the main window is created.
    void resetAll();

    void setDefaultDelay(int seconds) { defaultDelay_ = seconds; }
    int defaultDelay() const { return defaultDelay_; }

    TSlideRecord& slide(int index);
    const TSlideRecord& slide(int index) const { return index < freshFrom_ ? slides_[index] : fresh_; }
    std::array<QImage, SlotCount>& SlideThumbnails() { return *thumbnails_; }
    QImage& thumbnail(int index) { return (*thumbnails_)[index]; }
    const QImage& thumbnail(int index) const { return (*thumbnails_)[index]; }

    int SlideCount = 0;
    bool ShowModified = false;

    // Rows of the five-column show grid that hold the current slides.
    int gridRowCount() const { return SlideCount / 5 + (SlideCount % 5 != 0 ? 1 : 0); }
    bool isBlank(int index) const;
    // The slide names a picture whose file is not there (an unplugged drive, a renamed folder). It
    // keeps its path and is drawn as missing.
    bool isMissing(int index) const;
    bool hasAudio(int index) const;

    // The slide's image and audio paths as text (see stored_path.h for their bytes).
    QString imagePath(int index) const;
    QString audioPath(int index) const;
    // Store a path; false, with the slide unchanged, when the path is too long to be stored.
    [[nodiscard]] bool setImagePath(int index, const QString& path);
    [[nodiscard]] bool setAudioPath(int index, const QString& path);

  private:
    void makeFresh(TSlideRecord& record) const;

    // The slots from freshFrom_ on have not been written since the last reset of all slots and
    // read as fresh_; a slot is given those values when it is first written. An empty show thus
    // leaves the 400 KB of records untouched, which a start would otherwise spend time paging in.
    std::unique_ptr<TSlideRecord[]> slides_;
    TSlideRecord fresh_;
    int freshFrom_ = 0;
    std::unique_ptr<std::array<QImage, SlotCount>> thumbnails_;
    int defaultDelay_;
};

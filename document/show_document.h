// SPDX-License-Identifier: MIT
#pragma once
// The show in memory: its slides in show order, each a record and the thumbnail the grids draw of
// it, the count and the modified flag. Owned by the main window; the editor, player, printing and
// export get it by reference. Only the operations below change the show: each sets the modified
// flag, says what changed through changed(), and becomes a step of the show's history, which Undo
// and Redo walk.

#include "slide_record.h"
#include "slide_times.h"

#include <QImage>
#include <QJsonObject>
#include <QList>
#include <QObject>
#include <QString>

#include <cstddef>
#include <memory>
#include <vector>

class QUndoStack;
class ShowStep;
struct ShowEdit;

// One slide: its record, its thumbnail, and its data beyond the record (the show file's extension
// block keeps it; keys such as "motion"), which goes wherever the slide goes.
struct ShowSlide {
    TSlideRecord record{};
    QImage thumbnail;
    QJsonObject extra{};
};

// What one change did, for the views of the show.
struct ShowChange {
    enum class Kind {
        Inserted, // `count` slides from `first` on are new
        Removed,  // `count` slides from `first` on are gone
        Moved,    // the slide at `first` went to `to`
        Changed,  // `count` slides from `first` on have other records or thumbnails
        Reset,    // the show was cleared or read: anything may differ
    };
    Kind kind = Kind::Reset;
    int first = 0;
    int count = 0;
    int to = 0;

    bool countChanged() const { return kind != Kind::Moved && kind != Kind::Changed; }
    friend bool operator==(const ShowChange&, const ShowChange&) = default;
    // Where the slide that stood at `index` stands after the change, so that a view keeps its place
    // on that slide. A removed slide leaves its place to the slide after it; after a reset the index
    // stays.
    int indexAfter(int index) const;
};

// "BLANK" in any case: a slide without a picture.
bool isBlankRecord(const TSlideRecord& record);
// An audio path that is not all blanks.
bool recordHasAudio(const TSlideRecord& record);
// The same record as a file would store it.
bool sameRecord(const TSlideRecord& a, const TSlideRecord& b);

class ShowDocument : public QObject {
    Q_OBJECT
  public:
    static constexpr int MaxSlides = 500;
    // Undo goes back as far as this many bytes of kept changes reach: the oldest steps go first.
    static constexpr std::size_t HistoryBytes = 64 * 1024 * 1024;

    explicit ShowDocument(int defaultDelay = 5);
    ~ShowDocument() override;

    // Read access under the names the program has always used; only the operations change them.
    const int& SlideCount = count_;
    const bool& ShowModified = modified_;

    void setDefaultDelay(int seconds);
    int defaultDelay() const { return defaultDelay_; }
    // The values of a fresh slide: no image, audio or caption, the default display time and the
    // default caption font.
    const TSlideRecord& freshRecord() const { return fresh_; }

    // An index outside the show reads as a fresh slide without a thumbnail.
    const TSlideRecord& slide(int index) const;
    const QImage& thumbnail(int index) const;
    const QJsonObject& extra(int index) const;
    ShowSlide at(int index) const { return {slide(index), thumbnail(index), extra(index)}; }
    // The show's own data beyond its slides (music, caption style and keys of later versions).
    const QJsonObject& showData() const { return showData_; }
    bool isBlank(int index) const { return isBlankRecord(slide(index)); }
    // The slide's own time in milliseconds, to the tenth of a second (slide_times.h).
    std::int64_t timeMs(int index) const { return SlideTimes::timeMs(slide(index), extra(index)); }
    // The slide names a picture whose file is not there (an unplugged drive, a renamed folder). It
    // keeps its path and is drawn as missing.
    bool isMissing(int index) const;
    bool hasAudio(int index) const { return recordHasAudio(slide(index)); }
    // The slide's image and audio paths as text (see stored_path.h for their bytes).
    QString imagePath(int index) const;
    QString audioPath(int index) const;

    // Inserts the slides before slide `at` (SlideCount appends), as many as the show has room for;
    // returns how many went in.
    int insert(int at, QList<ShowSlide> slides);
    bool append(ShowSlide slide) { return insert(count_, {std::move(slide)}) == 1; }
    // Takes `count` slides out from `first` on and returns them.
    QList<ShowSlide> remove(int first, int count = 1);
    // Takes the slides at `indexes` (any order, each once) out and returns them in show order.
    QList<ShowSlide> removeEach(std::vector<int> indexes);
    // Moves slide `from` to the place `to`; the slides between close up.
    void move(int from, int to);
    // Moves the slides at `indexes` together, in show order, before the slide that stands at `before`
    // (SlideCount: to the end); returns where the first of them then stands.
    int moveEach(std::vector<int> indexes, int before);
    // Gives slide `index` another record, thumbnail and data.
    void replace(int index, ShowSlide slide);
    // Gives the show other data of its own.
    void setShowData(QJsonObject data);
    // Gives every slide the display time, audio hold and caption switch of the defaults.
    void giveEverySlide(std::uint8_t delay, bool holdForAudio, bool showText);
    // A thumbnail drawn anew is no change of the show: nothing to save and nothing to undo.
    void setThumbnail(int index, QImage thumbnail);

    // The show as a whole. Each of these empties the history and leaves the show unchanged.
    void clear();
    // The records of a show that was read, with the show's data and the objects of its slides (the
    // first slides.size() slides); their thumbnails are drawn afterwards (setThumbnail).
    void load(std::vector<TSlideRecord> records, QJsonObject data = {}, std::vector<QJsonObject> slides = {});
    // The show as it stands counts as the one opened: nothing to undo, nothing changed.
    void markOpened();

    // The show as it stands is saved: undoing or redoing back to this step leaves it unchanged.
    void markSaved();
    // Takes the last step back, or makes the step taken back last again; walked() then names the
    // slides it touched.
    void undo();
    void redo();
    // What Undo and Redo would do, for the Edit menu; the show's operations alone change it.
    const QUndoStack& history() const { return *history_; }
    // What the history's steps hold in memory.
    std::size_t historyBytes() const { return historyBytes_; }

    // Makes the changes done while it lives one step of the history, under the name the Edit menu
    // shows ("Undo Delete Slide"). A step that changed nothing is not kept. Steps opened inside
    // another one join it.
    class Step {
      public:
        Step(ShowDocument& show, const QString& name);
        ~Step();
        Step(const Step&) = delete;
        Step& operator=(const Step&) = delete;

      private:
        ShowDocument& show_;
        bool outermost_;
    };

  signals:
    void changed(const ShowChange& change);
    // After Undo or Redo: the slides the step touched, ascending, and the first of them; none where
    // it only took slides out, `first` then being where they stood.
    void walked(const std::vector<int>& touched, int first);
    // The show's own data changed (showData()).
    void showDataChanged();

  private:
    friend class ShowStep;
    // Makes the change, or takes it back.
    void perform(const ShowEdit& edit, bool forward);
    void keep(ShowEdit edit, const QString& name);
    void push(ShowStep* step);
    // Drops the oldest steps while the history holds more than HistoryBytes.
    void keepWithinLimit();
    void put(int at, const std::vector<ShowSlide>& slides);
    void take(int first, int count);
    void shift(int from, int to);
    void overwrite(const ShowEdit& edit, bool forward);
    void putShowData(const QJsonObject& data);
    void noteModified();
    // The valid indexes, ascending and each once.
    std::vector<int> validIndexes(std::vector<int> indexes) const;
    void walk(void (QUndoStack::*step)());

    std::vector<ShowSlide> slides_;
    int count_ = 0;
    QJsonObject showData_;
    bool modified_ = false;
    bool storedEmpty_ = true; // the show as read or last saved had no slides and no data
    int defaultDelay_;
    TSlideRecord fresh_{};
    QUndoStack* history_;
    std::size_t historyBytes_ = 0;
    bool relaying_ = false; // the history is laid anew: its steps change nothing
    std::unique_ptr<ShowStep> openStep_;
};

// SPDX-License-Identifier: MIT
#pragma once
// A step of the show's history: the changes one command made, kept so that Undo takes them back
// and Redo makes them again. Thumbnails are kept with the slides, so neither decodes a picture. A
// step keeps only what changed: the slides put in or taken out, and of a slide given other values
// only the bytes of its record that differ and its thumbnail where that was drawn anew.

#include "show_document.h"

#include <QUndoCommand>

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// The bytes of one record that a change gave other values: `length` bytes from `offset` on, as
// they were and as they became.
struct RecordPatch {
    std::uint16_t index = 0;
    std::uint16_t offset = 0;
    std::string bytes; // the bytes before, then the bytes after
};

// A thumbnail drawn anew by a change, as it was and as it became.
struct ThumbnailPatch {
    int index = 0;
    QImage before;
    QImage after;
};

// A slide's data beyond its record, as it was and as it became.
struct ExtraPatch {
    int index = 0;
    QJsonObject before;
    QJsonObject after;
};

// One change of the show.
struct ShowEdit {
    enum class Kind { Insert, Remove, Move, Replace, ShowData };
    Kind kind = Kind::Insert;
    int first = 0;
    int to = 0;                             // Move: where the slide went
    std::vector<ShowSlide> slides;          // Insert, Remove: the slides
    std::vector<RecordPatch> records;       // Replace: what changed in the records
    std::vector<ThumbnailPatch> thumbnails; // Replace: the thumbnails drawn anew
    std::vector<ExtraPatch> extras{};       // Replace: the slides' data that changed
    QJsonObject dataBefore{};               // ShowData: the show's own data, as it was
    QJsonObject dataAfter{};                // ShowData: and as it became

    // The slides from `first` on becoming `after`: what differs, or an edit that is empty().
    static ShowEdit replacement(const std::vector<ShowSlide>& slides, int first,
                                const std::vector<ShowSlide>& after);
    bool empty() const {
        return kind == Kind::Replace && records.empty() && thumbnails.empty() && extras.empty();
    }
    // Gives the slides what the patches hold, as it was or as it became; the indexes of the slides
    // that changed, first and last, or {-1, -1}.
    std::pair<int, int> patch(std::vector<ShowSlide>& slides, bool forward) const;
    // What the edit holds in memory, thumbnails counted whole.
    std::size_t bytes() const;
};

class ShowStep : public QUndoCommand {
  public:
    ShowStep(ShowDocument& show, const QString& name, bool made = true)
        : QUndoCommand(name), show_(show), made_(made) {}

    void add(ShowEdit edit) { edits_.push_back(std::move(edit)); }
    bool empty() const { return edits_.empty(); }
    // The show changed as a whole: what the step holds no longer fits it.
    void forget() { edits_.clear(); }
    std::size_t bytes() const;
    // A step holding this one's changes, made already; this one is left empty.
    ShowStep* takeOver();

    void undo() override;
    // The changes were made as they were added, so the push that keeps the step makes nothing.
    void redo() override;

  private:
    ShowDocument& show_;
    std::vector<ShowEdit> edits_;
    bool made_ = true;
};

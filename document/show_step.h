// SPDX-License-Identifier: MIT
#pragma once
// A step of the show's history: the changes one command made, kept so that Undo takes them back
// and Redo makes them again. Thumbnails are kept with the slides, so neither decodes a picture.

#include "show_document.h"

#include <QUndoCommand>

#include <vector>

// One change of the show.
struct ShowEdit {
    enum class Kind { Insert, Remove, Move, Replace };
    Kind kind = Kind::Insert;
    int first = 0;
    int to = 0;                    // Move: where the slide went
    std::vector<ShowSlide> slides; // Insert, Remove: the slides; Replace: the slides afterwards
    std::vector<ShowSlide> before; // Replace: the slides before
};

class ShowStep : public QUndoCommand {
  public:
    ShowStep(ShowDocument& show, const QString& name) : QUndoCommand(name), show_(show) {}

    void add(ShowEdit edit) { edits_.push_back(std::move(edit)); }
    bool empty() const { return edits_.empty(); }
    // The show changed as a whole: what the step holds no longer fits it.
    void forget() { edits_.clear(); }

    void undo() override;
    // The changes were made as they were added, so the push that keeps the step makes nothing.
    void redo() override;

  private:
    ShowDocument& show_;
    std::vector<ShowEdit> edits_;
    bool made_ = true;
};

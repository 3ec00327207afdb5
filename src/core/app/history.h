#pragma once

// The undo history of the model: every change to the model's tables is one step, kept as
// the tables before and after it with a short label ("New node #12", "Merge nodes #4 and
// #9"). The tables are small (a few kilobytes at full capacity), so whole copies are kept:
// restoring one is exact whatever the change did (renumbering, merging, deleting).

#include <cstddef>
#include <deque>
#include <string>

#include "model/model_tables.h"

namespace vortak {

// Steps kept; the oldest is dropped beyond this.
inline constexpr std::size_t kUndoSteps = 200;

class ModelHistory {
public:
    explicit ModelHistory(std::size_t capacity = kUndoSteps) : capacity_(capacity) {}

    // Records a change from `before` to `after`. Returns false, and records nothing, when
    // the two are equal. A recorded step drops every step that could be redone.
    bool record(std::string label, const ModelTables& before, const ModelTables& after);

    bool canUndo() const { return position_ > 0; }
    bool canRedo() const { return position_ < steps_.size(); }
    // Labels of the step an undo or a redo would take back or make again; empty when none.
    std::string undoLabel() const;
    std::string redoLabel() const;

    // Takes back the latest step: returns the tables as they were before it, or nullptr
    // when there is nothing to undo. The pointer stays valid until the history changes.
    const ModelTables* undo();
    // Makes the latest undone step again: returns the tables as they were after it.
    const ModelTables* redo();

    void clear();

    std::size_t undoCount() const { return position_; }
    std::size_t redoCount() const { return steps_.size() - position_; }

private:
    struct Step {
        std::string label;
        ModelTables before;
        ModelTables after;
    };

    std::size_t capacity_;
    std::deque<Step> steps_;
    std::size_t position_ = 0;  // steps_[0, position_) can be undone, the rest redone
};

}  // namespace vortak

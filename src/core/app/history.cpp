#include "app/history.h"

#include <cstddef>

namespace vortak {

bool ModelHistory::record(std::string label, const ModelTables& before, const ModelTables& after) {
    if (before == after || capacity_ == 0) return false;
    steps_.erase(steps_.begin() + std::ptrdiff_t(position_), steps_.end());
    steps_.push_back(Step{std::move(label), before, after});
    while (steps_.size() > capacity_) steps_.pop_front();
    position_ = steps_.size();
    return true;
}

std::string ModelHistory::undoLabel() const {
    return canUndo() ? steps_[position_ - 1].label : std::string();
}

std::string ModelHistory::redoLabel() const {
    return canRedo() ? steps_[position_].label : std::string();
}

const ModelTables* ModelHistory::undo() {
    if (!canUndo()) return nullptr;
    --position_;
    return &steps_[position_].before;
}

const ModelTables* ModelHistory::redo() {
    if (!canRedo()) return nullptr;
    return &steps_[position_++].after;
}

void ModelHistory::clear() {
    steps_.clear();
    position_ = 0;
}

}  // namespace vortak

#include "editing/undo_history.h"

#include <utility>

void UndoHistory::Push(EditStep step) {
  if (clean_ && *clean_ > index_) clean_.reset();  // the clean state was among the undone steps
  steps_.erase(steps_.begin() + static_cast<std::ptrdiff_t>(index_), steps_.end());
  steps_.push_back(std::move(step));
  ++index_;
  while (steps_.size() > limit_) {
    steps_.pop_front();
    --index_;
    if (clean_) clean_ = *clean_ == 0 ? std::nullopt : std::optional<size_t>(*clean_ - 1);
  }
}

const EditStep* UndoHistory::TakeUndo() {
  if (!CanUndo()) return nullptr;
  --index_;
  return &steps_[index_];
}

const EditStep* UndoHistory::TakeRedo() {
  if (!CanRedo()) return nullptr;
  return &steps_[index_++];
}

void UndoHistory::Clear() {
  steps_.clear();
  index_ = 0;
  clean_ = 0;
}

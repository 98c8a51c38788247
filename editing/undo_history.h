#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <memory>
#include <optional>

#include "editing/edit_command.h"

// One step of the history: a command and the selection before and after it.
struct EditStep {
  std::unique_ptr<EditCommand> command;
  int32_t selection_before = -1;
  int32_t selection_after = -1;
};

// The steps that can be undone and redone, and the place of the clean state (the one last
// saved or opened). The oldest steps are dropped beyond the limit.
class UndoHistory {
 public:
  static constexpr size_t kDefaultLimit = 1000;

  explicit UndoHistory(size_t limit = kDefaultLimit) : limit_(limit) {}

  // Adds a step that has already been made; the steps that could be redone are dropped.
  void Push(EditStep step);
  // The step to undo (the history moves back one place), or nullptr when there is none.
  const EditStep* TakeUndo();
  // The step to redo (the history moves forward one place), or nullptr when there is none.
  const EditStep* TakeRedo();

  bool CanUndo() const { return index_ > 0; }
  bool CanRedo() const { return index_ < steps_.size(); }
  size_t UndoCount() const { return index_; }

  // The present state becomes the clean one.
  void SetClean() { clean_ = index_; }
  // Whether the present state is the clean one. False once the clean state can no longer be
  // reached (its steps were dropped or replaced).
  bool IsClean() const { return clean_ == index_; }
  // Forgets every step; the present state is clean.
  void Clear();

 private:
  std::deque<EditStep> steps_;
  size_t index_ = 0;  // steps before it are done, steps from it on are undone
  std::optional<size_t> clean_ = 0;
  size_t limit_;
};

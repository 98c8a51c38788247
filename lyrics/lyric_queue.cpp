#include "lyrics/lyric_queue.h"

#include <utility>

#include "text/cp932.h"

LyricQueue::LyricQueue(std::vector<LyricPage> pages)
    : pages_(std::make_move_iterator(pages.begin()), std::make_move_iterator(pages.end())) {}

LyricPage LyricQueue::Take() {
  LyricPage page = std::move(pages_.front());
  pages_.pop_front();
  return page;
}

void LyricQueue::Return(LyricPage page) { pages_.push_front(std::move(page)); }

std::string LyricQueue::StatusText() const {
  if (pages_.empty()) return {};
  const std::vector<std::string>& lines = pages_.front().lines;
  const std::string first = lines.empty() ? std::string() : Cp932ToUtf8(lines.front());
  return "次: " + first + " (残り " + std::to_string(pages_.size()) + ")";
}

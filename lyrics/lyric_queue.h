#pragma once

#include <cstddef>
#include <deque>
#include <string>
#include <vector>

#include "lyrics/lyric_page.h"

// The pages of a lyric sheet waiting to be tapped in: each tap takes the next one, undoing a tap
// gives its page back to the front.
class LyricQueue {
 public:
  LyricQueue() = default;
  explicit LyricQueue(std::vector<LyricPage> pages);

  bool Empty() const { return pages_.empty(); }
  size_t Remaining() const { return pages_.size(); }
  // The page the next tap takes; nullptr when none waits.
  const LyricPage* Next() const { return pages_.empty() ? nullptr : &pages_.front(); }

  // Takes the next page (the queue must not be empty).
  LyricPage Take();
  // Puts a page taken back in front, as the next one.
  void Return(LyricPage page);

  // The status line's text (UTF-8): "次: <first line> (残り 12)"; empty when none waits.
  std::string StatusText() const;

 private:
  std::deque<LyricPage> pages_;
};

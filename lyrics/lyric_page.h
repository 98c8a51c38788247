#pragma once

#include <cstdint>
#include <string>
#include <vector>

// One syllable a song carries: where it is sung and how the file sets it out.
struct Syllable {
  int64_t tick = 0;
  int64_t end_tick = -1;  // where the note sung on it ends; -1: no note starts at its tick
  std::string text;       // CP932, not empty
  bool new_line = false;  // a new line starts before it
  bool new_page = false;  // a new page starts before it

  bool operator==(const Syllable&) const = default;
};

// What a song says of its lyrics.
struct SongLyrics {
  std::vector<Syllable> syllables;  // in time order
  std::string title;                // CP932; empty when the file names none
  std::string author;               // CP932
  // Japanese (UTF-8): what was odd, mended or left out; empty for a clean file.
  std::vector<std::string> notices;
};

// One screen of lyrics: the lines shown together.
struct LyricPage {
  static constexpr int64_t kUntimed = -1;

  int64_t tick = kUntimed;         // the first syllable's; kUntimed for a page of a lyric sheet
  std::vector<std::string> lines;  // CP932, none empty

  bool operator==(const LyricPage&) const = default;
};

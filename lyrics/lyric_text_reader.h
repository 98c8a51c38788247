#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "lyrics/lyric_page.h"
#include "lyrics/text_encoding.h"

// Reads the texts of one lyric source (one track's lyric or text events) into syllables, with
// the karaoke conventions:
// - a text starting with "@" is a Soft Karaoke header ("@T": the title, then the author), and
//   one starting with "%" is a chord name: neither is sung;
// - "/" and CR start a new line, "\", LF and (in Shift-JIS) "<" a new page; TAB is a space;
// - "{@LATIN}", "{@JP}" and other "{@...}" set the character set from there on, "{#...}" is
//   song information ("{#Title=...}", "{#Artist=...}"), other "{...}" is dropped;
// - "[...]" is the reading (ruby) of the text before it: dropped.
// Marks may stand anywhere in a text: where one stands inside it, the text is two syllables at
// the same tick.
class LyricTextReader {
 public:
  // `conversion` (kept open over the texts) must outlive the reader.
  LyricTextReader(TextEncoding encoding, Utf8ToCp932Conversion* conversion)
      : encoding_(encoding), conversion_(conversion) {}

  // Reads one event's bytes, sung at `tick`.
  void Read(int64_t tick, std::string_view bytes);

  const std::vector<Syllable>& Syllables() const { return syllables_; }
  std::vector<Syllable>& Syllables() { return syllables_; }
  const std::string& Title() const { return title_; }
  const std::string& Author() const { return author_; }
  size_t Replaced() const { return replaced_; }        // characters that became "?"
  size_t EmptyTexts() const { return empty_; }         // events without a byte
  size_t UnknownCharsets() const { return unknown_; }  // "{@...}" of no known character set

 private:
  void Header(std::string_view bytes);
  void Information(std::string_view bytes);
  void Directive(std::string_view content);
  void Break(bool page);
  void Flush(int64_t tick);
  size_t CharLength(std::string_view bytes, size_t at) const;
  // The offset of the first `close` from `at` on, at a character boundary; npos without one.
  size_t Find(std::string_view bytes, size_t at, char close) const;

  TextEncoding encoding_;
  Utf8ToCp932Conversion* conversion_;
  std::vector<Syllable> syllables_;
  std::string text_;  // CP932: the syllable being read
  bool line_ = false;
  bool page_ = false;
  std::string title_;
  std::string author_;
  size_t replaced_ = 0;
  size_t empty_ = 0;
  size_t unknown_ = 0;
};

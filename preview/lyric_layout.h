#pragma once

#include <string>
#include <vector>

// One lyric line placed on the 640 x 480 screen as the player draws it.
struct LyricLine {
  std::string text;  // CP932 bytes, not empty
  int x = 0;
  int y = 0;
};

// Splits lyrics into lines as the build does: a line runs to the first CR, LF or the end;
// after it one CR and then one LF are skipped; a trailing line end adds no line.
std::vector<std::string> SplitLyricLines(const std::string& lyrics);

// Places the non-empty lines: 8 pixels per byte, line k at y1 + 16 k; x = x1 for align 0,
// x1 + (x2 - x1 - 8 len) for align 1, and half that offset (truncated) for any other align.
std::vector<LyricLine> LayOutLyrics(const std::string& lyrics, int align, int x1, int y1, int x2);

// The characters of a CP932 text, each one or two bytes (a lead byte 0x81-0x9F or
// 0xE0-0xFC takes the next byte with it, when there is one).
std::vector<std::string> SplitCp932Characters(const std::string& text);

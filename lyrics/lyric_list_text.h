#pragma once

#include <cstdint>
#include <string>

// How the lists of imported pages (vwrd-import's output, the import dialog) show a page.

// A song time: "1:02.50", minutes, seconds and hundredths.
std::string SongTimeText(int64_t micros);

// An event's lyrics on one line, " / " between the lines (CP932 in, CP932 out).
std::string LyricsOnOneLine(const std::string& lyrics);

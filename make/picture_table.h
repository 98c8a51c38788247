#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "document/event_table.h"
#include "make/build_log.h"

class BitmapFile;

// One distinct picture of a build.
struct Picture {
  std::string Path;  // the resolved BMP path (CP932)
  int32_t Width = 0;
  int32_t Height = 0;
  int32_t LoadFailed = 0;  // 1: unreadable, or not 8 bits per pixel
  int32_t FreeIndex = -1;  // highest palette index no pixel uses; -1 when all are used
  std::array<uint8_t, 256 * 4> Palette{};  // blue, green, red, reserved; only when FreeIndex is -1
};

// The pictures of a build in the order of their first use; the position is the picture number.
using PictureTable = std::vector<Picture>;

// The PNG file name of a picture: the file-name part of its path less its last three characters,
// plus "png" (C:\pics\sky.bmp gives sky.png). It names no folder: the file lies in MidiFolder.
std::string PngName(const std::string& path);

// Why the build refuses the picture at `utf8Path` of `bitCount` bits per pixel (Japanese, UTF-8),
// as the log's reason line and the show's refusal band say it.
std::string NotEightBitReason(const std::string& utf8Path, int bitCount);

// The distinct pictures of the live events (paths compared without regard to ASCII case) in
// the order of their first use, with only their Path set. Reads no file.
PictureTable ListPictures(const EventTable& table);

// One picture of the collection pass, its Path set: logs "" and the reading line, loads the BMP,
// checks for 8 bits per pixel and finds the free palette index; when `convert` is set, also
// converts it to a PNG in MidiFolder when the PNG is missing or older than the BMP. Failures are
// log lines and leave LoadFailed = 1. Returns whether a PNG was written. The picture is loaded
// into `image`, whose pixel buffer a caller collecting many pictures keeps for the next one.
bool CollectPicture(const EventTable& table, Picture& picture, BitmapFile& image, BuildLog& log,
                    bool convert);

// Counts of the collection pass.
struct CollectionResult {
  PictureTable Pictures;
  int Converted = 0;
};

// The collection pass: for each distinct picture of the live events (paths compared without
// regard to ASCII case) loads the BMP, checks for 8 bits per pixel, finds its free palette
// index and converts it to a PNG in MidiFolder when the PNG is missing or older than the BMP.
// Every step is logged; failures are log lines and the entry stays (LoadFailed = 1).
CollectionResult CollectPictures(const EventTable& table, BuildLog& log);

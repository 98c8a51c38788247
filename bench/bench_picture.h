#pragma once
// The benchmark set: 1024 events over 64 pictures of 640 x 480, 8-bit BMP files made in memory,
// the same for every run.

#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <string>

#include "document/event_table.h"
#include "document/names.h"
#include "make/build_log.h"

namespace bench {

constexpr int kWidth = 640;
constexpr int kHeight = 480;
constexpr int kPictures = 64;
constexpr int kEvents = 1024;

// The set's events: event e at sixteenth 16 (e + 1) shows picture e mod kPictures, named by
// `pictureName`; two of three fade, one of seven tiles its picture, and the white `lyrics` are
// aligned left, right and centred in turn.
inline void FillEvents(EventTable& table, const std::function<std::string(int)>& pictureName,
                       const std::string& lyrics) {
  for (int e = 0; e < kEvents; ++e) {
    EventItem& item = table.events[e];
    item.Mark = "event " + std::to_string(e);
    item.Count = 16 * (e + 1);
    item.Picture = pictureName(e % kPictures);
    item.Effect = e % 3;
    item.Naraberu = e % 7 == 0 ? 1 : 0;
    item.Lyrics = lyrics;
    item.X1 = 20;
    item.Y1 = 400;
    item.X2 = 620;
    item.Align = e % 3;
    item.Color = 0x00FFFFFF;
  }
  table.EventCount = kEvents;
}

using NullLog = SilentLog;

inline void PutU32(std::string& out, uint32_t value) {
  for (int i = 0; i < 4; ++i) out += static_cast<char>((value >> (8 * i)) & 0xFF);
}

// The file and info headers and a palette that depends on `seed`; the pixel rows follow.
inline std::string BmpHeader(int seed) {
  std::string out = "BM";
  const uint32_t dataOffset = 14 + 40 + 1024;
  PutU32(out, dataOffset + kWidth * kHeight);
  PutU32(out, 0);
  PutU32(out, dataOffset);
  PutU32(out, 40);
  PutU32(out, kWidth);
  PutU32(out, kHeight);
  out += std::string("\x01\x00\x08\x00", 4);
  for (uint32_t value : {0u, static_cast<uint32_t>(kWidth * kHeight), 2835u, 2835u, 256u, 0u}) {
    PutU32(out, value);
  }
  for (int i = 0; i < 256; ++i) PutU32(out, (i * 0x010203u + seed * 0x070501u) & 0xFFFFFF);
  return out;
}

// Smooth bands with some noise, so that the picture compresses like a drawing. The noise soon
// uses every colour, unless `leaveIndex255` keeps index 255 unused: then a Make has to look at
// every pixel to find it free.
inline std::string BandedPicture(int seed, bool leaveIndex255 = false) {
  std::string out = BmpHeader(seed);
  uint32_t noise = 12345u + seed;
  for (int y = 0; y < kHeight; ++y) {
    for (int x = 0; x < kWidth; ++x) {
      noise = noise * 1103515245u + 12345u;
      const int band = ((x * (seed + 1)) / 7 + (y * (seed % 5 + 1)) / 5) % 200;
      const uint32_t index = (noise >> 28) == 0 ? (noise >> 16) & 0xFF : band;
      out += static_cast<char>(leaveIndex255 && index == 255 ? 254 : index);
    }
  }
  return out;
}

// A temporary song folder holding `pictures` files pic0.bmp, pic1.bmp, ... made by `picture`,
// and the set's events over the first kPictures of them; removed with the object.
class SongFolder {
 public:
  SongFolder(const std::string& name, int pictures, const std::function<std::string(int)>& picture)
      : table_(std::make_unique<EventTable>()) {
    folder_ = std::filesystem::temp_directory_path() / (name + "_" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder_);
    for (int i = 0; i < pictures; ++i) {
      std::ofstream(folder_ / ("pic" + std::to_string(i) + ".bmp"), std::ios::binary) << picture(i);
    }
    SetMidiPath(*table_, (folder_ / "song.mid").string());
    FillEvents(
        *table_, [](int i) { return "pic" + std::to_string(i) + ".bmp"; },
        "first lyric line\r\nsecond lyric line");
  }
  ~SongFolder() { std::filesystem::remove_all(folder_); }
  SongFolder(const SongFolder&) = delete;
  SongFolder& operator=(const SongFolder&) = delete;

  EventTable& Table() { return *table_; }

 private:
  std::filesystem::path folder_;
  std::unique_ptr<EventTable> table_;
};

}  // namespace bench

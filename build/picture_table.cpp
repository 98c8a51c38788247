#include "build/picture_table.h"

#include <algorithm>
#include <cstring>
#include <unordered_set>

#include "app/document/cp932.h"
#include "app/document/names.h"
#include "build/build_texts.h"
#include "build/png_freshness.h"
#include "picture/bitmap_file.h"
#include "picture/png_writer.h"

namespace {

void Log(BuildLog& log, std::string_view line) { log.AddLogLine(std::string(line)); }

// The error line of an unusable picture, then the reason (Japanese, UTF-8).
void LogBadPicture(Picture& picture, BuildLog& log, const std::string& reason) {
  Log(log, build_texts::kLogBadBmp);
  log.AddLogLine(std::string(build_texts::kLogReason) + Utf8ToCp932(reason));
  picture.LoadFailed = 1;
}

// The palette indices the pixels of an 8-bit picture use, marked a row at a time.
class ColourMarks {
 public:
  void MarkRow(const uint8_t* row, int32_t width) {
    for (int32_t x = 0; x < width; ++x) used_[row[x]] = 1;
  }
  // Eight marks at a time: cheap enough to ask after every row.
  bool AllUsed() const {
    uint64_t all = ~uint64_t{0};
    for (size_t i = 0; i < used_.size(); i += 8) {
      uint64_t marks;
      std::memcpy(&marks, &used_[i], sizeof marks);
      all &= marks;
    }
    return all == 0x0101010101010101u;
  }
  // The highest index no pixel uses, or -1.
  int HighestFree() const {
    for (int index = 255; index >= 0; --index) {
      if (used_[index] == 0) return index;
    }
    return -1;
  }

 private:
  std::array<uint8_t, 256> used_{};
};

}  // namespace

bool CollectPicture(const EventTable& table, Picture& picture, BitmapFile& image, BuildLog& log,
                    bool convert) {
  log.AddLogLine("");
  log.AddLogLine(std::string(build_texts::kLogReadingBmp) + picture.Path);
  if (picture.Path.find('\0') != std::string::npos) {
    LogBadPicture(picture, log, "画像の名前にNULバイトが含まれています");
    return false;
  }
  const std::string bmpPath = Cp932ToUtf8(picture.Path);
  const std::string pngPath = Cp932ToUtf8(table.MidiFolder + PngName(picture.Path));
  // A picture that is not converted is only looked at: its rows are read until its free colour
  // is known, which for a picture that uses every colour is often a small part of the file.
  const bool toConvert = convert && !PngUpToDate(pngPath, bmpPath);
  ColourMarks marks;
  const bool loaded = toConvert ? image.Load(bmpPath)
                                : image.Scan(bmpPath, [&](const uint8_t* rows, int32_t count) {
                                    if (image.BitCount() != 8) return false;
                                    for (int32_t r = 0; r < count; ++r, rows += image.Stride()) {
                                      marks.MarkRow(rows, image.Width());
                                      if (marks.AllUsed()) return false;
                                    }
                                    return true;
                                  });
  if (!loaded) {
    LogBadPicture(picture, log, image.ErrorText());
    return false;
  }
  if (image.BitCount() != 8) {
    LogBadPicture(
        picture, log,
        std::to_string(image.BitCount()) + "ビットの画像です (256色の8ビットのみ扱えます)");
    return false;
  }
  picture.LoadFailed = 0;
  picture.Width = image.Width();
  picture.Height = image.Height();
  Log(log, build_texts::kLogSearchingFreeColour);
  picture.FreeIndex = toConvert ? FindFreeIndex(image) : marks.HighestFree();
  if (picture.FreeIndex < 0) {
    Log(log, build_texts::kLogNoFreeColour);
    const int entries = std::min(image.ColorCount(), 256);
    if (image.Palette() != nullptr)
      std::memcpy(picture.Palette.data(), image.Palette(), entries * 4);
  }
  if (!toConvert) return false;
  Log(log, build_texts::kLogConverting);
  std::string why;
  if (!WritePng(pngPath, image, &why)) {
    Log(log, build_texts::kLogPngFailed);
    if (!why.empty()) log.AddLogLine(std::string(build_texts::kLogReason) + Utf8ToCp932(why));
    return false;
  }
  return true;
}

std::string PngName(const std::string& path) {
  return DropLastCharacters(FileNamePart(path), 3) + "png";
}

int FindFreeIndex(const BitmapFile& image) {
  ColourMarks marks;
  for (int32_t y = 0; y < image.Height(); ++y) {
    marks.MarkRow(image.Row(y), image.Width());
    // Once every index has been seen the rest of the picture cannot change the answer.
    if (marks.AllUsed()) break;
  }
  return marks.HighestFree();
}

PictureTable ListPictures(const EventTable& table) {
  PictureTable pictures;
  std::unordered_set<std::string> known;  // NameKey of every collected path
  const int count = std::clamp(table.EventCount, 0, EventTable::kCapacity);
  for (int i = 0; i < count; ++i) {
    const std::string& text = table.events[i].Picture;
    if (text.empty()) continue;
    const std::string path =
        HasFolderPart(text) ? ResolvePicturePath(table, text) : table.MidiFolder + text;
    if (!known.insert(NameKey(path)).second) continue;
    pictures.emplace_back().Path = path;
  }
  return pictures;
}

CollectionResult CollectPictures(const EventTable& table, BuildLog& log) {
  CollectionResult result;
  result.Pictures = ListPictures(table);
  BitmapFile image;
  for (Picture& picture : result.Pictures) {
    if (CollectPicture(table, picture, image, log, true)) ++result.Converted;
  }
  return result;
}

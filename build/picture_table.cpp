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

}  // namespace

bool CollectPicture(const EventTable& table, Picture& picture, BuildLog& log, bool convert) {
  log.AddLogLine("");
  log.AddLogLine(std::string(build_texts::kLogReadingBmp) + picture.Path);
  const std::string bmpPath = Cp932ToUtf8(picture.Path);
  BitmapFile image;
  if (picture.Path.find('\0') != std::string::npos) {
    LogBadPicture(picture, log, "画像の名前にNULバイトが含まれています");
    return false;
  }
  if (!image.Load(bmpPath)) {
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
  picture.FreeIndex = FindFreeIndex(image);
  if (picture.FreeIndex < 0) {
    Log(log, build_texts::kLogNoFreeColour);
    const int entries = std::min(image.ColorCount(), 256);
    if (image.Palette() != nullptr)
      std::memcpy(picture.Palette.data(), image.Palette(), entries * 4);
  }
  if (!convert) return false;
  const std::string pngPath = Cp932ToUtf8(table.MidiFolder + PngName(picture.Path));
  if (PngUpToDate(pngPath, bmpPath)) return false;
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
  std::array<bool, 256> used{};
  for (int32_t y = 0; y < image.Height(); ++y) {
    const uint8_t* row = image.Row(y);
    for (int32_t x = 0; x < image.Width(); ++x) used[row[x]] = true;
    // Once every index has been seen the rest of the picture cannot change the answer.
    if ((y & 15) == 15 && std::find(used.begin(), used.end(), false) == used.end()) return -1;
  }
  int free = -1;
  for (int index = 0; index < 256; ++index) {
    if (!used[index]) free = index;
  }
  return free;
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
  for (Picture& picture : result.Pictures) {
    if (CollectPicture(table, picture, log, true)) ++result.Converted;
  }
  return result;
}

#include "make/picture_table.h"

#include <algorithm>
#include <cstring>
#include <unordered_set>

#include "document/names.h"
#include "files/file_replacement.h"
#include "make/build_texts.h"
#include "make/free_colour.h"
#include "make/png_freshness.h"
#include "picture/bitmap_file.h"
#include "picture/png_writer.h"
#include "text/cp932.h"
#include "text/visible_text.h"

namespace {

void Log(BuildLog& log, std::string_view line) { log.AddLogLine(std::string(line)); }

// The error line of an unusable picture, then the reason (Japanese, UTF-8).
void LogBadPicture(Picture& picture, BuildLog& log, const std::string& reason) {
  log.AddProblemLine(LineSeverity::kError, std::string(build_texts::kLogBadBmp));
  log.AddLogLine(std::string(build_texts::kLogReason) + Utf8ToCp932(reason));
  picture.LoadFailed = 1;
}

// The error line of a PNG that is a link leading out of the song's folder, then the reason.
void LogLinkRefused(const EventTable& table, const Picture& picture, BuildLog& log,
                    const std::string& reason) {
  log.AddProblemLine(LineSeverity::kError, std::string(build_texts::kLogLinkRefused) +
                                               table.MidiFolder + PngName(picture.Path));
  log.AddLogLine(std::string(build_texts::kLogReason) + Utf8ToCp932(reason));
}

}  // namespace

bool CollectPicture(const EventTable& table, Picture& picture, BitmapFile& image, BuildLog& log,
                    bool convert) {
  log.AddLogLine("");
  // A NUL or a line end in the name would cut the line short or break it.
  log.AddLogLine(std::string(build_texts::kLogReadingBmp) + VisibleText(picture.Path));
  if (picture.Path.find('\0') != std::string::npos) {
    LogBadPicture(picture, log, "画像の名前にNULバイトが含まれています");
    return false;
  }
  const std::string bmpPath = Cp932ToUtf8(picture.Path);
  const std::string pngPath = Cp932ToUtf8(table.MidiFolder + PngName(picture.Path));
  // A picture that is not converted is only looked at: its rows are read until its free colour
  // is known, which for a picture that uses every colour is often a small part of the file.
  // A PNG that is a link out of the song's folder is never written, however fresh it looks.
  const std::string linkRefusal =
      convert ? FileReplacement::LinkRefusal(pngPath, FileReplacement::Links::kWithinFolder) : "";
  const bool toConvert = convert && linkRefusal.empty() && !PngUpToDate(pngPath, bmpPath);
  FreeColourSearch search;
  const auto scan = [&] {
    return image.Scan(bmpPath, [&](const uint8_t* rows, int32_t count) {
      return image.BitCount() == 8 && search.Take(rows, count, image.Width(), image.Stride());
    });
  };
  bool loaded = toConvert ? image.Load(bmpPath) : scan();
  if (loaded && search.NeedsAnotherScan()) {
    search.StartAgain();
    loaded = scan();
  }
  if (!loaded) {
    LogBadPicture(picture, log, image.ErrorText());
    return false;
  }
  if (image.BitCount() != 8) {
    LogBadPicture(picture, log, NotEightBitReason(bmpPath, image.BitCount()));
    return false;
  }
  picture.LoadFailed = 0;
  picture.Width = image.Width();
  picture.Height = image.Height();
  Log(log, build_texts::kLogSearchingFreeColour);
  picture.FreeIndex = toConvert ? FindFreeIndex(image) : search.FreeIndex();
  if (picture.FreeIndex < 0) {
    log.AddProblemLine(LineSeverity::kWarning, std::string(build_texts::kLogNoFreeColour));
    const int entries = std::min(image.ColorCount(), 256);
    if (image.Palette() != nullptr)
      std::memcpy(picture.Palette.data(), image.Palette(), entries * 4);
  }
  if (!linkRefusal.empty()) {
    LogLinkRefused(table, picture, log, linkRefusal);
    return false;
  }
  if (!toConvert) return false;
  Log(log, build_texts::kLogConverting);
  const PngWriteResult written = WritePng(pngPath, image);
  if (const VwrdError* failure = written.Failure()) {
    if (dynamic_cast<const LinkRefusedError*>(failure) != nullptr) {
      LogLinkRefused(table, picture, log, failure->what());
      return false;
    }
    log.AddProblemLine(LineSeverity::kError, std::string(build_texts::kLogPngFailed));
    log.AddLogLine(std::string(build_texts::kLogReason) + Utf8ToCp932(failure->what()));
    return false;
  }
  return true;
}

std::string NotEightBitReason(const std::string& utf8Path, int bitCount) {
  return utf8Path + ": " + std::to_string(bitCount) +
         "ビットの画像です (256色の8ビットのみ扱えます)";
}

std::string PngName(const std::string& path) {
  return DropLastCharacters(FileNamePart(path), 3) + "png";
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

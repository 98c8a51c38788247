// The checks of the pictures: files that Make cannot use, PNG names that clash, pictures larger
// than the screen, lyric colours a full palette cannot give, and lyrics before any picture.

#include <cerrno>
#include <cstdio>
#include <unordered_map>

#include "checks/check_parts.h"
#include "checks/check_texts.h"
#include "checks/format_text.h"
#include "document/names.h"
#include "files/file_errors.h"
#include "make/current_picture.h"
#include "make/lyric_layout.h"
#include "make/nearest_colour.h"
#include "picture/bitmap_file.h"
#include "text/cp932.h"

namespace {

constexpr int kScreenWidth = 640;
constexpr int kScreenHeight = 480;

Problem Error(const char* id, int event, std::string text) {
  return Problem{id, event, Problem::Severity::kError, std::move(text)};
}

Problem Warning(const char* id, int event, std::string text) {
  return Problem{id, event, Problem::Severity::kWarning, std::move(text)};
}

// Why a picture failed to load: it cannot be opened (missing, no regular file, no access), or
// it is no BMP that Make accepts. Loaded through the regular-file reader, which never waits on
// a named pipe or a device.
Problem LoadFailure(const std::string& path, int event) {
  BitmapFile image;
  if (image.Load(Cp932ToUtf8(path))) {
    if (image.BitCount() != 8) {
      return Error("not-256-colours", event,
                   FormatText(check_texts::kWrongDepth, {path, Decimal(image.BitCount())}));
    }
  } else if (const auto* unread = dynamic_cast<const FileReadError*>(image.Failure())) {
    const int error = unread->SystemReason();
    if (error == ENOENT || error == ENOTDIR) {
      return Error("missing-picture", event, FormatText(check_texts::kMissingPicture, {path}));
    }
    // The system's reason where there is one; else the reader's (a pipe, a device, a folder).
    const std::string reason =
        error != 0 && error != EISDIR ? " (" + ErrnoText(error) + ")" : ": " + unread->Reason();
    return Error("missing-picture", event,
                 FormatText(check_texts::kUnopenablePicture, {path, Utf8ToCp932(reason)}));
  }
  return Error("not-256-colours", event, FormatText(check_texts::kDamagedPicture, {path}));
}

// "#RRGGBB" of a colour 0x00BBGGRR.
std::string ColourText(uint32_t colour) {
  char text[8];
  std::snprintf(text, sizeof text, "#%02X%02X%02X", colour & 0xFF, (colour >> 8) & 0xFF,
                (colour >> 16) & 0xFF);
  return text;
}

bool HasLyricLines(const EventItem& item) {
  return !LayOutLyrics(item.Lyrics, item.Align, item.X1, item.Y1, item.X2).empty();
}

// The checks of one picture file, on the first event that names it.
void CheckFile(const PictureTable& pictures, size_t j, int event,
               std::unordered_map<std::string, std::pair<size_t, int>>& firstOfPng,
               std::vector<Problem>& found) {
  const Picture& picture = pictures[j];
  if (picture.LoadFailed != 0) found.push_back(LoadFailure(picture.Path, event));
  const std::string png = PngName(picture.Path);
  const auto [earlier, added] = firstOfPng.emplace(NameKey(png), std::pair{j, event});
  if (!added) {
    found.push_back(Warning(
        "same-png-name", event,
        FormatText(check_texts::kSamePngName, {picture.Path, png, Decimal(earlier->second.second),
                                               pictures[earlier->second.first].Path})));
  }
  if (picture.LoadFailed == 0 && (picture.Width > kScreenWidth || picture.Height > kScreenHeight)) {
    found.push_back(
        Warning("picture-cropped", event,
                FormatText(check_texts::kPictureCropped,
                           {picture.Path, Decimal(picture.Width), Decimal(picture.Height)})));
  }
}

}  // namespace

void CheckPictures(const EventTable& table, const PictureTable& pictures,
                   std::vector<Problem>& found) {
  std::unordered_map<std::string, size_t> pictureOfPath;  // NameKey of the path -> entry
  for (size_t j = 0; j < pictures.size(); ++j) pictureOfPath.emplace(NameKey(pictures[j].Path), j);
  std::vector<bool> named(pictures.size(), false);
  std::unordered_map<std::string, std::pair<size_t, int>> firstOfPng;  // -> entry, event
  CurrentPicture current(pictures);
  const int count = std::clamp(table.EventCount, 0, EventTable::kCapacity);
  for (int i = 0; i < count; ++i) {
    const EventItem& item = table.events[i];
    const int event = i + 1;
    if (!item.Picture.empty()) {
      const auto named_at = pictureOfPath.find(NameKey(ResolvePicturePath(table, item.Picture)));
      if (named_at != pictureOfPath.end() && !named[named_at->second]) {
        named[named_at->second] = true;
        CheckFile(pictures, named_at->second, event, firstOfPng, found);
      }
    }
    const int cur = current.Next(item);
    if (cur == current.None()) {
      if (item.Picture.empty() && HasLyricLines(item)) {
        found.push_back(Warning("no-picture-yet", event, std::string(check_texts::kNoPictureYet)));
      }
      continue;
    }
    const Picture& picture = pictures[cur];
    if (picture.FreeIndex >= 0 || !HasLyricLines(item)) continue;
    const int index = NearestPaletteIndex(picture.Palette, item.Color);
    const uint8_t* entry = picture.Palette.data() + index * 4;
    const uint32_t shown = entry[2] | entry[1] << 8 | entry[0] << 16;
    if (shown == (item.Color & 0xFFFFFF)) continue;  // the palette has the very colour
    found.push_back(Warning(
        "all-colours-used", event,
        FormatText(check_texts::kAllColoursUsed,
                   {picture.Path, ColourText(item.Color), Decimal(index), ColourText(shown)})));
  }
}

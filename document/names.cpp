#include "document/names.h"

#include <vector>

#include "text/shift_jis.h"

namespace {

// Byte offsets at which characters start, Shift-JIS double-byte characters counting as one.
std::vector<size_t> CharacterStarts(std::string_view text) {
  std::vector<size_t> starts;
  for (size_t pos = 0; pos < text.size();) {
    starts.push_back(pos);
    pos += ShiftJisCharLength(text, pos);
  }
  return starts;
}

// Offset of the last folder separator, or npos. A double-byte character is passed whole: its
// second byte may be 0x5C without being a separator.
size_t LastSeparator(std::string_view text) {
  size_t last = std::string_view::npos;
  for (size_t pos = 0; pos < text.size(); pos += ShiftJisCharLength(text, pos)) {
    const char byte = text[pos];
    if (byte == '/' || byte == '\\' || byte == ':') last = pos;
  }
  return last;
}

char UpperAscii(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

}  // namespace

bool HasFolderPart(std::string_view cp932) {
  return LastSeparator(cp932) != std::string_view::npos;
}

std::string FileNamePart(std::string_view cp932) {
  const size_t last = LastSeparator(cp932);
  return std::string(last == std::string_view::npos ? cp932 : cp932.substr(last + 1));
}

std::string FolderPart(std::string_view cp932) {
  const size_t last = LastSeparator(cp932);
  return std::string(last == std::string_view::npos ? std::string_view() : cp932.substr(0, last));
}

std::string DropLastCharacters(std::string_view cp932, int count) {
  const std::vector<size_t> starts = CharacterStarts(cp932);
  if (count <= 0) return std::string(cp932);
  if (starts.size() <= static_cast<size_t>(count)) return std::string();
  return std::string(cp932.substr(0, starts[starts.size() - count]));
}

void SetMidiPath(EventTable& table, const std::string& cp932Path) {
  table.MidiPath = cp932Path;
  table.MidiFolder = HasFolderPart(cp932Path) ? FolderPart(cp932Path) + "/" : "./";
  table.BaseName = DropLastCharacters(FileNamePart(cp932Path), 3);
}

std::string ProjectFilePath(const EventTable& table) {
  return table.MidiFolder + table.BaseName + "vwm";
}

std::string VnlFilePath(const EventTable& table) {
  return table.MidiFolder + table.BaseName + "vnl";
}

std::string EvnFilePath(const EventTable& table) {
  return table.MidiFolder + table.BaseName + "evn";
}

std::string ResolvePicturePath(const EventTable& table, std::string_view picture) {
  if (!picture.empty() && picture.front() == '/') return std::string(picture);
  return table.MidiFolder + std::string(picture);
}

bool SameNameIgnoringCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && NameKey(a) == NameKey(b);
}

std::string NameKey(std::string_view text) {
  std::string key(text);
  // Only a character's first byte can be a letter: the second byte of a double-byte character
  // may lie in a-z (ヂ is 83 61, ア 83 41) and stays as it is.
  for (size_t pos = 0; pos < key.size(); pos += ShiftJisCharLength(key, pos)) {
    key[pos] = UpperAscii(key[pos]);
  }
  return key;
}

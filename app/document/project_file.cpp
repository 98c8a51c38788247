#include "app/document/project_file.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

#include "app/document/cp932.h"
#include "app/document/names.h"
#include "app/document/number_text.h"
#include "app/document/text_mode.h"

namespace {

constexpr char kHeader[] = "Varnel WRD Maker Format 1";

// Lines of the text after text-mode translation. A read at the end yields an empty line; the end
// counts as reached once the last byte has been consumed by a line without a final LF, or by a
// read past the end, as a stream reader sees it.
class LineReader {
 public:
  explicit LineReader(std::string text) : text_(std::move(text)) {}

  std::string Next() {
    if (pos_ >= text_.size()) {
      end_ = true;
      return std::string();
    }
    const size_t lf = text_.find('\n', pos_);
    if (lf == std::string::npos) {
      std::string line = text_.substr(pos_);
      pos_ = text_.size();
      end_ = true;
      return line;
    }
    std::string line = text_.substr(pos_, lf - pos_);
    pos_ = lf + 1;
    return line;
  }

  bool AtEnd() const { return end_; }

  // Reads lines until one starting with "@" has been read or the end is reached.
  void SkipToSeparator() {
    while (!end_) {
      if (Next().starts_with('@')) return;
    }
  }

 private:
  std::string text_;
  size_t pos_ = 0;
  bool end_ = false;
};

void AppendLine(std::string& out, std::string_view line) {
  out += line;
  out += '\n';
}

}  // namespace

std::string ProjectFileBytes(const EventTable& table) {
  std::string text;
  AppendLine(text, kHeader);
  AppendLine(text, "@");
  for (int32_t i = 0; i < table.EventCount && i < EventTable::kCapacity; ++i) {
    const EventItem& item = table.events[i];
    AppendLine(text, item.Mark);
    AppendLine(text, std::to_string(item.Count));
    AppendLine(text, item.Picture);
    AppendLine(text, std::to_string(item.Effect));
    AppendLine(text, std::to_string(item.X1));
    AppendLine(text, std::to_string(item.Y1));
    AppendLine(text, std::to_string(item.X2));
    AppendLine(text, std::to_string(item.Y2));
    AppendLine(text, std::to_string(item.Naraberu));
    AppendLine(text, std::to_string(item.Align));
    AppendLine(text, std::to_string(item.Color));
    // Lyrics hold CR LF between lines and are written unchanged, so they are stored as CR CR LF.
    text += item.Lyrics;
    if (!item.Lyrics.empty() && item.Lyrics.back() != '\n') text += '\n';
    AppendLine(text, "//");
    AppendLine(text, "@");
  }
  return ToTextMode(text);
}

void ParseProject(std::string_view bytes, EventTable& table) {
  LineReader reader(FromTextMode(bytes));
  table.EventCount = 0;
  reader.Next();  // the header is never examined
  reader.SkipToSeparator();
  for (int i = 0; i < EventTable::kCapacity && !reader.AtEnd(); ++i) {
    EventItem& item = table.events[i];
    item.Mark = reader.Next();
    item.Count = ReadNumber(reader.Next());
    item.Picture = reader.Next();
    item.Effect = ReadNumber(reader.Next());
    item.X1 = ReadNumber(reader.Next());
    item.Y1 = ReadNumber(reader.Next());
    item.X2 = ReadNumber(reader.Next());
    item.Y2 = ReadNumber(reader.Next());
    item.Naraberu = ReadNumber(reader.Next());
    item.Align = ReadNumber(reader.Next());
    item.Color = static_cast<uint32_t>(ReadNumber(reader.Next()));
    item.Lyrics.clear();
    while (!reader.AtEnd()) {
      std::string line = reader.Next();
      if (line == "//") break;
      if (reader.AtEnd() && line.empty()) break;
      item.Lyrics += line;
      item.Lyrics += "\r\n";
    }
    if (reader.AtEnd()) break;  // an event without its "//" is not counted
    reader.SkipToSeparator();
    ++table.EventCount;
  }
}

bool ReadProjectFile(const std::string& path, EventTable& table) {
  std::error_code error;
  if (std::filesystem::is_directory(path, error)) return false;
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  ParseProject(bytes, table);
  return true;
}

void WriteProjectFile(const std::string& path, const EventTable& table) {
  try {
    WriteFileAtomically(path, ProjectFileBytes(table));
  } catch (const FileWriteError& error) {
    throw ProjectFileError(error.what());
  }
}

bool ReadProject(EventTable& table) {
  return ReadProjectFile(Cp932ToUtf8(ProjectFilePath(table)), table);
}

void WriteProject(const EventTable& table) {
  WriteProjectFile(Cp932ToUtf8(ProjectFilePath(table)), table);
}

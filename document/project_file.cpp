#include "document/project_file.h"

#include <sys/stat.h>

#include <cerrno>

#include "document/names.h"
#include "document/number_text.h"
#include "document/text_mode.h"
#include "files/regular_file.h"
#include "text/cp932.h"

namespace {

constexpr char kHeader[] = "Varnel WRD Maker Format 1";

// Lines of the text after text-mode translation. A read at the end yields an empty line; the end
// counts as reached once the last byte has been consumed by a line without a final LF, or by a
// read past the end, as a stream reader sees it.
class LineReader {
 public:
  // `text` must outlive the reader.
  explicit LineReader(std::string_view text) : text_(text) {}

  std::string Next() {
    if (pos_ >= text_.size()) {
      end_ = true;
      return std::string();
    }
    const size_t lf = text_.find('\n', pos_);
    if (lf == std::string::npos) {
      std::string line(text_.substr(pos_));
      pos_ = text_.size();
      end_ = true;
      return line;
    }
    std::string line(text_.substr(pos_, lf - pos_));
    pos_ = lf + 1;
    return line;
  }

  bool AtEnd() const { return end_; }

  // Reads lines until one starting with "@" has been read (true) or the end is reached.
  bool SkipToSeparator() {
    while (!end_) {
      if (Next().starts_with('@')) return true;
    }
    return false;
  }

  // Marks where an event begins, for ReadSomething.
  void StartEvent() { event_start_ = pos_; }
  // Whether anything but empty lines lay between the event's start and the end of the text.
  bool ReadSomething() const {
    return text_.find_first_not_of('\n', event_start_) != std::string_view::npos;
  }

 private:
  std::string_view text_;
  size_t pos_ = 0;
  size_t event_start_ = 0;
  bool end_ = false;
};

// Why the text (after text-mode translation) is no project file; empty when it may be one.
std::string NotAProjectReason(const std::string& text) {
  if (text.empty()) return "空のファイルです";
  LineReader reader(text);
  reader.Next();
  if (!reader.SkipToSeparator()) return "区切りの「@」の行がありません";
  return std::string();
}

// Reads one event into `item` (eleven field lines, then the lyrics up to "//"), then skips to
// the next separator. Returns false when the text ended before the "//" line: the event does
// not count.
bool ReadEvent(LineReader& reader, EventItem& item) {
  reader.StartEvent();
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
  if (reader.AtEnd()) return false;
  reader.SkipToSeparator();
  return true;
}

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

namespace {

ProjectLoad ParseProjectBytes(std::string_view bytes, EventTable& table) {
  const std::string text = FromTextMode(bytes);
  ProjectLoad load;
  const std::string why = NotAProjectReason(text);
  if (!why.empty()) {
    load.status = ProjectLoad::Status::kNotAProject;
    load.Message = "プロジェクトファイルではありません (" + why + ")";
    return load;
  }
  LineReader reader(text);
  table.EventCount = 0;
  reader.Next();  // the header is never examined
  reader.SkipToSeparator();
  for (int i = 0; i < EventTable::kCapacity && !reader.AtEnd(); ++i) {
    if (ReadEvent(reader, table.events[i])) {
      ++table.EventCount;
    } else if (reader.ReadSomething()) {
      load.status = ProjectLoad::Status::kCutShort;
      load.DroppedEvent = i;
      load.Message = "最後のイベント (" + std::to_string(i + 1) +
                     "番目) が途中で切れているので、読み込みませんでした";
    }
  }
  EventItem ignored;
  while (!reader.AtEnd()) {
    if (ReadEvent(reader, ignored)) ++load.EventsNotRead;
  }
  if (load.EventsNotRead > 0) {
    load.status = ProjectLoad::Status::kTooManyEvents;
    load.Message = "イベントが" + std::to_string(EventTable::kCapacity) +
                   "個を超えているので、残りの" + std::to_string(load.EventsNotRead) +
                   "個は読み込みませんでした";
  }
  return load;
}

// The error object of a load that was not whole, beside its Message.
void SetFormatFailure(ProjectLoad& load) {
  if (load.Message.empty()) return;
  auto failure = std::make_shared<ProjectFormatError>(load.Message);
  if (load.DroppedEvent >= 0) failure->WithEvent(load.DroppedEvent);
  load.Failure = std::move(failure);
}

}  // namespace

ProjectLoad ParseProject(std::string_view bytes, EventTable& table) {
  ProjectLoad load = ParseProjectBytes(bytes, table);
  SetFormatFailure(load);
  return load;
}

ProjectLoad ReadProjectFile(const std::string& path, EventTable& table) {
  ProjectLoad load;
  std::string bytes;
  try {
    bytes = ReadRegularFile(path, kMaxProjectFileSize);
  } catch (const FileReadError& error) {
    struct stat info {};
    const bool missing = ::lstat(path.c_str(), &info) != 0 && errno == ENOENT;
    load.status = missing ? ProjectLoad::Status::kMissing : ProjectLoad::Status::kUnreadable;
    load.Message = error.what();
    load.Failure = std::make_shared<FileReadError>(error);
    return load;
  }
  load = ParseProjectBytes(bytes, table);
  if (!load.Message.empty()) load.Message = path + ": " + load.Message;
  SetFormatFailure(load);
  return load;
}

void WriteProjectFile(const std::string& path, const EventTable& table) {
  try {
    WriteFileAtomically(path, ProjectFileBytes(table));
  } catch (const FileWriteError& error) {
    throw ProjectFileError(error.what(), error.SystemReason());
  }
}

ProjectLoad ReadProject(EventTable& table) {
  return ReadProjectFile(Cp932ToUtf8(ProjectFilePath(table)), table);
}

void WriteProject(const EventTable& table) {
  WriteProjectFile(Cp932ToUtf8(ProjectFilePath(table)), table);
}

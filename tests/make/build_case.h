#pragma once

// One build in a scratch folder: add events and pictures, run Make, read what it wrote.

#include <memory>
#include <string>
#include <vector>

#include "document/names.h"
#include "make/build_test_support.h"
#include "make/make_wrd_files.h"
#include "make/test_bmp_writer.h"

namespace build_test {

class BuildCase {
 public:
  BuildCase() : table_(std::make_unique<EventTable>()) {
    SetMidiPath(*table_, folder_ / "song.mid");
  }

  EventTable& Table() { return *table_; }
  const TempFolder& Folder() const { return folder_; }
  RecordingLog& Log() { return log_; }
  const BuildResult& Result() const { return result_; }

  EventItem& Add(const std::string& mark, int32_t count, const std::string& picture = "") {
    EventItem& item = table_->events[table_->EventCount++];
    item.Mark = mark;
    item.Count = count;
    item.Picture = picture;
    return item;
  }

  void Picture(const std::string& name, int width, int height, uint8_t index = 0) {
    test_bmp::WritePlainBmp(folder_.Path() / name, width, height, index);
  }

  const BuildResult& Make() {
    log_ = RecordingLog();
    result_ = MakeWrdFiles(*table_, log_);
    return result_;
  }

  // The script's lines (without their CR LF).
  std::vector<std::string> ScriptLines() const {
    const std::string text = ReadFile(folder_.Path() / "song.evn");
    std::vector<std::string> lines;
    size_t pos = 0;
    while (pos < text.size()) {
      const size_t end = text.find("\r\n", pos);
      if (end == std::string::npos) {
        lines.push_back(text.substr(pos) + "<no line end>");
        break;
      }
      lines.push_back(text.substr(pos, end - pos));
      pos = end + 2;
    }
    return lines;
  }

  // The script's lines after "Start();".
  std::vector<std::string> EventLines() const {
    std::vector<std::string> lines = ScriptLines();
    auto start = std::find(lines.begin(), lines.end(), "Start();");
    return start == lines.end() ? lines : std::vector<std::string>(start + 1, lines.end());
  }

  // Data block records after the Start record, as "tick opcode: payload", without the end record.
  std::vector<std::string> EventRecords() const {
    std::vector<std::string> records = DataRecords(ReadVnlFile(folder_ / "song.vnl"));
    auto start = std::find_if(records.begin(), records.end(),
                              [](const std::string& r) { return r == "0 01"; });
    std::vector<std::string> out(start == records.end() ? records.begin() : start + 1,
                                 records.end());
    if (!out.empty()) out.pop_back();
    return out;
  }

  // Records of one opcode (hex, "61") among the EventRecords.
  std::vector<std::string> Records(const std::string& opcode) const {
    std::vector<std::string> out;
    for (const std::string& record : EventRecords()) {
      const size_t blank = record.find(' ');
      if (record.compare(blank + 1, 2, opcode) == 0) out.push_back(record);
    }
    return out;
  }

  bool Logged(const std::string& line) const {
    return std::find(log_.lines.begin(), log_.lines.end(), line) != log_.lines.end();
  }
  int CountLogged(const std::string& prefix) const {
    return static_cast<int>(
        std::count_if(log_.lines.begin(), log_.lines.end(),
                      [&](const std::string& l) { return l.starts_with(prefix); }));
  }

 private:
  TempFolder folder_;
  std::unique_ptr<EventTable> table_;
  RecordingLog log_;
  BuildResult result_;
};

// Log and script texts of the build (CP932).
inline const std::string kReading =
    "BMP\x83\x74\x83\x40\x83\x43\x83\x8B\x93\xC7\x82\xDD\x8D\x9E\x82\xDD\x92\x86 ";
inline const std::string kConverting = "PNG\x82\xD6\x95\xCF\x8A\xB7\x92\x86";
inline const std::string kErrorPrefix = "\x83\x47\x83\x89\x81\x5B: ";
inline const std::string kBadBmp =
    kErrorPrefix +
    "\x83\x74\x83\x40\x83\x43\x83\x8B\x82\xAA\x93\xC7\x82\xDF\x82\xC8\x82\xA2\x81\x41\x82\xE0\x82"
    "\xB5\x82\xAD\x82\xCD"
    "256\x90\x46\x88\xC8\x8A\x4F\x82\xCC"
    "BMP\x83\x74\x83\x40\x83\x43\x83\x8B"
    "\x82\xC5\x82\xA0\x82\xE9";
inline const std::string kNoFreeColour =
    "\x8C\x78\x8D\x90: \x8C\xA9\x82\xC2\x82\xA9\x82\xE7\x82\xC8"
    "\x82\xA2\x82\xCC\x82\xC5\x8E\x97\x82\xBD\x90\x46\x82\xC9\x90\xD8\x82\xE8\x8E\xCC\x82\xC4\x82"
    "\xE7\x82\xEA\x82\xDC\x82\xB7";
inline const std::string kEnd = "\x8F\x49\x97\xB9";
inline const std::string kColourComment = " // \x95\xB6\x8E\x9A\x90\x46";
inline const std::string kTextPageLine =
    "ActivePage(32767); // \x83\x65\x83\x4C\x83\x58\x83\x67\x89\xE6\x96\xCA";
inline const std::string kFadeInComment = " // \x83\x74\x83\x46\x81\x5B\x83\x68\x83\x43\x83\x93";
inline const std::string kFadeOutComment =
    " // \x83\x74\x83\x46\x81\x5B\x83\x68\x83\x41\x83\x45\x83\x67";

// The event of the worked example: "intro" at sixteenth 64 shows sky.bmp through white, with
// "Hello" centred in (100, 400)-(540, 479) in green.
inline void SetWorkedExampleEvent(EventItem& intro) {
  intro.Mark = "intro";
  intro.Count = 64;
  intro.Picture = "sky.bmp";
  intro.Effect = 1;
  intro.Naraberu = 0;
  intro.Lyrics = "Hello";
  intro.X1 = 100;
  intro.Y1 = 400;
  intro.X2 = 540;
  intro.Y2 = 479;
  intro.Align = 2;
  intro.Color = 0x0000FF00;
}

}  // namespace build_test

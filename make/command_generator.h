#pragma once

#include <charconv>
#include <concepts>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>

#include "document/event_table.h"
#include "make/build_log.h"
#include "make/current_picture.h"
#include "make/picture_table.h"

class VBinaryOut;

// The second pass of the build: turns the event table into commands, each issued to the writer
// and as a line of the text script, or to only one of them: the two can be made on two threads
// by two generators, and the show needs no script. Script lines are collected with LF line ends;
// the caller translates them when it writes the file.
class CommandGenerator {
 public:
  enum class ScriptLines { kWritten, kSkipped };

  // Ticks of an event and its fades must stay below this (the writer's tick limit).
  static constexpr int64_t kTickLimit = 0x10000000;
  // The fade-in of an event ends this many ticks after it.
  static constexpr int64_t kFadeTicks = 144;
  // The fade-out of an event starts this many ticks before it; an event earlier than this has
  // none.
  static constexpr int64_t kFadeOutTicks = 192;
  // Whether the event fades (through white or black): out before it, and in when it shows a
  // picture.
  static bool Fades(const EventItem& item) {
    return item.Effect == kEffectFadeWhite || item.Effect == kEffectFadeBlack;
  }

  // `commands` may be null: no commands are issued then. The log takes the lines of events the
  // writer cannot place; a generator that issues no commands logs them all the same.
  CommandGenerator(const EventTable& table, const PictureTable& pictures, VBinaryOut* commands,
                   ScriptLines script, BuildLog& log);

  // The definition block and the screen and palette set-up.
  void WriteHeader();
  // One LoadPicture per picture, then Start.
  void WritePictureLoader();
  // Every live event in table order.
  void WriteEvents();
  // The three above, in order: the whole show.
  void WriteAll() {
    WriteHeader();
    WritePictureLoader();
    WriteEvents();
  }

  const std::string& Script() const { return script_; }

 private:
  // One script line of the given texts and numbers.
  template <typename... Parts>
  void Line(const Parts&... parts) {
    if (!scriptOn_) return;
    (Append(parts), ...);
    script_ += '\n';
  }
  void Append(std::string_view text) { script_ += text; }
  void Append(std::integral auto number) {
    char digits[24];
    script_.append(digits, std::to_chars(digits, digits + sizeof digits, number).ptr);
  }
  void WriteEvent(const EventItem& item);
  void MovePicture(const EventItem& item, int cur);
  void Fade(int first, int second, int64_t start);
  int TextColour(const EventItem& item, int cur);
  void WriteLyrics(const EventItem& item, int tc);

  const EventTable& table_;
  const PictureTable& pictures_;
  VBinaryOut* out_;
  bool scriptOn_;
  BuildLog& log_;
  std::string script_;
  CurrentPicture current_;
  int cur_;  // the current picture; pictures_.size() for none
  // The nearest palette colour found per picture and text colour, for pictures without a
  // free index.
  std::unordered_map<uint64_t, int> nearestColour_;
};

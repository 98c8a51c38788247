#pragma once

#include <cstdint>
#include <string>
#include <unordered_map>

#include "app/document/event_table.h"
#include "build/build_log.h"
#include "build/current_picture.h"
#include "build/picture_table.h"

class VBinaryOut;

// The second pass of the build: turns the event table into commands, each issued twice, to the
// writer and as a line of the text script. Script lines are collected with LF line ends; the
// caller translates them when it writes the file.
class CommandGenerator {
 public:
  // Ticks of an event and its fades must stay below this (the writer's tick limit).
  static constexpr int64_t kTickLimit = 0x10000000;
  // The fade-in of an event ends this many ticks after it.
  static constexpr int64_t kFadeTicks = 144;
  // The fade-out of an event starts this many ticks before it; an event earlier than this has
  // none.
  static constexpr int64_t kFadeOutTicks = 192;
  // Whether the event fades (through white or black): out before it, and in when it shows a
  // picture.
  static bool Fades(const EventItem& item) { return item.Effect == 1 || item.Effect == 2; }

  CommandGenerator(const EventTable& table, const PictureTable& pictures, VBinaryOut& out,
                   BuildLog& log);

  // The definition block and the screen and palette set-up.
  void WriteHeader();
  // One LoadPicture per picture, then Start.
  void WritePictureLoader();
  // Every live event in table order.
  void WriteEvents();

  const std::string& Script() const { return script_; }

 private:
  void Line(const std::string& line);
  void WriteEvent(const EventItem& item);
  void MovePicture(const EventItem& item, int cur);
  void Fade(int first, int second, int64_t start);
  int TextColour(const EventItem& item, int cur);
  void WriteLyrics(const EventItem& item, int tc);

  const EventTable& table_;
  const PictureTable& pictures_;
  VBinaryOut& out_;
  BuildLog& log_;
  std::string script_;
  CurrentPicture current_;
  int cur_;  // the current picture; pictures_.size() for none
  // The nearest palette colour found per picture and text colour, for pictures without a
  // free index.
  std::unordered_map<uint64_t, int> nearestColour_;
};

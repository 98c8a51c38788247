#pragma once

#include <array>
#include <cstdint>
#include <string>

// The values of EventItem::Effect. A project file may hold any number; the others fade nothing.
enum EffectValue : int32_t { kEffectNone = 0, kEffectFadeWhite = 1, kEffectFadeBlack = 2 };
// The values of EventItem::Align; any other number is laid out as centred.
enum AlignValue : int32_t { kAlignLeft = 0, kAlignRight = 1, kAlignCentre = 2 };
// What the window's Effect and Align boxes hold while no entry is chosen.
constexpr int32_t kNoChoice = -1;

// One timeline event. Texts are CP932 bytes; the field order is the order of the project file
// and of the build. The main window names it TForm1::Item.
struct EventItem {
  std::string Mark;
  int32_t Count = 0;  // song position in sixteenth notes
  std::string Picture;
  int32_t Effect = kEffectNone;  // an EffectValue, or kNoChoice
  std::string Lyrics;            // lines separated by CR LF
  int32_t X1 = 0;
  int32_t Y1 = 0;
  int32_t X2 = 0;
  int32_t Y2 = 0;
  int32_t Naraberu = 0;        // 1: tile the picture
  int32_t Align = kAlignLeft;  // an AlignValue, or kNoChoice
  uint32_t Color = 0;          // 0x00BBGGRR

  bool operator==(const EventItem&) const = default;
};

// The document: a fixed table of event slots and the names of the open MIDI file. Live events are
// slots 0 .. EventCount - 1 in insertion order; slots beyond keep whatever they last held.
struct EventTable {
  static constexpr int kCapacity = 1024;

  std::array<EventItem, kCapacity> events;
  int32_t EventCount = 0;
  std::string MidiPath;    // CP932; empty while no MIDI file is open
  std::string MidiFolder;  // CP932; ends with "/" once a MIDI file is open
  std::string BaseName;    // the MIDI file name less its last three characters
};

// The layout (no picture, the rectangle, alignment and colour) an event takes where no earlier
// event gives one: white lyrics centred in the lowest 80 rows of the screen, where lyrics belong.
inline EventItem DefaultEventLayout() {
  EventItem layout;
  layout.X1 = 0;
  layout.Y1 = 400;
  layout.X2 = 639;
  layout.Y2 = 479;
  layout.Align = kAlignCentre;
  layout.Color = 0x00FFFFFF;  // white
  return layout;
}

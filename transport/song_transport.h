#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "document/event_table.h"

class MediaPlayer;

// Where a tap lands: the user's reaction delay (taken off while the song plays) and the MIDI
// channel (1 .. 16) whose note starts a tap snaps to, 0 for none.
struct TapSettings {
  int reaction_delay_ms = 0;
  int snap_channel = 0;
};

// The song as the main window plays it: play and stop, seeking that keeps a playing song
// playing, the position heard, taps, the speed and the loop. The player must outlive it.
class SongTransport {
 public:
  explicit SongTransport(MediaPlayer& player) : player_(player) {}
  SongTransport(const SongTransport&) = delete;
  SongTransport& operator=(const SongTransport&) = delete;

  MediaPlayer& Player() const { return player_; }
  bool IsPlaying() const;
  int32_t Position() const;
  int32_t Length() const;
  // The length in sixteenths, when a song of some length is open.
  std::optional<int32_t> SongLength() const;

  // A new song was opened: it starts without a loop.
  void SongOpened() { looping_ = false; }
  // Plays a stopped song and stops a playing one; true when it plays now.
  bool PlayOrStop();
  // The first play's notice of a song without sound (empty when there is none, and after).
  std::string TakeFirstSoundNotice();
  // Goes to `position` (clamped by the player); a playing song plays on from there.
  void Seek(int32_t position);

  // The sixteenth a tap made now stands for: the position heard, less the reaction delay while
  // playing, at the nearest sixteenth or note start; at most the length.
  // `snap_ticks` (MIDI ticks in order, such as the song's syllables), when given, are what the
  // tap snaps to instead of the channel's note starts.
  int32_t Tap(const TapSettings& settings, const std::vector<int64_t>& snap_ticks = {}) const;

  int Speed() const;
  void SetSpeed(int percent);
  // The next of 25, 50, 75 and 100 % up (direction 1) or down (-1); returns it.
  int StepSpeed(int direction);

  bool Looping() const { return looping_; }
  int32_t LoopFrom() const { return looping_ ? loop_from_ : 0; }
  int32_t LoopTo() const { return looping_ ? loop_to_ : 0; }
  // Loops from `from` (the selected event's time) to the next event in time of `table`, or
  // the song's end, and goes to `from`. `selection`'s own slot counts at `from`. False (and no
  // loop) when nothing lies after `from`.
  bool StartLoop(const EventTable& table, int selection, int32_t from);
  void EndLoop();

  // The counter's text (UTF-8): "position (bar:beat)" by the song's time signatures, then the
  // speed when it is not 100 % and " ループ" while looping.
  std::string CounterText(int32_t position) const;
  // The position heard in sixteenths with their fraction, for a smoothly moving strip.
  double ExactPosition() const;

 private:
  MediaPlayer& player_;
  bool sound_notice_taken_ = false;
  bool looping_ = false;
  int32_t loop_from_ = 0, loop_to_ = 0;
};

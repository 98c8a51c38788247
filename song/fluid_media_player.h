#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "song/media_player.h"
#include "song/midi_sink.h"
#include "song/midi_song.h"
#include "song/playback_thread.h"
#include "song/song_clock.h"
#include "song/time_source.h"

// The program's sequencer: reads the MIDI file with the program's own reader, keeps the song
// position with a SongClock and plays the events on a FluidSynth synthesizer from a playback
// thread. Without an audio device or a soundfont the song plays silently on the same clock.
// All calls come from one thread (the GUI thread).
class FluidMediaPlayer : public MediaPlayer {
 public:
  // The steady clock and FluidSynth with the system's General MIDI soundfont. Without an audio
  // device or a soundfont it plays silently and TakeSoundNotice() says so once.
  FluidMediaPlayer();
  // For tests: the song time follows `time`; events go to `sink` (nullptr: silently).
  // `sound_notice` is what TakeSoundNotice() gives once.
  FluidMediaPlayer(std::shared_ptr<const TimeSource> time, std::unique_ptr<MidiSink> sink,
                   std::string sound_notice = {});
  // Stops playback, then shuts the synthesizer down.
  ~FluidMediaPlayer() override;

  void Open(const std::string& path) override;
  void Close() override;
  bool HasDevice() const override { return song_ != nullptr; }

  int32_t Length() const override;
  int32_t Position() const override;
  bool IsPlaying() const override;
  int64_t SongMicros() const override;
  // The open song's tempo map; 120 beats per minute while no song is open.
  const TempoMap& Tempo() const override;
  std::shared_ptr<const MidiSong> Song() const override { return song_; }
  std::string RepairNotice() const override;

  void Play() override;
  void Stop() override;
  void Seek(int32_t position) override;
  void Resume() override;
  void SetSpeed(int percent) override;
  int Speed() const override { return speed_; }
  void SetLoop(int32_t from, int32_t to) override;

  std::string TakeSoundNotice() override;

 private:
  void RequireDevice() const;
  // Joins the playback thread and silences the sink.
  void Halt();
  // Starts the playback thread where the clock stands.
  void Start();
  // Applies a change to the clock; a playing song plays on by the changed rule.
  template <typename Change>
  void ChangeClock(Change change);

  std::shared_ptr<const TimeSource> time_;
  std::unique_ptr<MidiSink> sink_;
  std::string sound_notice_;
  int speed_ = 100;
  TempoMap no_song_tempo_;  // what Tempo() gives while no song is open

  std::shared_ptr<const MidiSong> song_;
  std::shared_ptr<const std::vector<int64_t>> event_micros_;
  std::optional<SongClock> clock_;
  std::unique_ptr<PlaybackThread> thread_;  // last: it uses the members above
};

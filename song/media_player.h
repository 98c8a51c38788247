#pragma once

#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>

#include "errors/error.h"
#include "song/tempo_map.h"

struct MidiSong;

// A failed media operation; what() is a readable UTF-8 text for the error box.
class MediaError : public VwrdError {
 public:
  using VwrdError::VwrdError;
};

// The sequencer the main window plays its song with. Positions and the length are in
// sixteenth notes (song-pointer units); the position is the one being heard (the audio
// output's latency taken off). Play and Resume return at once; the song plays on in
// the background. Play, Stop, Seek and Resume throw MediaError("MCI ﾃﾞﾊﾞｲｽがありません")
// while no song is open; the status queries throw nothing (Length 0, Position 0, not playing).
class MediaPlayer {
 public:
  virtual ~MediaPlayer() = default;

  // Opens the MIDI file at a UTF-8 file-system path, stopped at position 0. The file is read
  // first and the player switches only when it was read: on failure throws MediaError with
  // the reason (what is wrong and where, without the path), and the song open before (if any)
  // stays open as it was, playing or not.
  virtual void Open(const std::string& path) = 0;
  virtual void Close() = 0;
  virtual bool HasDevice() const = 0;

  virtual int32_t Length() const = 0;
  virtual int32_t Position() const = 0;
  virtual bool IsPlaying() const = 0;
  virtual int64_t SongMicros() const = 0;  // the song time being heard now (microseconds)
  virtual const TempoMap& Tempo() const = 0;
  // The open song (its events, meter and note starts), or null.
  virtual std::shared_ptr<const MidiSong> Song() const = 0;
  // What the reader mended in the open song's file, for the user; empty when it was whole.
  virtual std::string RepairNotice() const = 0;

  // Plays from the current position; at the end it first rewinds to the start.
  virtual void Play() = 0;
  // Stops and keeps the position.
  virtual void Stop() = 0;
  // Moves to a position (clamped to 0 .. Length()); a playing song plays on from there.
  virtual void Seek(int32_t position) = 0;
  // Continues after a stop; falls back to Play.
  virtual void Resume() = 0;
  // Plays at 25 .. 100 percent of the song's tempo (the pitch stays); positions stay in song
  // time. Kept across songs.
  virtual void SetSpeed(int percent) = 0;
  virtual int Speed() const = 0;
  // Loops the positions from .. to seamlessly until cleared (from >= to clears it). Opening
  // another song clears it.
  virtual void SetLoop(int32_t from, int32_t to) = 0;

  // Non-empty once when the song plays without sound (no audio device or no soundfont):
  // the text to tell the user. Reading it clears it.
  virtual std::string TakeSoundNotice() = 0;
};

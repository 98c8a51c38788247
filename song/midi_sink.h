#pragma once

#include <cstddef>
#include <cstdint>

// Where the playback sends the song: a synthesizer, or a recorder in tests. Called from one
// thread at a time (the playback thread while playing, otherwise the player's thread).
class MidiSink {
 public:
  virtual ~MidiSink() = default;
  // A channel message: status 0x80..0xEF and its data bytes (data2 is 0 for one-byte messages).
  virtual void Channel(uint8_t status, uint8_t data1, uint8_t data2) = 0;
  // A complete system exclusive message, without its F0 and F7 bytes.
  virtual void SysEx(const uint8_t* data, size_t size) = 0;
  // Cuts every voice at once (stop, seek).
  virtual void SoundsOff() = 0;
  // Releases every note, letting the voices fade (the song's end).
  virtual void NotesOff() = 0;
  // Back to the power-on state: programs, controllers and pitch bend.
  virtual void Reset() = 0;
  // How long after a message its sound is heard (the output's buffers), in microseconds.
  virtual int64_t LatencyMicros() const { return 0; }
};

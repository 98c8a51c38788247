#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "song/fluid_synth_output.h"
#include "song/midi_song.h"

// Renders a song offline, faster than real time and without an audio device, through the
// synthesizer and soundfont the program plays it with: the song to its end, then its release
// tail until it falls silent, at most kMaxTailMicros.
class AudioRenderer {
 public:
  static constexpr int64_t kMaxTailMicros = 3000000;

  // `song` must outlive the renderer. Throws VideoError when the synthesizer or a soundfont in
  // `soundfont_folder` cannot be loaded.
  explicit AudioRenderer(const MidiSong& song, const std::string& soundfont_folder =
                                                   FluidSynthOutput::Options{}.soundfont_folder);

  int SampleRate() const { return sample_rate_; }
  // The song time where the song ends and its tail begins.
  int64_t SongEndMicros() const { return end_micros_; }
  // Renders up to `frames` stereo frames into the two buffers; returns how many it rendered,
  // fewer than asked only when the tail has ended.
  int Render(float* left, float* right, int frames);
  bool Finished() const { return finished_; }
  // The frames rendered so far.
  int64_t Position() const { return position_; }

 private:
  int64_t SampleOfMicros(int64_t micros) const;
  // Sends every event due at or before the current position.
  void SendDueEvents();

  const MidiSong& song_;
  std::unique_ptr<FluidSynthOutput> synth_;
  int sample_rate_ = 0;
  int64_t end_micros_ = 0;
  int64_t end_sample_ = 0;
  int64_t tail_end_sample_ = 0;
  int64_t position_ = 0;
  size_t next_event_ = 0;
  bool ended_ = false;  // the notes were released at the song's end
  bool finished_ = false;
  float tail_peak_ = 0;  // over the tail frames not yet judged
  int tail_window_ = 0;
};

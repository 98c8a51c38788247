#pragma once

#include <memory>
#include <string>

#include "song/midi_sink.h"

#include <fluidsynth/types.h>

// A FluidSynth synthesizer with a General MIDI soundfont, playing through an audio device.
class FluidSynthOutput : public MidiSink {
 public:
  struct Options {
    bool open_audio = true;  // false: nothing plays; tests call Render to hear the synthesizer
    std::string soundfont_folder = "/usr/share/sounds/sf2";
  };

  // Loads the folder's default-GM.sf2 (or else the first other .sf2 file in name order) and
  // opens the audio device (PulseAudio, then ALSA; never a file). Returns null, with a notice for
  // the user in `problem` ("...ため、音なしで再生します"), when there is no soundfont or no device.
  // Keeps FluidSynth's and ALSA's messages off the terminal.
  static std::unique_ptr<FluidSynthOutput> Create(const Options& options, std::string* problem);
  ~FluidSynthOutput() override;

  void Channel(uint8_t status, uint8_t data1, uint8_t data2) override;
  void SysEx(const uint8_t* data, size_t size) override;
  void SoundsOff() override;
  void NotesOff() override;
  void Reset() override;
  // The audio buffer FluidSynth asks of the device: with PulseAudio's latency adjustment this
  // is also what the sound server holds back.
  int64_t LatencyMicros() const override { return latency_micros_; }

  // Renders `frames` stereo frames into the two buffers; for a synthesizer without audio.
  void Render(float* left, float* right, int frames);
  // The synthesizer's sample rate, in frames per second.
  int SampleRate() const;

 private:
  struct SettingsDeleter {
    void operator()(fluid_settings_t* settings) const;
  };
  struct SynthDeleter {
    void operator()(fluid_synth_t* synth) const;
  };
  struct DriverDeleter {
    void operator()(fluid_audio_driver_t* driver) const;
  };

  FluidSynthOutput() = default;

  // Destroyed in reverse order: the audio driver first, then the synthesizer, then the settings.
  std::unique_ptr<fluid_settings_t, SettingsDeleter> settings_;
  std::unique_ptr<fluid_synth_t, SynthDeleter> synth_;
  std::unique_ptr<fluid_audio_driver_t, DriverDeleter> driver_;
  int64_t latency_micros_ = 0;
};

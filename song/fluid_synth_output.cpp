#include "song/fluid_synth_output.h"

#include <fluidsynth.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <vector>

#if VWRD_HAVE_ALSA
#include <alsa/asoundlib.h>
#endif

namespace {

void DropLogMessage(int, const char*, void*) {}

// FluidSynth's log functions are process-wide; setting them again is harmless.
void QuietFluidSynth() {
  for (int level = 0; level < LAST_LOG_LEVEL; ++level) {
    fluid_set_log_function(level, DropLogMessage, nullptr);
  }
}

#if VWRD_HAVE_ALSA
void DropAlsaMessage(const char*, int, const char*, int, const char*, ...) {}
#endif

// ALSA prints its configuration errors (no sound card) straight to stderr.
void QuietAlsa() {
#if VWRD_HAVE_ALSA
  snd_lib_error_set_handler(DropAlsaMessage);
#endif
}

std::string FindSoundfont(const std::string& folder) {
  namespace fs = std::filesystem;
  std::error_code error;
  const fs::path preferred = fs::path(folder) / "default-GM.sf2";
  if (fs::is_regular_file(preferred, error)) return preferred.string();
  std::vector<std::string> found;
  for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
    std::string extension = it->path().extension().string();
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    if (extension == ".sf2" && it->is_regular_file(error)) found.push_back(it->path().string());
  }
  std::sort(found.begin(), found.end());
  return found.empty() ? std::string() : found.front();
}

int64_t BufferMicros(fluid_settings_t* settings) {
  int period_size = 0, periods = 0;
  double rate = 0;
  fluid_settings_getint(settings, "audio.period-size", &period_size);
  fluid_settings_getint(settings, "audio.periods", &periods);
  fluid_settings_getnum(settings, "synth.sample-rate", &rate);
  if (period_size <= 0 || periods <= 0 || rate <= 0) return 0;
  return static_cast<int64_t>(1e6 * period_size * periods / rate);
}

}  // namespace

void FluidSynthOutput::SettingsDeleter::operator()(fluid_settings_t* settings) const {
  delete_fluid_settings(settings);
}
void FluidSynthOutput::SynthDeleter::operator()(fluid_synth_t* synth) const {
  delete_fluid_synth(synth);
}
void FluidSynthOutput::DriverDeleter::operator()(fluid_audio_driver_t* driver) const {
  delete_fluid_audio_driver(driver);
}

std::unique_ptr<FluidSynthOutput> FluidSynthOutput::Create(const Options& options,
                                                           std::string* problem) {
  QuietFluidSynth();
  std::unique_ptr<FluidSynthOutput> output(new FluidSynthOutput);
  output->settings_.reset(new_fluid_settings());
  if (!output->settings_) {
    *problem = "FluidSynth を初期化できないため、音なしで再生します";
    return nullptr;
  }
  fluid_settings_t* settings = output->settings_.get();
  fluid_settings_setint(settings, "synth.lock-memory", 0);
  fluid_settings_setnum(settings, "synth.gain", 0.5);
  output->synth_.reset(new_fluid_synth(settings));
  if (!output->synth_) {
    *problem = "FluidSynth を初期化できないため、音なしで再生します";
    return nullptr;
  }
  const std::string soundfont = FindSoundfont(options.soundfont_folder);
  if (soundfont.empty() || fluid_synth_sfload(output->synth_.get(), soundfont.c_str(), 1) < 0) {
    *problem = "音色ファイル (SoundFont) が見つからないため、音なしで再生します";
    return nullptr;
  }
  if (!options.open_audio) return output;
  // Only real devices: FluidSynth's "file" driver would write a WAV file, and JACK and the
  // others are not what a desktop without PulseAudio or ALSA has.
  for (const char* driver : {"pulseaudio", "alsa"}) {
    if (fluid_settings_setstr(settings, "audio.driver", driver) != FLUID_OK) continue;
    if (std::string(driver) == "alsa") QuietAlsa();
    output->driver_.reset(new_fluid_audio_driver(settings, output->synth_.get()));
    if (output->driver_) {
      output->latency_micros_ = BufferMicros(settings);
      return output;
    }
  }
  *problem = "音声出力を開けないため、音なしで再生します";
  return nullptr;
}

FluidSynthOutput::~FluidSynthOutput() {
  driver_.reset();
  synth_.reset();
  settings_.reset();
}

void FluidSynthOutput::Channel(uint8_t status, uint8_t data1, uint8_t data2) {
  fluid_synth_t* synth = synth_.get();
  const int channel = status & 0x0F;
  switch (status & 0xF0) {
    case 0x80:
      fluid_synth_noteoff(synth, channel, data1);
      break;
    case 0x90:
      // A note-on with velocity 0 is a note-off; FluidSynth takes it as such.
      fluid_synth_noteon(synth, channel, data1, data2);
      break;
    case 0xA0:
      fluid_synth_key_pressure(synth, channel, data1, data2);
      break;
    case 0xB0:
      fluid_synth_cc(synth, channel, data1, data2);
      break;
    case 0xC0:
      fluid_synth_program_change(synth, channel, data1);
      break;
    case 0xD0:
      fluid_synth_channel_pressure(synth, channel, data1);
      break;
    case 0xE0:
      fluid_synth_pitch_bend(synth, channel, data1 | data2 << 7);
      break;
  }
}

void FluidSynthOutput::SysEx(const uint8_t* data, size_t size) {
  fluid_synth_sysex(synth_.get(), reinterpret_cast<const char*>(data), static_cast<int>(size),
                    nullptr, nullptr, nullptr, 0);
}

void FluidSynthOutput::SoundsOff() { fluid_synth_all_sounds_off(synth_.get(), -1); }

void FluidSynthOutput::NotesOff() { fluid_synth_all_notes_off(synth_.get(), -1); }

void FluidSynthOutput::Reset() { fluid_synth_system_reset(synth_.get()); }

void FluidSynthOutput::Render(float* left, float* right, int frames) {
  fluid_synth_write_float(synth_.get(), frames, left, 0, 1, right, 0, 1);
}

int FluidSynthOutput::SampleRate() const {
  double rate = 44100;
  fluid_settings_getnum(settings_.get(), "synth.sample-rate", &rate);
  return static_cast<int>(rate);
}

#include "video/audio_renderer.h"

#include <algorithm>
#include <cmath>

#include "song/send_midi_event.h"
#include "video/video_error.h"

namespace {

// A tenth of a second of the tail whose peak stays below this (about -80 dB) is silence: the tail
// has ended.
constexpr float kSilence = 1e-4f;

float Peak(const float* left, const float* right, int frames) {
  float peak = 0;
  for (int i = 0; i < frames; ++i) {
    peak = std::max({peak, std::fabs(left[i]), std::fabs(right[i])});
  }
  return peak;
}

}  // namespace

AudioRenderer::AudioRenderer(const MidiSong& song, const std::string& soundfont_folder)
    : song_(song) {
  std::string problem;
  synth_ = FluidSynthOutput::Create({.open_audio = false, .soundfont_folder = soundfont_folder},
                                    &problem);
  if (!synth_) {
    throw VideoError("音色ファイル (SoundFont) を読み込めないため、音声を作れません (" +
                     soundfont_folder + ")");
  }
  sample_rate_ = synth_->SampleRate();
  // The same end as the program's playback: the song's length in sixteenths.
  end_micros_ = song.tempo.MicrosAtSixteenth(song.length_sixteenths);
  end_sample_ = SampleOfMicros(end_micros_);
  tail_end_sample_ = end_sample_ + SampleOfMicros(kMaxTailMicros);
}

int64_t AudioRenderer::SampleOfMicros(int64_t micros) const {
  return static_cast<int64_t>((static_cast<__int128>(micros) * sample_rate_ + 999999) / 1000000);
}

void AudioRenderer::SendDueEvents() {
  const auto& events = song_.events;
  while (next_event_ < events.size() &&
         SampleOfMicros(song_.tempo.MicrosAtTick(events[next_event_].tick)) <= position_) {
    SendMidiEvent(song_, events[next_event_++], *synth_);
  }
}

int AudioRenderer::Render(float* left, float* right, int frames) {
  int done = 0;
  while (done < frames && !finished_) {
    if (!ended_) {
      SendDueEvents();
      if (position_ >= end_sample_) {
        synth_->NotesOff();
        ended_ = true;
        continue;
      }
      int64_t until = std::min<int64_t>(end_sample_, position_ + (frames - done));
      if (next_event_ < song_.events.size()) {
        until = std::min(until,
                         SampleOfMicros(song_.tempo.MicrosAtTick(song_.events[next_event_].tick)));
      }
      const int count = static_cast<int>(until - position_);
      synth_->Render(left + done, right + done, count);
      position_ += count;
      done += count;
    } else {
      const int count =
          static_cast<int>(std::min<int64_t>(tail_end_sample_ - position_, frames - done));
      synth_->Render(left + done, right + done, count);
      position_ += count;
      done += count;
      tail_peak_ = std::max(tail_peak_, Peak(left + done - count, right + done - count, count));
      tail_window_ += count;
      if (tail_window_ >= sample_rate_ / 10) {  // judged over a tenth of a second
        if (tail_peak_ < kSilence) finished_ = true;
        tail_peak_ = 0;
        tail_window_ = 0;
      }
      if (position_ >= tail_end_sample_) finished_ = true;
    }
  }
  return done;
}

#include "song/fluid_media_player.h"

#include <algorithm>
#include <utility>

#include "song/fluid_synth_output.h"
#include "song/midi_file_reader.h"

namespace {

const char kNoDevice[] = "MCI ﾃﾞﾊﾞｲｽがありません";

}  // namespace

FluidMediaPlayer::FluidMediaPlayer() : time_(std::make_shared<SteadyTimeSource>()) {
  std::string problem;
  sink_ = FluidSynthOutput::Create({}, &problem);
  if (!sink_) sound_notice_ = problem;
}

FluidMediaPlayer::FluidMediaPlayer(std::shared_ptr<const TimeSource> time,
                                   std::unique_ptr<MidiSink> sink, std::string sound_notice)
    : time_(std::move(time)), sink_(std::move(sink)), sound_notice_(std::move(sound_notice)) {}

FluidMediaPlayer::~FluidMediaPlayer() {
  Halt();
  sink_.reset();
}

void FluidMediaPlayer::RequireDevice() const {
  if (!song_) throw MediaError(kNoDevice);
}

void FluidMediaPlayer::Halt() {
  if (!thread_) return;
  thread_.reset();
  if (sink_) sink_->SoundsOff();
}

void FluidMediaPlayer::Start() {
  if (!sink_ || !clock_->IsPlaying()) return;  // silent: the clock alone is the song
  thread_ = std::make_unique<PlaybackThread>(song_, event_micros_, time_, sink_.get(),
                                             clock_->Rule(), clock_->EndMicros());
}

void FluidMediaPlayer::Open(const std::string& path) {
  std::shared_ptr<MidiSong> song;
  try {
    song = std::make_shared<MidiSong>(ReadMidiFile(path));
  } catch (const MidiFileError& error) {
    throw MediaError(error.what());
  }
  auto micros = std::make_shared<std::vector<int64_t>>();
  micros->reserve(song->events.size());
  for (const MidiEvent& event : song->events)
    micros->push_back(song->tempo.MicrosAtTick(event.tick));

  Halt();
  clock_.emplace(time_, song->tempo, song->length_sixteenths, sink_ ? sink_->LatencyMicros() : 0);
  clock_->SetSpeed(speed_);
  song_ = std::move(song);
  event_micros_ = std::move(micros);
}

void FluidMediaPlayer::Close() {
  Halt();
  clock_.reset();
  song_.reset();
  event_micros_.reset();
}

int32_t FluidMediaPlayer::Length() const { return song_ ? clock_->Length() : 0; }

int32_t FluidMediaPlayer::Position() const { return song_ ? clock_->Position() : 0; }

bool FluidMediaPlayer::IsPlaying() const { return song_ && clock_->IsPlaying(); }

int64_t FluidMediaPlayer::SongMicros() const { return song_ ? clock_->SongMicros() : 0; }

const TempoMap& FluidMediaPlayer::Tempo() const { return song_ ? song_->tempo : no_song_tempo_; }

std::string FluidMediaPlayer::RepairNotice() const {
  if (!song_ || song_->repairs.empty()) return {};
  std::string text = "MIDI ファイルの傷を補って再生します: " + song_->repairs.front();
  if (song_->repairs.size() > 1) {
    text += " ほか " + std::to_string(song_->repairs.size() - 1) + " 件";
  }
  return text;
}

template <typename Change>
void FluidMediaPlayer::ChangeClock(Change change) {
  if (!song_) return;
  const bool playing = clock_->IsPlaying();
  Halt();
  change(*clock_);
  if (playing) Start();
}

void FluidMediaPlayer::SetSpeed(int percent) {
  speed_ = std::clamp(percent, 25, 100);
  ChangeClock([this](SongClock& clock) { clock.SetSpeed(speed_); });
}

void FluidMediaPlayer::SetLoop(int32_t from, int32_t to) {
  ChangeClock([this, from, to](SongClock& clock) {
    const TempoMap& tempo = song_->tempo;
    if (from < to) {
      clock.SetLoop(tempo.MicrosAtSixteenth(from), tempo.MicrosAtSixteenth(to));
    } else {
      clock.SetLoop(0, 0);
    }
  });
}

void FluidMediaPlayer::Play() {
  RequireDevice();
  if (clock_->IsPlaying()) return;
  Halt();  // a thread that ran to the end
  clock_->Play();
  Start();
}

void FluidMediaPlayer::Stop() {
  RequireDevice();
  clock_->Stop();
  Halt();
}

void FluidMediaPlayer::Seek(int32_t position) {
  RequireDevice();
  const bool playing = clock_->IsPlaying();
  Halt();
  clock_->Seek(position);
  if (playing) Start();
}

void FluidMediaPlayer::Resume() {
  RequireDevice();
  Play();
}

std::string FluidMediaPlayer::TakeSoundNotice() { return std::exchange(sound_notice_, {}); }

#include "app/playback/fluid_media_player.h"

#include <utility>

#include "app/playback/fluid_synth_output.h"
#include "app/playback/midi_file_reader.h"

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
  thread_ = std::make_unique<PlaybackThread>(
      song_, event_micros_, time_, sink_.get(), clock_->AnchorSongMicros(), clock_->AnchorNow(),
      song_->tempo.MicrosAtSixteenth(song_->length_sixteenths));
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
  clock_.emplace(time_, song->tempo, song->length_sixteenths);
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

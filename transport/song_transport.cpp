#include "transport/song_transport.h"

#include <algorithm>
#include <iterator>
#include <memory>

#include "song/media_player.h"
#include "song/midi_song.h"
#include "song/tap_position.h"

namespace {

constexpr int kSpeeds[] = {25, 50, 75, 100};

}  // namespace

bool SongTransport::IsPlaying() const { return player_.IsPlaying(); }

int32_t SongTransport::Position() const { return player_.Position(); }

int32_t SongTransport::Length() const { return player_.Length(); }

std::optional<int32_t> SongTransport::SongLength() const {
  const int32_t length = player_.Length();
  return length > 0 ? std::optional<int32_t>(length) : std::nullopt;
}

bool SongTransport::PlayOrStop() {
  if (player_.IsPlaying()) {
    player_.Stop();
    return false;
  }
  player_.Play();
  return true;
}

std::string SongTransport::TakeFirstSoundNotice() {
  if (sound_notice_taken_) return {};
  sound_notice_taken_ = true;
  return player_.TakeSoundNotice();
}

void SongTransport::Seek(int32_t position) {
  const bool playing = player_.IsPlaying();
  player_.Seek(position);
  if (playing) player_.Resume();
}

int32_t SongTransport::Tap(const TapSettings& settings,
                           const std::vector<int64_t>& snap_ticks) const {
  TapRule rule;
  if (player_.IsPlaying()) {
    rule.delay_micros = int64_t(settings.reaction_delay_ms) * 1000;
    rule.speed_percent = player_.Speed();
  }
  const std::shared_ptr<const MidiSong> song = player_.Song();
  if (!snap_ticks.empty()) {
    rule.note_ticks = snap_ticks;
  } else if (song && settings.snap_channel > 0 && settings.snap_channel <= 16) {
    rule.note_ticks = NoteStartTicks(*song, settings.snap_channel - 1);
  }
  const int64_t tap = TapSixteenth(player_.Tempo(), player_.SongMicros(), rule);
  return static_cast<int32_t>(std::min<int64_t>(tap, player_.Length()));
}

int SongTransport::Speed() const { return player_.Speed(); }

void SongTransport::SetSpeed(int percent) { player_.SetSpeed(percent); }

int SongTransport::StepSpeed(int direction) {
  const int* speed = std::find(std::begin(kSpeeds), std::end(kSpeeds), player_.Speed());
  const int at = speed == std::end(kSpeeds) ? 3 : static_cast<int>(speed - kSpeeds);
  const int next = kSpeeds[std::clamp(at + direction, 0, 3)];
  player_.SetSpeed(next);
  return next;
}

bool SongTransport::StartLoop(const EventTable& table, int selection, int32_t from) {
  // The next event in time, or the end of the song.
  int32_t to = player_.Length();
  for (int i = 0; i < table.EventCount; ++i) {
    const int32_t count = i == selection ? from : table.events[i].Count;
    if (count > from) to = std::min(to, count);
  }
  if (to <= from) return false;
  looping_ = true;
  loop_from_ = from;
  loop_to_ = to;
  player_.SetLoop(from, to);
  Seek(from);
  return true;
}

void SongTransport::EndLoop() {
  looping_ = false;
  player_.SetLoop(0, 0);
}

std::string SongTransport::CounterText(int32_t position) const {
  const std::shared_ptr<const MidiSong> song = player_.Song();
  const Meter meter = song ? song->meter : Meter();
  const int64_t division = player_.Tempo().Division();
  const Meter::Beat beat = meter.At(int64_t(std::max<int32_t>(position, 0)) * division / 4);
  std::string text = std::to_string(position) + " (" + std::to_string(beat.bar) + ":" +
                     std::to_string(beat.beat) + ")";
  if (player_.Speed() != 100) text += " " + std::to_string(player_.Speed()) + "%";
  if (looping_) text += " ループ";
  return text;
}

double SongTransport::ExactPosition() const {
  const TempoMap& tempo = player_.Tempo();
  return double(tempo.TickAtMicros(player_.SongMicros())) * 4 / double(tempo.Division());
}

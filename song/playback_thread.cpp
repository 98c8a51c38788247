#include "song/playback_thread.h"

#include <algorithm>
#include <chrono>
#include <utility>

#include "song/send_midi_event.h"

namespace {

// The longest sleep between two looks at the time source: it bounds the lag behind a time
// source that is not the steady clock (tests set theirs by hand).
constexpr int64_t kMaxWaitMicros = 5000;

}  // namespace

PlaybackThread::PlaybackThread(std::shared_ptr<const MidiSong> song,
                               std::shared_ptr<const std::vector<int64_t>> event_micros,
                               std::shared_ptr<const TimeSource> time, MidiSink* sink,
                               ClockRule rule, int64_t end_micros)
    : song_(std::move(song)),
      event_micros_(std::move(event_micros)),
      time_(std::move(time)),
      sink_(sink),
      rule_(rule),
      end_micros_(end_micros),
      thread_([this] { Run(); }) {}

PlaybackThread::~PlaybackThread() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    stop_ = true;
  }
  wake_.notify_all();
  thread_.join();
}

bool PlaybackThread::Wait(int64_t micros) {
  std::unique_lock<std::mutex> lock(mutex_);
  wake_.wait_for(lock, std::chrono::microseconds(std::clamp<int64_t>(micros, 0, kMaxWaitMicros)),
                 [this] { return stop_; });
  return !stop_;
}

void PlaybackThread::Send(const MidiEvent& event, bool state_only) {
  SendMidiEvent(*song_, event, *sink_, state_only);
}

void PlaybackThread::Run() {
  const std::vector<MidiEvent>& events = song_->events;
  const std::vector<int64_t>& micros = *event_micros_;
  auto first_at = [&micros](int64_t time) {
    return static_cast<size_t>(std::lower_bound(micros.begin(), micros.end(), time) -
                               micros.begin());
  };
  size_t next = first_at(rule_.anchor_song);
  sink_->SoundsOff();
  sink_->Reset();
  for (size_t i = 0; i < next; ++i) Send(events[i], true);

  int64_t wraps = 0;
  for (;;) {
    const int64_t reading = time_->NowMicros();
    const int64_t now = std::min(rule_.SongAt(reading), end_micros_);
    if (const int64_t wrapped = rule_.WrapsAt(reading); wrapped != wraps) {
      // At the loop's end: what lies before it plays, then the loop starts again.
      wraps = wrapped;
      while (next < events.size() && micros[next] < rule_.loop_to) Send(events[next++], false);
      sink_->NotesOff();
      next = first_at(rule_.loop_from);
    }
    while (next < events.size() && micros[next] <= now) Send(events[next++], false);
    if (now >= end_micros_) {
      sink_->NotesOff();
      return;
    }
    int64_t due = next < events.size() ? std::min(micros[next], end_micros_) : end_micros_;
    if (rule_.Loops()) due = std::min(due, rule_.loop_to);
    if (!Wait(rule_.RealMicros(due - now))) return;
  }
}

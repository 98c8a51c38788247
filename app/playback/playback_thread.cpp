#include "app/playback/playback_thread.h"

#include <algorithm>
#include <chrono>
#include <utility>

#include "app/playback/send_midi_event.h"

namespace {

// The longest sleep between two looks at the time source: it bounds the lag behind a time
// source that is not the steady clock (tests set theirs by hand).
constexpr int64_t kMaxWaitMicros = 5000;

}  // namespace

PlaybackThread::PlaybackThread(std::shared_ptr<const MidiSong> song,
                               std::shared_ptr<const std::vector<int64_t>> event_micros,
                               std::shared_ptr<const TimeSource> time, MidiSink* sink,
                               int64_t song_micros, int64_t now_at_start, int64_t end_micros)
    : song_(std::move(song)),
      event_micros_(std::move(event_micros)),
      time_(std::move(time)),
      sink_(sink),
      start_micros_(song_micros),
      now_at_start_(now_at_start),
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
  size_t next = std::lower_bound(micros.begin(), micros.end(), start_micros_) - micros.begin();
  sink_->SoundsOff();
  sink_->Reset();
  for (size_t i = 0; i < next; ++i) Send(events[i], true);

  for (;;) {
    const int64_t now = start_micros_ + std::max<int64_t>(time_->NowMicros() - now_at_start_, 0);
    const int64_t until = std::min(now, end_micros_);
    while (next < events.size() && micros[next] <= until) Send(events[next++], false);
    if (now >= end_micros_) {
      sink_->NotesOff();
      return;
    }
    const int64_t due = next < events.size() ? std::min(micros[next], end_micros_) : end_micros_;
    if (!Wait(due - now)) return;
  }
}

#pragma once

#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "song/clock_rule.h"
#include "song/midi_sink.h"
#include "song/midi_song.h"
#include "song/time_source.h"

// Sends a song's events to a sink in time, from its own thread, until the end of the song or
// until it is destroyed (the destructor stops and joins the thread). The song time follows
// the time source by the clock's rule (speed and loop included). At the end of a loop the notes
// still sounding are released and the song goes on at the loop's start.
class PlaybackThread {
 public:
  // `event_micros` holds each event's song time. Before the first event at or after
  // the rule's anchor plays, the sink is reset and given every program, controller, pitch bend and
  // sysex of the events before it, so the song sounds as it would have at that point. `sink`
  // must outlive this object.
  PlaybackThread(std::shared_ptr<const MidiSong> song,
                 std::shared_ptr<const std::vector<int64_t>> event_micros,
                 std::shared_ptr<const TimeSource> time, MidiSink* sink, ClockRule rule,
                 int64_t end_micros);
  ~PlaybackThread();
  PlaybackThread(const PlaybackThread&) = delete;
  PlaybackThread& operator=(const PlaybackThread&) = delete;

 private:
  void Run();
  // Waits up to `micros` of real time; false when asked to stop.
  bool Wait(int64_t micros);
  void Send(const MidiEvent& event, bool state_only);

  std::shared_ptr<const MidiSong> song_;
  std::shared_ptr<const std::vector<int64_t>> event_micros_;
  std::shared_ptr<const TimeSource> time_;
  MidiSink* sink_;
  ClockRule rule_;
  int64_t end_micros_;

  std::mutex mutex_;
  std::condition_variable wake_;
  bool stop_ = false;
  std::thread thread_;  // last: started when everything above is ready
};

#pragma once

#include <chrono>
#include <cstdio>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "song/midi_sink.h"

// What a player sent to its sink, as lines such as "90 3C 64", "sysex 7E7F", "reset", "sounds
// off", "notes off". Shared between the sink (owned by the player) and the test.
class SinkLog {
 public:
  void Add(std::string line) {
    std::lock_guard<std::mutex> lock(mutex_);
    lines_.push_back(std::move(line));
  }
  std::vector<std::string> Lines() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return lines_;
  }
  bool Has(const std::string& line) const {
    for (const std::string& l : Lines())
      if (l == line) return true;
    return false;
  }
  // Waits (a few seconds at most) until the playback thread has sent `line`.
  bool WaitFor(const std::string& line) const {
    for (int i = 0; i < 2000; ++i) {
      if (Has(line)) return true;
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return false;
  }

 private:
  mutable std::mutex mutex_;
  std::vector<std::string> lines_;
};

class RecordingSink : public MidiSink {
 public:
  explicit RecordingSink(std::shared_ptr<SinkLog> log, int64_t latency = 0)
      : log_(std::move(log)), latency_(latency) {}

  void Channel(uint8_t status, uint8_t data1, uint8_t data2) override {
    char text[16];
    std::snprintf(text, sizeof text, "%02X %02X %02X", status, data1, data2);
    log_->Add(text);
  }
  void SysEx(const uint8_t* data, size_t size) override {
    std::string line = "sysex ";
    for (size_t i = 0; i < size; ++i) {
      char hex[4];
      std::snprintf(hex, sizeof hex, "%02X", data[i]);
      line += hex;
    }
    log_->Add(line);
  }
  void SoundsOff() override { log_->Add("sounds off"); }
  void NotesOff() override { log_->Add("notes off"); }
  void Reset() override { log_->Add("reset"); }
  int64_t LatencyMicros() const override { return latency_; }

 private:
  std::shared_ptr<SinkLog> log_;
  int64_t latency_;
};

#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "song/media_player.h"
#include "song/midi_song.h"

// A stand-in for the sequencer that the test drives by hand: songs are known by path with a
// length (no file is read), the position moves only when the test sets it, and every call
// that changes the state is recorded ("Open /x/a.mid", "Play", "Stop", "Seek 12", "Resume").
class ScriptedMediaPlayer : public MediaPlayer {
 public:
  std::map<std::string, int32_t> lengths;       // path -> length in sixteenths
  std::map<std::string, std::string> failures;  // path -> the reason Open throws
  std::vector<std::string> calls;
  std::string sound_notice;  // handed out once by TakeSoundNotice

  std::string open_path;
  int32_t length = 0;
  int32_t position = 0;
  bool playing = false;
  // The song time heard now; below 0: the time of `position`. A seek sets it back to -1.
  int64_t song_micros = -1;
  std::shared_ptr<MidiSong> song = std::make_shared<MidiSong>();  // its tempo is Tempo()
  std::string repair_notice;
  int speed = 100;
  int32_t loop_from = 0, loop_to = 0;

  void Open(const std::string& path) override {
    calls.push_back("Open " + path);
    if (auto failure = failures.find(path); failure != failures.end()) {
      throw MediaError(failure->second);
    }
    auto known = lengths.find(path);
    if (known == lengths.end()) throw MediaError("unknown song " + path);
    open_path = path;
    length = known->second;
    position = 0;
    playing = false;
  }
  void Close() override {
    calls.push_back("Close");
    open_path.clear();
    playing = false;
  }
  bool HasDevice() const override { return !open_path.empty(); }

  int32_t Length() const override { return length; }
  int32_t Position() const override { return position; }
  bool IsPlaying() const override { return playing; }
  int64_t SongMicros() const override {
    return song_micros >= 0 ? song_micros : song->tempo.MicrosAtSixteenth(position);
  }
  const TempoMap& Tempo() const override { return song->tempo; }
  std::shared_ptr<const MidiSong> Song() const override {
    return open_path.empty() ? nullptr : song;
  }
  std::string RepairNotice() const override { return repair_notice; }
  void SetSpeed(int percent) override {
    calls.push_back("Speed " + std::to_string(percent));
    speed = percent;
  }
  int Speed() const override { return speed; }
  void SetLoop(int32_t from, int32_t to) override {
    calls.push_back("Loop " + std::to_string(from) + " " + std::to_string(to));
    loop_from = from;
    loop_to = to;
  }

  void Play() override {
    RequireDevice();
    calls.push_back("Play");
    if (position >= length) position = 0;
    playing = true;
  }
  void Stop() override {
    RequireDevice();
    calls.push_back("Stop");
    playing = false;
  }
  void Seek(int32_t to) override {
    RequireDevice();
    calls.push_back("Seek " + std::to_string(to));
    position = to < 0 ? 0 : (to > length ? length : to);
    song_micros = -1;
  }
  void Resume() override {
    RequireDevice();
    calls.push_back("Resume");
    if (position >= length) position = 0;
    playing = true;
  }
  std::string TakeSoundNotice() override {
    std::string notice = sound_notice;
    sound_notice.clear();
    return notice;
  }

 private:
  void RequireDevice() const {
    if (open_path.empty()) throw MediaError("MCI ﾃﾞﾊﾞｲｽがありません");
  }
};

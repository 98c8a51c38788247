#include "tools/make-demo/demo_song.h"

#include <algorithm>
#include <cstdint>
#include <vector>

namespace {

constexpr int kDivision = 480;  // ticks per quarter note
constexpr int kBeat = kDivision;
constexpr int kBar = 4 * kBeat;
constexpr int kBars = 11;

struct TimedBytes {
  int tick;
  std::vector<uint8_t> bytes;
};

// Collects a track's events in any order and writes them sorted, with delta times.
class Track {
 public:
  void Add(int tick, std::vector<uint8_t> bytes) { events_.push_back({tick, std::move(bytes)}); }
  void Note(int tick, int length, int channel, int key, int velocity) {
    Add(tick, {uint8_t(0x90 | channel), uint8_t(key), uint8_t(velocity)});
    // Notes end a little early so that repeated notes are heard as two.
    Add(tick + length - 10, {uint8_t(0x80 | channel), uint8_t(key), 0});
  }
  void Meta(int tick, uint8_t type, std::vector<uint8_t> data) {
    std::vector<uint8_t> bytes{0xFF, type, uint8_t(data.size())};
    bytes.insert(bytes.end(), data.begin(), data.end());
    Add(tick, bytes);
  }
  void Name(const std::string& name) {
    Meta(0, 0x03, std::vector<uint8_t>(name.begin(), name.end()));
  }

  std::string Chunk(int end_tick) {
    Meta(end_tick, 0x2F, {});
    std::stable_sort(events_.begin(), events_.end(), [](const TimedBytes& a, const TimedBytes& b) {
      return a.tick < b.tick || (a.tick == b.tick && IsNoteOff(a) && !IsNoteOff(b));
    });
    std::string data;
    int last = 0;
    for (const TimedBytes& event : events_) {
      AppendNumber(data, uint32_t(event.tick - last));
      last = event.tick;
      data.append(event.bytes.begin(), event.bytes.end());
    }
    std::string chunk = "MTrk";
    Append32(chunk, uint32_t(data.size()));
    return chunk + data;
  }

  static void Append32(std::string& out, uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8) out.push_back(char(value >> shift));
  }

 private:
  static bool IsNoteOff(const TimedBytes& event) { return (event.bytes[0] & 0xF0) == 0x80; }
  static void AppendNumber(std::string& out, uint32_t value) {
    char bytes[5];
    int count = 0;
    do {
      bytes[count++] = char(value & 0x7F);
      value >>= 7;
    } while (value != 0);
    while (count > 1) out.push_back(char(bytes[--count] | 0x80));
    out.push_back(bytes[0]);
  }

  std::vector<TimedBytes> events_;
};

// The melody, bar by bar: (MIDI key, length in eighth notes); key 0 is a rest.
const std::vector<std::vector<std::pair<int, int>>> kMelody = {
    {{67, 2}, {72, 2}, {76, 2}, {74, 1}, {72, 1}},  // C
    {{69, 2}, {72, 2}, {76, 3}, {74, 1}},           // Am
    {{72, 2}, {69, 2}, {77, 2}, {76, 1}, {74, 1}},  // F
    {{74, 4}, {71, 2}, {67, 2}},                    // G
    {{67, 2}, {72, 2}, {76, 2}, {79, 2}},           // C
    {{81, 3}, {79, 1}, {76, 2}, {72, 2}},           // Am
    {{74, 2}, {77, 2}, {71, 2}, {74, 2}},           // Dm G
    {{72, 6}, {0, 2}},                              // C
    {{69, 2}, {72, 2}, {77, 2}, {81, 2}},           // F
    {{79, 2}, {77, 1}, {76, 1}, {74, 2}, {71, 2}},  // G
    {{72, 8}},                                      // C
};

// The chords, half bar by half bar: the root of the bass and the three notes of the strings.
struct Chord {
  int bass;
  int notes[3];
};
constexpr Chord kC{36, {60, 64, 67}}, kAm{33, {57, 60, 64}}, kF{41, {57, 60, 65}},
    kG{43, {55, 59, 62}}, kDm{38, {57, 62, 65}};
const std::vector<std::pair<Chord, Chord>> kChords = {
    {kC, kC},  {kAm, kAm}, {kF, kF}, {kG, kG}, {kC, kC}, {kAm, kAm},
    {kDm, kG}, {kC, kC},   {kF, kF}, {kG, kG}, {kC, kC},
};

std::string TempoTrack(int end) {
  Track track;
  track.Name("Tempo");
  track.Add(0, {0xF0, 0x05, 0x7E, 0x7F, 0x09, 0x01, 0xF7});  // General MIDI on
  track.Meta(0, 0x58, {4, 2, 24, 8});                        // 4/4
  track.Meta(0, 0x59, {0, 0});                               // C major
  track.Meta(0, 0x51, {0x09, 0x27, 0xC0});                   // 100 BPM
  track.Meta((kBars - 1) * kBar, 0x51, {0x0B, 0x71, 0xB0});  // 80 BPM for the last bar
  return track.Chunk(end);
}

std::string MelodyTrack(int end) {
  Track track;
  track.Name("Melody");
  track.Add(0, {0xC0, 73});  // flute
  track.Add(0, {0xB0, 7, 110});
  track.Add(0, {0xB0, 10, 64});
  track.Add(0, {0xB0, 91, 50});
  int tick = 0;
  for (const auto& bar : kMelody) {
    for (auto [key, eighths] : bar) {
      if (key != 0) track.Note(tick, eighths * kBeat / 2, 0, key, 96);
      tick += eighths * kBeat / 2;
    }
  }
  return track.Chunk(end);
}

std::string AccompanimentTrack(int end) {
  Track track;
  track.Name("Chords and bass");
  track.Add(0, {0xC1, 48});  // string ensemble
  track.Add(0, {0xB1, 7, 70});
  track.Add(0, {0xB1, 10, 40});
  track.Add(0, {0xB1, 91, 70});
  track.Add(0, {0xC2, 32});  // acoustic bass
  track.Add(0, {0xB2, 7, 100});
  track.Add(0, {0xB2, 10, 80});
  for (int bar = 0; bar < kBars; ++bar) {
    const bool last = bar == kBars - 1;
    for (int half = 0; half < 2; ++half) {
      const Chord& chord = half == 0 ? kChords[bar].first : kChords[bar].second;
      const int tick = bar * kBar + half * 2 * kBeat;
      if (last && half == 1) break;
      const int length = last ? kBar : 2 * kBeat;
      for (int key : chord.notes) track.Note(tick, length, 1, key, 64);
      track.Note(tick, last ? kBar : 3 * kBeat / 2, 2, chord.bass, 90);
      if (!last) track.Note(tick + 3 * kBeat / 2, kBeat / 2, 2, chord.bass + 7, 80);
    }
  }
  // A pitch bend up and back on the last bass note, so that the song carries every kind of
  // channel message.
  track.Add((kBars - 1) * kBar + 3 * kBeat, {0xE2, 0x00, 0x48});
  track.Add(kBars * kBar, {0xE2, 0x00, 0x40});
  return track.Chunk(end);
}

}  // namespace

std::string DemoSongBytes() {
  const int end = kBars * kBar + kBeat;  // one beat for the last chord to ring
  std::string header = "MThd";
  Track::Append32(header, 6);
  header += std::string{0, 1, 0, 3, char(kDivision >> 8), char(kDivision & 0xFF)};
  return header + TempoTrack(end) + MelodyTrack(end) + AccompanimentTrack(end);
}

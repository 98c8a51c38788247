// Reads a song's lyrics and makes their pages into events: a five-minute karaoke song of 600
// syllables (with its accompaniment) read from a file, and one read of a 1 MB file that is
// nearly all syllables.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "lyrics/lyric_import.h"
#include "lyrics/lyric_import_session.h"
#include "song/midi_file_reader.h"
#include "tests/song/smf_builder.h"

namespace {

constexpr uint16_t kDivision = 480;

std::vector<uint8_t> Song(const std::vector<TrackBuilder>& tracks) {
  const uint8_t count = static_cast<uint8_t>(tracks.size());
  std::vector<uint8_t> out = {'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 1, 0, count, 1, 0xE0};
  for (const TrackBuilder& track : tracks) PutChunk(out, "MTrk", track.Data());
  return out;
}

// 600 quarter notes at 120 BPM: five minutes. A melody with a Shift-JIS syllable on each
// quarter note, a line every 8 and a page every 16, and three parts of eighth notes.
std::vector<uint8_t> FiveMinuteSong(int syllables) {
  TrackBuilder conductor;
  conductor.Tempo(0, 500000).End();
  TrackBuilder melody;
  const std::string kana[] = {"\x82\xA0", "\x82\xA9", "\x82\xB3", "\x95\x5C"};  // あかさ表
  for (int k = 0; k < syllables; ++k) {
    std::string text = kana[k % 4];
    if (k % 16 == 15) {
      text += "<";
    } else if (k % 8 == 7) {
      text += "/";
    }
    melody.Meta(0, 0x05, text);
    melody.Note(0, 0, 60 + k % 12, kDivision);
  }
  melody.End();
  std::vector<TrackBuilder> tracks = {conductor, melody};
  for (int part = 1; part <= 3; ++part) {
    TrackBuilder track;
    for (int k = 0; k < syllables * 2; ++k) {
      track.Note(0, static_cast<uint8_t>(part), 40 + part * 5, kDivision / 2);
    }
    tracks.push_back(track.End());
  }
  return Song(tracks);
}

// About 1 MB of lyric events, a sixteenth apart, a page every 8; at 300 BPM, so that the song
// stays within the two hours the reader takes.
std::vector<uint8_t> MegabyteOfLyrics() {
  TrackBuilder track;
  for (int k = 0; track.Data().size() < (1u << 20); ++k) {
    track.Meta(kDivision / 4, 0x05, k % 8 == 7 ? "\x82\xA0\x82\xA9\\" : "\x82\xA0\x82\xA9");
  }
  return Song({TrackBuilder().Tempo(0, 200000).End(), track.End()});
}

std::string WriteTemporary(const std::string& name, const std::vector<uint8_t>& bytes) {
  const std::string path = (std::filesystem::temp_directory_path() / name).string();
  std::ofstream(path, std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
  return path;
}

void ReadAndImport(benchmark::State& state, const std::vector<uint8_t>& bytes,
                   const std::string& name) {
  const std::string path = WriteTemporary(name, bytes);
  size_t pages = 0;
  for (auto _ : state) {
    const MidiSong song = ReadMidiFile(path);
    const LyricImport import = ImportSongLyrics(song, {}, DefaultLyricLayout());
    pages = import.pages.size();
    benchmark::DoNotOptimize(import.events.data());
  }
  state.counters["file_bytes"] = static_cast<double>(bytes.size());
  state.counters["pages"] = static_cast<double>(pages);
  std::filesystem::remove(path);
}

void FiveMinutes600Syllables(benchmark::State& state) {
  ReadAndImport(state, FiveMinuteSong(600), "lyrics_bench_song.mid");
}
BENCHMARK(FiveMinutes600Syllables)->Unit(benchmark::kMillisecond);

void OneMegabyteFile(benchmark::State& state) {
  ReadAndImport(state, MegabyteOfLyrics(), "lyrics_bench_1mb.mid");
}
BENCHMARK(OneMegabyteFile)->Unit(benchmark::kMillisecond);

}  // namespace

namespace {

// The import dialog's work after a change of the lead: the pages and events again, from the
// syllables read once (the list's repaint not included).
void LeadChangeOf600Syllables(benchmark::State& state) {
  const MidiSong song = ParseMidi(FiveMinuteSong(600));
  auto table = std::make_unique<EventTable>();
  LyricImportSession session(*table, -1, &song);
  int lead = 0;
  for (auto _ : state) {
    session.SetLead(lead++ % 33);
    benchmark::DoNotOptimize(session.Events().data());
  }
}
BENCHMARK(LeadChangeOf600Syllables)->Unit(benchmark::kMicrosecond);

}  // namespace

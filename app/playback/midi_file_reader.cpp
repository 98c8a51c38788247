#include "app/playback/midi_file_reader.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <limits>
#include <vector>

#include "app/playback/midi_track_reader.h"

namespace {

constexpr size_t kChunkHeaderSize = 8;
constexpr uint32_t kMaxTick = std::numeric_limits<int32_t>::max();

[[noreturn]] void Fail(const std::string& message) { throw MidiFileError(message); }

std::string At(size_t offset) { return " (位置 " + std::to_string(offset) + ")"; }

uint32_t Read32(const uint8_t* p) {
  return uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | p[3];
}
uint16_t Read16(const uint8_t* p) { return uint16_t(p[0] << 8 | p[1]); }

struct Chunk {
  std::string type;
  size_t offset;  // of the chunk's data
  size_t size;
};

// Reads the chunk header at `offset`; the chunk's data must lie inside the file.
Chunk ReadChunk(std::span<const uint8_t> bytes, size_t offset) {
  const size_t left = bytes.size() - offset;
  if (left < kChunkHeaderSize) {
    Fail("ファイルが途中で切れています: チャンクの見出しが 8 バイトに足りません" + At(offset));
  }
  Chunk chunk{std::string(reinterpret_cast<const char*>(bytes.data() + offset), 4),
              offset + kChunkHeaderSize, Read32(bytes.data() + offset + 4)};
  if (chunk.size > left - kChunkHeaderSize) {
    Fail("ファイルが途中で切れています: チャンクの長さ " + std::to_string(chunk.size) +
         " がファイルの残り " + std::to_string(left - kChunkHeaderSize) + " バイトを超えています" +
         At(offset + 4));
  }
  return chunk;
}

void CheckHeader(std::span<const uint8_t> bytes, const Chunk& header, uint16_t* format,
                 uint16_t* tracks, uint16_t* division) {
  if (header.size < 6) {
    Fail("ヘッダーの長さ " + std::to_string(header.size) + " が 6 バイトに足りません" + At(4));
  }
  const uint8_t* p = bytes.data() + header.offset;
  *format = Read16(p);
  *tracks = Read16(p + 2);
  *division = Read16(p + 4);
  if (*format == 2) Fail("形式 2 の MIDI ファイルは再生できません" + At(8));
  if (*format > 2)
    Fail("形式 " + std::to_string(*format) + " は MIDI ファイルの形式ではありません" + At(8));
  if (*tracks == 0) Fail("トラックがありません" + At(10));
  if (*format == 0 && *tracks != 1) {
    Fail("形式 0 なのにトラック数が " + std::to_string(*tracks) + " です" + At(10));
  }
  if (*division & 0x8000) Fail("SMPTE 時間の MIDI ファイルは再生できません" + At(12));
  if (*division == 0) Fail("分解能が 0 です" + At(12));
}

int32_t SixteenthsOf(uint32_t ticks, uint16_t division) {
  const uint64_t sixteenths = (uint64_t(ticks) * 4 + division - 1) / division;
  if (sixteenths > uint64_t(std::numeric_limits<int32_t>::max())) Fail("曲が長すぎます");
  return static_cast<int32_t>(sixteenths);
}

}  // namespace

MidiSong ParseMidi(std::span<const uint8_t> bytes) {
  if (bytes.empty()) Fail("ファイルが空です");
  if (bytes.size() < 4 || std::memcmp(bytes.data(), "MThd", 4) != 0) {
    Fail("MIDI ファイルではありません (先頭が \"MThd\" ではありません)");
  }
  const Chunk header = ReadChunk(bytes, 0);
  MidiSong song;
  uint16_t tracks = 0;
  CheckHeader(bytes, header, &song.format, &tracks, &song.division);

  size_t offset = header.offset + header.size;
  uint16_t found = 0;
  while (found < tracks) {
    if (offset == bytes.size()) {
      Fail("ファイルが途中で切れています: トラックが " + std::to_string(found) +
           " 個しかありません (ヘッダーでは " + std::to_string(tracks) + " 個)" + At(offset));
    }
    const Chunk chunk = ReadChunk(bytes, offset);
    offset = chunk.offset + chunk.size;
    if (chunk.type != "MTrk") continue;  // other chunk types are skipped, as the format allows
    const uint32_t end = ReadTrack(bytes.subspan(chunk.offset, chunk.size), chunk.offset, found,
                                   kMaxTick, &song.events, &song.payload);
    song.length_ticks = std::max(song.length_ticks, end);
    ++found;
  }
  // Bytes after the last track are ignored: many files carry padding there.

  std::stable_sort(song.events.begin(), song.events.end(),
                   [](const MidiEvent& a, const MidiEvent& b) { return a.tick < b.tick; });
  std::vector<TempoMap::Change> changes;
  for (const MidiEvent& event : song.events) {
    if (event.status == MidiEvent::kMeta && event.data1 == 0x51) {
      const uint8_t* p = song.Data(event);
      changes.push_back({event.tick, int64_t(p[0]) << 16 | int64_t(p[1]) << 8 | p[2]});
    }
  }
  song.tempo = TempoMap(song.division, changes);
  song.length_sixteenths = SixteenthsOf(song.length_ticks, song.division);
  return song;
}

MidiSong ReadMidiFile(const std::string& path) {
  std::error_code error;
  const std::filesystem::path file(path);
  if (std::filesystem::is_directory(file, error)) Fail("フォルダーです");
  const auto size = std::filesystem::file_size(file, error);
  if (!error && size > kMaxMidiFileSize) {
    Fail("ファイルが大きすぎます (" + std::to_string(kMaxMidiFileSize) + " バイトまで)");
  }
  std::ifstream in(file, std::ios::binary);
  if (!in) {
    if (errno == ENOENT) Fail("ファイルがありません");
    if (errno == EACCES) Fail("ファイルを読む権限がありません");
    Fail(std::string("ファイルを開けません (") + std::strerror(errno) + ")");
  }
  std::vector<uint8_t> bytes;
  char buffer[65536];
  while (in) {
    in.read(buffer, sizeof buffer);
    bytes.insert(bytes.end(), buffer, buffer + in.gcount());
    if (bytes.size() > kMaxMidiFileSize) {
      Fail("ファイルが大きすぎます (" + std::to_string(kMaxMidiFileSize) + " バイトまで)");
    }
  }
  if (in.bad()) Fail("ファイルを読めません");
  return ParseMidi(bytes);
}

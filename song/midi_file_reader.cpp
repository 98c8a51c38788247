#include "song/midi_file_reader.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <limits>
#include <utility>
#include <vector>

#include "files/regular_file.h"
#include "song/karaoke_chunk.h"
#include "song/midi_track_reader.h"

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

// "1 時間 2 分 3 秒", the seconds rounded up.
std::string DurationText(int64_t micros) {
  const int64_t seconds = (micros + 999999) / 1000000;
  return std::to_string(seconds / 3600) + " 時間 " + std::to_string(seconds / 60 % 60) + " 分 " +
         std::to_string(seconds % 60) + " 秒";
}

// Refuses a song that plays longer than kMaxSongMicros.
void CheckPlayingTime(const MidiSong& song) {
  const int64_t micros = song.tempo.MicrosAtTick(song.length_ticks);
  if (micros > kMaxSongMicros) {
    Fail("曲が長すぎます: 長さ " + DurationText(micros) + " (" +
         std::to_string(kMaxSongMicros / 3600000000) + " 時間まで)");
  }
}

constexpr size_t kNotFound = static_cast<size_t>(-1);

// The offset of the next "MTrk" chunk header from `from`, or kNotFound.
size_t FindTrack(std::span<const uint8_t> bytes, size_t from) {
  static const uint8_t kTrack[] = {'M', 'T', 'r', 'k'};
  if (from >= bytes.size()) return kNotFound;
  const auto at = std::search(bytes.begin() + from, bytes.end(), kTrack, kTrack + 4);
  if (bytes.end() - at < static_cast<std::ptrdiff_t>(kChunkHeaderSize)) return kNotFound;
  return static_cast<size_t>(at - bytes.begin());
}

bool IsChunkType(const uint8_t* p) {
  return std::all_of(p, p + 4, [](uint8_t c) { return c >= 0x20 && c < 0x7F; });
}

// A RIFF RMID file carries the Standard MIDI File in its "data" chunk (sizes little-endian,
// chunks padded to even sizes). Other files are returned as they are.
std::span<const uint8_t> UnwrapRiff(std::span<const uint8_t> bytes,
                                    std::vector<std::string>* repairs) {
  if (bytes.size() < 12 || std::memcmp(bytes.data(), "RIFF", 4) != 0) return bytes;
  if (std::memcmp(bytes.data() + 8, "RMID", 4) != 0) {
    Fail("RIFF ファイルですが RMID (MIDI) ではありません" + At(8));
  }
  size_t offset = 12;
  while (bytes.size() - offset >= kChunkHeaderSize) {
    const uint8_t* p = bytes.data() + offset;
    const size_t size =
        uint32_t(p[4]) | uint32_t(p[5]) << 8 | uint32_t(p[6]) << 16 | uint32_t(p[7]) << 24;
    const size_t left = bytes.size() - offset - kChunkHeaderSize;
    if (std::memcmp(p, "data", 4) == 0) {
      if (size > left) repairs->push_back("ファイルが途中で切れています (RIFF の data チャンク)");
      return bytes.subspan(offset + kChunkHeaderSize, std::min(size, left));
    }
    if (size >= left) break;
    offset += kChunkHeaderSize + size + (size & 1);
  }
  Fail("RIFF RMID ファイルに MIDI データ (data チャンク) がありません");
}

// Reads the tracks after the header into `song`. Players play what is there: a track cut
// short, a missing end of track, fewer tracks than the header counts and junk where a chunk
// should start are noted in song->repairs. Refuses a file in which no track can be read.
void ReadTracks(std::span<const uint8_t> bytes, size_t offset, uint16_t tracks, MidiSong* song) {
  size_t last_data = offset;  // where the last chunk's data started
  uint16_t found = 0;
  size_t readable = 0;
  std::string first_problem;
  auto note = [song](std::string text) { song->repairs.push_back(std::move(text)); };
  while (found < tracks) {
    const size_t left = bytes.size() - offset;
    if (left < kChunkHeaderSize || !IsChunkType(bytes.data() + offset)) {
      // Junk where a chunk should start: go on at the next track, if there is one.
      // A track length one or a few bytes too long hides the next header's start: look a
      // little way back too, but not into the chunk before's own header.
      const size_t next = FindTrack(bytes, std::max(offset, last_data + 7) - 7);
      if (next != kNotFound) {
        note(next > offset
                 ? "読めないデータ " + std::to_string(next - offset) + " バイトを飛ばしました" +
                       At(offset)
                 : "チャンクの長さが合いません: 次のトラックを" + At(next) + " から読みます");
        offset = next;
        continue;
      }
      if (left > 0) {
        note("トラックの代わりに読めないデータ " + std::to_string(left) + " バイトがあります" +
             At(offset));
      }
      note("トラックが " + std::to_string(found) + " 個しかありません (ヘッダーでは " +
           std::to_string(tracks) + " 個)");
      break;
    }
    Chunk chunk{std::string(reinterpret_cast<const char*>(bytes.data() + offset), 4),
                offset + kChunkHeaderSize, Read32(bytes.data() + offset + 4)};
    if (chunk.size > left - kChunkHeaderSize) {
      note("ファイルが途中で切れています: チャンクの長さ " + std::to_string(chunk.size) +
           " がファイルの残り " + std::to_string(left - kChunkHeaderSize) +
           " バイトを超えています" + At(offset + 4));
      chunk.size = left - kChunkHeaderSize;
    }
    offset = chunk.offset + chunk.size;
    last_data = chunk.offset;
    if (chunk.type == kKaraokeChunk) {
      ReadKaraokeChunk(bytes.subspan(chunk.offset, chunk.size), chunk.offset, tracks, song);
    }
    if (chunk.type != "MTrk") continue;  // other chunk types are skipped, as the format allows
    const TrackEnd end = ReadTrack(bytes.subspan(chunk.offset, chunk.size), chunk.offset, found,
                                   kMaxTick, &song->events, &song->payload);
    if (!end.problem.empty()) {
      note(end.problem);
      if (first_problem.empty()) first_problem = end.problem;
    }
    if (end.events > 0) ++readable;
    song->length_ticks = std::max(song->length_ticks, end.tick);
    ++found;
  }
  // Bytes after the last track are ignored: many files carry padding there. Only karaoke chunks
  // among whole chunks there are read, for their lyrics.
  ReadKaraokeChunksAfter(bytes, offset, tracks, song);
  if (readable == 0) {
    if (found == 0) Fail("トラックがありません" + At(offset));
    Fail(first_problem);
  }
}

}  // namespace

MidiSong ParseMidi(std::span<const uint8_t> bytes) {
  if (bytes.empty()) Fail("ファイルが空です");
  MidiSong song;
  bytes = UnwrapRiff(bytes, &song.repairs);
  if (bytes.size() < 4 || std::memcmp(bytes.data(), "MThd", 4) != 0) {
    Fail("MIDI ファイルではありません (先頭が \"MThd\" ではありません)");
  }
  const Chunk header = ReadChunk(bytes, 0);
  uint16_t tracks = 0;
  CheckHeader(bytes, header, &song.format, &tracks, &song.division);
  ReadTracks(bytes, header.offset + header.size, tracks, &song);

  std::stable_sort(song.events.begin(), song.events.end(),
                   [](const MidiEvent& a, const MidiEvent& b) { return a.tick < b.tick; });
  std::vector<TempoMap::Change> changes;
  std::vector<Meter::Signature> signatures;
  for (const MidiEvent& event : song.events) {
    if (event.status != MidiEvent::kMeta) continue;
    const uint8_t* p = song.Data(event);
    if (event.data1 == 0x51) {
      changes.push_back({event.tick, int64_t(p[0]) << 16 | int64_t(p[1]) << 8 | p[2]});
    } else if (event.data1 == 0x58 && event.data_size >= 2 && p[1] <= 6) {
      signatures.push_back({event.tick, p[0], 1 << p[1]});
    }
  }
  song.tempo = TempoMap(song.division, changes);
  song.meter = Meter(song.division, signatures);
  CheckPlayingTime(song);
  song.length_sixteenths = SixteenthsOf(song.length_ticks, song.division);
  return song;
}

MidiSong ReadMidiFile(const std::string& path) {
  std::string bytes;
  try {
    bytes = ReadRegularFile(path, kMaxMidiFileSize);
  } catch (const FileReadError& error) {
    // The caller names the file: the message gives the reason only.
    MidiFileError refusal(error.SystemReason() == EISDIR ? "フォルダーです" : error.Reason());
    refusal.WithSystemReason(error.SystemReason());
    throw refusal;
  }
  return ParseMidi({reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()});
}

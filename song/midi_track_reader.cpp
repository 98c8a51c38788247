#include "song/midi_track_reader.h"

#include <cstdio>
#include <string>

#include "song/midi_file_reader.h"

namespace {

constexpr uint8_t kEndOfTrack = 0x2F;
constexpr uint8_t kTempo = 0x51;

std::string Hex(unsigned value) {
  char text[8];
  std::snprintf(text, sizeof text, "0x%02X", value);
  return text;
}

// A cursor over one track that reports errors with the track number and file offset.
class TrackCursor {
 public:
  TrackCursor(std::span<const uint8_t> data, size_t file_offset, uint16_t track)
      : data_(data), file_offset_(file_offset), track_(track) {}

  bool AtEnd() const { return pos_ == data_.size(); }
  size_t Pos() const { return pos_; }

  [[noreturn]] void Fail(const std::string& what, size_t pos) const {
    throw MidiFileError("トラック " + std::to_string(track_ + 1) + ": " + what + " (位置 " +
                        std::to_string(file_offset_ + pos) + ")");
  }

  uint8_t Byte() {
    if (AtEnd()) Fail("トラックの終わり (FF 2F) の前にデータが尽きました", pos_);
    return data_[pos_++];
  }

  uint8_t DataByte() {
    const size_t at = pos_;
    const uint8_t value = Byte();
    if (value & 0x80) Fail("データバイト " + Hex(value) + " が 0x80 以上です", at);
    return value;
  }

  // A variable-length quantity: at most four bytes, so at most 0x0FFFFFFF.
  uint32_t Number() {
    const size_t at = pos_;
    uint32_t value = 0;
    for (int i = 0; i < 4; ++i) {
      const uint8_t byte = Byte();
      value = value << 7 | (byte & 0x7F);
      if (!(byte & 0x80)) return value;
    }
    Fail("可変長の数値が 4 バイトを超えています", at);
  }

  // `size` bytes that must lie inside the track.
  std::span<const uint8_t> Bytes(uint32_t size) {
    if (size > data_.size() - pos_) {
      Fail("長さ " + std::to_string(size) + " がトラックの残り " +
               std::to_string(data_.size() - pos_) + " バイトを超えています",
           pos_);
    }
    auto bytes = data_.subspan(pos_, size);
    pos_ += size;
    return bytes;
  }

 private:
  std::span<const uint8_t> data_;
  size_t file_offset_;
  uint16_t track_;
  size_t pos_ = 0;
};

int DataBytesOf(uint8_t status) {
  const uint8_t kind = status & 0xF0;
  return (kind == 0xC0 || kind == 0xD0) ? 1 : 2;
}

// The events up to the end of track event; returns its tick. Throws where the track breaks
// off; the events read before stay appended and counted in `count`.
uint32_t ReadEvents(TrackCursor& in, uint32_t max_tick, uint16_t track,
                    std::vector<MidiEvent>* events, std::vector<uint8_t>* payload, size_t* count) {
  uint64_t tick = 0;
  uint8_t running = 0;  // 0: no running status
  for (;;) {
    if (in.AtEnd()) in.Fail("トラックの終わり (FF 2F) がありません", in.Pos());
    tick += in.Number();
    const size_t at = in.Pos();
    if (tick > max_tick) in.Fail("時刻が大きすぎます", at);
    MidiEvent event;
    event.tick = static_cast<uint32_t>(tick);
    event.track = track;
    uint8_t status = in.Byte();
    if (status < 0x80) {
      if (running == 0) in.Fail("ステータスのないデータバイト " + Hex(status) + " です", at);
      event.status = running;
      event.data1 = status;
      if (DataBytesOf(running) == 2) event.data2 = in.DataByte();
    } else if (status < 0xF0) {
      running = status;
      event.status = status;
      event.data1 = in.DataByte();
      if (DataBytesOf(status) == 2) event.data2 = in.DataByte();
    } else if (status == MidiEvent::kSysEx || status == MidiEvent::kSysExEscape ||
               status == MidiEvent::kMeta) {
      running = 0;
      event.status = status;
      if (status == MidiEvent::kMeta) event.data1 = in.DataByte();
      const size_t size_at = in.Pos();
      const auto bytes = in.Bytes(in.Number());
      if (status == MidiEvent::kMeta && event.data1 == kTempo) {
        if (bytes.size() != 3) {
          in.Fail("テンポの長さが 3 ではなく " + std::to_string(bytes.size()) + " です", size_at);
        }
        if (bytes[0] == 0 && bytes[1] == 0 && bytes[2] == 0) in.Fail("テンポが 0 です", size_at);
      }
      event.data_offset = static_cast<uint32_t>(payload->size());
      event.data_size = static_cast<uint32_t>(bytes.size());
      payload->insert(payload->end(), bytes.begin(), bytes.end());
    } else {
      in.Fail("不明なステータス " + Hex(status) + " です", at);
    }
    events->push_back(event);
    ++*count;
    if (status == MidiEvent::kMeta && event.data1 == kEndOfTrack) {
      // Bytes after the end of track are ignored, as other readers do.
      return event.tick;
    }
  }
}

}  // namespace

TrackEnd ReadTrack(std::span<const uint8_t> data, size_t file_offset, uint16_t track,
                   uint32_t max_tick, std::vector<MidiEvent>* events,
                   std::vector<uint8_t>* payload) {
  TrackCursor in(data, file_offset, track);
  TrackEnd end;
  try {
    end.tick = ReadEvents(in, max_tick, track, events, payload, &end.events);
  } catch (const MidiFileError& error) {
    end.problem = error.what();
    if (end.events > 0) end.tick = events->back().tick;
  }
  return end;
}

#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

// Writes Standard MIDI Files byte by byte for the tests: tracks of raw events with their delta
// times, and the file around them.
class TrackBuilder {
 public:
  // Any event: the delta time, then the bytes as given (so running status is written by
  // leaving the status byte out).
  TrackBuilder& Raw(uint32_t delta, std::initializer_list<uint8_t> bytes) {
    Number(delta);
    data_.insert(data_.end(), bytes.begin(), bytes.end());
    return *this;
  }
  TrackBuilder& Note(uint32_t delta, uint8_t channel, uint8_t key, uint32_t length) {
    Raw(delta, {uint8_t(0x90 | channel), key, 100});
    return Raw(length, {uint8_t(0x80 | channel), key, 0});
  }
  TrackBuilder& Tempo(uint32_t delta, uint32_t micros_per_quarter) {
    return Raw(delta, {0xFF, 0x51, 0x03, uint8_t(micros_per_quarter >> 16),
                       uint8_t(micros_per_quarter >> 8), uint8_t(micros_per_quarter)});
  }
  TrackBuilder& Meta(uint32_t delta, uint8_t type, const std::string& text) {
    Raw(delta, {0xFF, type});
    Number(static_cast<uint32_t>(text.size()));
    data_.insert(data_.end(), text.begin(), text.end());
    return *this;
  }
  TrackBuilder& End(uint32_t delta = 0) { return Raw(delta, {0xFF, 0x2F, 0x00}); }

  const std::vector<uint8_t>& Data() const { return data_; }

  void Number(uint32_t value) {
    uint8_t bytes[5];
    int count = 0;
    do {
      bytes[count++] = value & 0x7F;
      value >>= 7;
    } while (value != 0);
    while (count > 1) data_.push_back(bytes[--count] | 0x80);
    data_.push_back(bytes[0]);
  }

 private:
  std::vector<uint8_t> data_;
};

inline void Put16(std::vector<uint8_t>& out, uint32_t value) {
  out.push_back(uint8_t(value >> 8));
  out.push_back(uint8_t(value));
}

inline void Put32(std::vector<uint8_t>& out, uint32_t value) {
  Put16(out, value >> 16);
  Put16(out, value);
}

inline void PutChunk(std::vector<uint8_t>& out, const char* type,
                     const std::vector<uint8_t>& data) {
  out.insert(out.end(), type, type + 4);
  Put32(out, static_cast<uint32_t>(data.size()));
  out.insert(out.end(), data.begin(), data.end());
}

inline std::vector<uint8_t> BuildSmf(uint16_t format, uint16_t division,
                                     const std::vector<TrackBuilder>& tracks) {
  std::vector<uint8_t> header;
  Put16(header, format);
  Put16(header, static_cast<uint16_t>(tracks.size()));
  Put16(header, division);
  std::vector<uint8_t> out;
  PutChunk(out, "MThd", header);
  for (const TrackBuilder& track : tracks) PutChunk(out, "MTrk", track.Data());
  return out;
}

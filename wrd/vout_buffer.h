#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

#include "wrd/wrd_types.h"

// One command under construction: an opcode and a growable payload. The opcode is not part of
// the payload; the writer puts it in front of the payload when it writes the record.
//
// Values wider than their field are cut to the field's low bits (PutU8(300) stores 0x2C).
class VOutBuffer {
 public:
  // The largest payload a record can carry: the record length (payload + opcode) is a
  // variable-length number, which must stay below 2^28.
  static constexpr int32_t kMaxPayload = 0x0FFFFFFE;

  explicit VOutBuffer(uint8_t opcode) : opcode_(opcode) {}
  VOutBuffer(const VOutBuffer&) = delete;
  VOutBuffer& operator=(const VOutBuffer&) = delete;
  VOutBuffer(VOutBuffer&& other) noexcept;
  VOutBuffer& operator=(VOutBuffer&& other) noexcept;

  void PutU8(uint32_t value);
  // Low byte first; negative identifiers come out as 16-bit two's complement (-1 is FF FF).
  void PutU16(uint32_t value);
  void PutU32(uint32_t value);
  // Appends the variable-length encoding (7-bit groups, most significant first). Throws
  // VErrorInternal for a value of 2^28 or more, which has no encoding; nothing is appended then.
  void PutVarLen(uint32_t value);
  // Appends n raw bytes; n = 0 appends and allocates nothing.
  void PutBytes(const uint8_t* bytes, size_t n);
  // Appends the bytes of a zero-terminated string without the zero; null or "" appends nothing.
  void PutText(const char* text);
  void PutRect(WrdRect rect);
  void PutPoint(WrdPoint point);

  // Makes room for n more bytes. The block grows when length + n reaches the capacity, by
  // length + n rounded up to a multiple of 256, so appends are amortised constant-time.
  // Throws VErrorInternal, leaving the buffer unchanged, when the payload would exceed
  // kMaxPayload.
  void Reserve(size_t n);
  // Frees the unused end of the block: capacity becomes length. The writer trims each command
  // it queues, so that a long queue holds only the commands' bytes.
  void ShrinkToFit();

  int32_t Length() const { return length_; }
  int32_t Capacity() const { return capacity_; }
  uint8_t Opcode() const { return opcode_; }
  // The payload bytes; null while nothing was ever appended.
  const uint8_t* Data() const { return data_.get(); }

 private:
  std::unique_ptr<uint8_t[]> data_;
  int32_t capacity_ = 0;
  int32_t length_ = 0;
  uint8_t opcode_;
};

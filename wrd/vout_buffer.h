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
  int32_t Length() const { return length_; }
  int32_t Capacity() const { return capacity_; }
  uint8_t Opcode() const { return opcode_; }
  // The payload bytes; null while nothing was ever appended.
  const uint8_t* Data() const { return capacity_ == 0 ? nullptr : Bytes(); }

 private:
  // The first block (256 bytes) lives inside the buffer: nearly every command fits in it, and a
  // build makes tens of thousands of commands. Larger blocks are on the heap.
  static constexpr int32_t kInlineCapacity = 256;

  uint8_t* Bytes() { return capacity_ > kInlineCapacity ? heap_.get() : inline_; }
  const uint8_t* Bytes() const { return capacity_ > kInlineCapacity ? heap_.get() : inline_; }

  std::unique_ptr<uint8_t[]> heap_;
  int32_t capacity_ = 0;
  int32_t length_ = 0;
  uint8_t opcode_;
  uint8_t inline_[kInlineCapacity];
};

#include "wrd/vout_buffer.h"

#include <cstring>
#include <utility>

#include "wrd/varlen.h"
#include "wrd/verror.h"

VOutBuffer::VOutBuffer(VOutBuffer&& other) noexcept : opcode_(other.opcode_) {
  *this = std::move(other);
}

VOutBuffer& VOutBuffer::operator=(VOutBuffer&& other) noexcept {
  if (this == &other) {
    return *this;
  }
  heap_ = std::move(other.heap_);
  capacity_ = std::exchange(other.capacity_, 0);
  length_ = std::exchange(other.length_, 0);
  opcode_ = other.opcode_;
  if (capacity_ > 0 && capacity_ <= kInlineCapacity) {
    std::memcpy(inline_, other.inline_, static_cast<size_t>(length_));
  }
  return *this;
}

void VOutBuffer::Reserve(size_t n) {
  if (n > static_cast<size_t>(kMaxPayload - length_)) {
    throw VErrorInternal(static_cast<uint32_t>(length_), "command payload too large for a record");
  }
  int32_t need = length_ + static_cast<int32_t>(n);
  if (need < capacity_) {
    return;
  }
  // Grows by need rounded up to 256, so each growth at least doubles the used length.
  int64_t grow = (static_cast<int64_t>(need) + 255) & ~int64_t{255};
  int64_t newCapacity = capacity_ + grow;
  if (newCapacity > kInlineCapacity) {
    auto block = std::make_unique_for_overwrite<uint8_t[]>(static_cast<size_t>(newCapacity));
    if (length_ > 0) {
      std::memcpy(block.get(), Bytes(), static_cast<size_t>(length_));
    }
    heap_ = std::move(block);
  }
  capacity_ = static_cast<int32_t>(newCapacity);
}

void VOutBuffer::PutU8(uint32_t value) {
  Reserve(1);
  Bytes()[length_++] = static_cast<uint8_t>(value);
}

void VOutBuffer::PutU16(uint32_t value) {
  Reserve(2);
  Bytes()[length_] = static_cast<uint8_t>(value);
  Bytes()[length_ + 1] = static_cast<uint8_t>(value >> 8);
  length_ += 2;
}

void VOutBuffer::PutU32(uint32_t value) {
  Reserve(4);
  for (int i = 0; i < 4; ++i) {
    Bytes()[length_ + i] = static_cast<uint8_t>(value >> (8 * i));
  }
  length_ += 4;
}

void VOutBuffer::PutVarLen(uint32_t value) {
  if (value >= kVarLenLimit) {
    throw VErrorInternal(value, "number too large for a variable-length field");
  }
  uint8_t bytes[4];
  PutBytes(bytes, static_cast<size_t>(EncodeVarLen(value, bytes)));
}

void VOutBuffer::PutBytes(const uint8_t* bytes, size_t n) {
  if (n == 0) {
    return;
  }
  Reserve(n);
  std::memcpy(Bytes() + length_, bytes, n);
  length_ += static_cast<int32_t>(n);
}

void VOutBuffer::PutText(const char* text) {
  if (text == nullptr) {
    return;
  }
  PutBytes(reinterpret_cast<const uint8_t*>(text), std::strlen(text));
}

void VOutBuffer::PutRect(WrdRect rect) {
  PutU16(static_cast<uint16_t>(rect.x1));
  PutU16(static_cast<uint16_t>(rect.y1));
  PutU16(static_cast<uint16_t>(rect.x2));
  PutU16(static_cast<uint16_t>(rect.y2));
}

void VOutBuffer::PutPoint(WrdPoint point) {
  PutU16(static_cast<uint16_t>(point.x));
  PutU16(static_cast<uint16_t>(point.y));
}

#include "wrd/vbinary_out.h"

#include <algorithm>
#include <cstring>
#include <fstream>
#include <ostream>

#include "wrd/varlen.h"
#include "wrd/verror.h"

namespace {

constexpr uint8_t kEndOpcode = 0x00;
constexpr uint8_t kStartOpcode = 0x01;
constexpr char kSignature[] = "Varnel WRD";
constexpr uint32_t kVersion = 1;

}  // namespace

VBinaryOut::VBinaryOut(const char* fileName) {
  auto file = std::make_unique<std::ofstream>(fileName ? fileName : "",
                                              std::ios::out | std::ios::binary | std::ios::trunc);
  out_ = file.get();
  ownedStream_ = std::move(file);
  WriteHeader();
}

VBinaryOut::VBinaryOut(std::ostream& out) : out_(&out) { WriteHeader(); }

VBinaryOut::~VBinaryOut() {
  try {
    Close();
  } catch (...) {
    // Only memory exhaustion can get here; a destructor must not throw.
  }
}

bool VBinaryOut::Close() {
  if (closed_) {
    return !failed_;
  }
  if (blockState_ == 0) {
    EndBlock();
  }
  if (blockState_ == 1) {
    EndBlock();
  }
  closed_ = true;
  ClearQueue();
  try {
    out_->flush();
    CheckStream();
    if (ownedStream_ != nullptr) {
      ownedStream_->close();
      CheckStream();
    }
  } catch (const std::ios_base::failure&) {
    failed_ = true;
  }
  return !failed_;
}

void VBinaryOut::CheckStream() {
  if (!out_->good()) {
    failed_ = true;
  }
}

void VBinaryOut::SetTick(uint32_t tick) {
  if (tick >= kTickLimit) {
    throw VErrorInput(tick, "Tick out of range");
  }
  currentTick_ = tick;
}

void VBinaryOut::AddTick(uint32_t delta) {
  if (delta >= kTickLimit - currentTick_) {
    throw VErrorInput(delta, "Tick out of range");
  }
  currentTick_ += delta;
}

void VBinaryOut::Enqueue(std::unique_ptr<VOutBuffer> command) {
  if (command == nullptr) {
    throw VErrorInternal(0, "no command to queue");
  }
  Enqueue(std::move(*command));
}

void VBinaryOut::Enqueue(VOutBuffer&& command) {
  if (closed_) {
    throw VErrorInternal(0, "writer already closed");
  }
  // The record length (payload + opcode) must be encodable when the queue is written.
  if (command.Length() > VOutBuffer::kMaxPayload) {
    throw VErrorInternal(static_cast<uint32_t>(command.Length()), "command too large");
  }
  const auto length = static_cast<uint32_t>(command.Length());
  const uint8_t* payload = StorePayload(command.Data(), length);
  queue_.emplace_back(currentTick_, nextSequence_, command.Opcode(), payload, length);
  ++nextSequence_;
}

const uint8_t* VBinaryOut::StorePayload(const uint8_t* bytes, size_t n) {
  if (n == 0) {
    return nullptr;
  }
  // Blocks stay below the size at which the C library maps fresh pages for each one.
  constexpr size_t kBlockSize = 64 * 1024;
  if (n > kBlockSize) {
    // A payload of its own block; the next payload starts a new one.
    payloadBlocks_.push_back(std::make_unique_for_overwrite<uint8_t[]>(n));
    blockUsed_ = kBlockSize;
    std::memcpy(payloadBlocks_.back().get(), bytes, n);
    return payloadBlocks_.back().get();
  }
  if (payloadBlocks_.empty() || kBlockSize - blockUsed_ < n) {
    payloadBlocks_.push_back(std::make_unique_for_overwrite<uint8_t[]>(kBlockSize));
    blockUsed_ = 0;
  }
  uint8_t* stored = payloadBlocks_.back().get() + blockUsed_;
  std::memcpy(stored, bytes, n);
  blockUsed_ += n;
  return stored;
}

void VBinaryOut::SortQueue() {
  // Sequence numbers are unique within a queue, so the order is total. Packets are only ever
  // appended between two clears, so the queue is in sequence order: then a stable sort by tick
  // alone gives the order, and ticks (below 2^28) sort in four stable passes of 7 bits.
  const bool inSequence =
      std::adjacent_find(queue_.begin(), queue_.end(), [](const Packet& a, const Packet& b) {
        return a.Sequence() >= b.Sequence();
      }) == queue_.end();
  if (!inSequence) {
    std::stable_sort(queue_.begin(), queue_.end(), [](const Packet& a, const Packet& b) {
      return a.Tick() != b.Tick() ? a.Tick() < b.Tick() : a.Sequence() < b.Sequence();
    });
    return;
  }
  std::vector<Packet> other(queue_);  // every slot is overwritten by each pass
  for (int shift = 0; shift < 28; shift += 7) {
    size_t start[129] = {};
    for (const Packet& packet : queue_) ++start[((packet.Tick() >> shift) & 0x7F) + 1];
    for (int digit = 0; digit < 128; ++digit) start[digit + 1] += start[digit];
    for (const Packet& packet : queue_) other[start[(packet.Tick() >> shift) & 0x7F]++] = packet;
    queue_.swap(other);
  }
}

void VBinaryOut::FlushQueue() {
  // Nothing may follow the Data block's end record: a closed file takes no more records.
  if (blockState_ == 2) {
    return;
  }
  // The batch is encoded in memory and written in pieces. Ticks and lengths were checked when
  // the commands were queued, so no encoding below can fail halfway through the batch.
  constexpr size_t kChunk = 64 * 1024;
  const auto chunk = std::make_unique_for_overwrite<uint8_t[]>(kChunk + 16);
  size_t used = 0;
  auto flushChunk = [&] {
    WriteBytes(chunk.get(), used);
    used = 0;
  };
  try {
    uint32_t previousTick = 0;
    for (const Packet& packet : queue_) {
      // At most 9 bytes go in before the check below: the chunk has room for them.
      if (blockState_ == 1) {
        used += EncodeVarLen(packet.Tick() - previousTick, &chunk[used]);
        previousTick = packet.Tick();
      }
      used += EncodeVarLen(packet.Length() + 1, &chunk[used]);
      chunk[used++] = packet.Opcode();
      if (used + packet.Length() > kChunk) {
        flushChunk();
        if (packet.Length() > kChunk) {
          WriteBytes(packet.Payload(), packet.Length());
          continue;
        }
      }
      if (packet.Length() > 0) {
        std::memcpy(&chunk[used], packet.Payload(), packet.Length());
        used += packet.Length();
      }
    }
    flushChunk();
    CheckStream();
  } catch (const std::ios_base::failure&) {
    // A caller's stream may have exceptions enabled; the failure is recorded all the same.
    failed_ = true;
  }
}

void VBinaryOut::ClearQueue() {
  queue_.clear();
  queue_.shrink_to_fit();
  payloadBlocks_.clear();
  blockUsed_ = 0;
  nextSequence_ = 0;
}

void VBinaryOut::EndBlock() {
  if (blockState_ == 2) {
    return;
  }
  SortQueue();
  if (!queue_.empty()) {
    currentTick_ = queue_.back().Tick();
  }
  // The end record has the largest tick and the highest sequence: it is already in place.
  Enqueue(VOutBuffer(kEndOpcode));
  FlushQueue();
  ClearQueue();
  ++blockState_;
}

void VBinaryOut::Start() {
  Enqueue(VOutBuffer(kStartOpcode));
  SortQueue();
  FlushQueue();
  ClearQueue();
  currentTick_ = 0;
}

void VBinaryOut::CheckDefinitionBlock() const {
  if (blockState_ != 0) {
    throw VError("Cannot define command in Data block");
  }
}

void VBinaryOut::CheckDataBlock() const {
  if (blockState_ != 1) {
    throw VError("Must be WRD command in Data block");
  }
}

void VBinaryOut::WriteHeader() {
  WriteBytes(reinterpret_cast<const uint8_t*>(kSignature), std::strlen(kSignature));
  WriteU16(0);
  WriteU32(kVersion);
  CheckStream();
}

// After Close the stream is closed (or the caller's to use again): the primitives write nothing.
void VBinaryOut::WriteByte(uint8_t value) {
  if (!closed_) {
    out_->put(static_cast<char>(value));
  }
}

void VBinaryOut::WriteU16(uint32_t value) {
  WriteByte(static_cast<uint8_t>(value));
  WriteByte(static_cast<uint8_t>(value >> 8));
}

void VBinaryOut::WriteU32(uint32_t value) {
  for (int i = 0; i < 4; ++i) {
    WriteByte(static_cast<uint8_t>(value >> (8 * i)));
  }
}

void VBinaryOut::WriteVarLen(uint32_t value) {
  if (value >= kVarLenLimit) {
    throw VErrorInternal(value, "number too large for a variable-length field");
  }
  uint8_t bytes[4];
  const int count = EncodeVarLen(value, bytes);
  for (int i = 0; i < count; ++i) {
    WriteByte(bytes[i]);
  }
}

void VBinaryOut::WriteBytes(const uint8_t* bytes, size_t n) {
  if (n > 0 && !closed_) {
    out_->write(reinterpret_cast<const char*>(bytes), static_cast<std::streamsize>(n));
  }
}

void VBinaryOut::WriteText(const char* text) {
  if (text != nullptr) {
    WriteBytes(reinterpret_cast<const uint8_t*>(text), std::strlen(text));
  }
}

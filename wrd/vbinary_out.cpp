#include "wrd/vbinary_out.h"

#include <algorithm>
#include <bit>
#include <cerrno>
#include <climits>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <ostream>

#include "wrd/opcodes.h"
#include "wrd/varlen.h"
#include "wrd/verror.h"

namespace {

constexpr char kSignature[] = "Varnel WRD";
constexpr uint32_t kVersion = 1;

// A build's tens of thousands of records fit the first allocations, so the queue and the store
// are seldom copied to grow. Pages of a large allocation are only mapped when first written.
constexpr size_t kInitialQueue = 64 * 1024;
constexpr size_t kInitialRecordBytes = 1024 * 1024;
// Records up to this size are copied as a block of this size when the queue is written.
constexpr size_t kShortRecord = 16;

// The bytes of a stored record: its variable-length record length, then that many bytes.
size_t StoredRecordSize(const uint8_t* record) {
  size_t count = 0;
  uint32_t length = 0;
  do {
    length = (length << 7) | (record[count] & 0x7F);
  } while ((record[count++] & 0x80) != 0);
  return count + length;
}

}  // namespace

VBinaryOut::VBinaryOut(const char* fileName) : fileName_(fileName ? fileName : "") {
  errno = 0;
  auto file = std::make_unique<std::ofstream>(fileName_,
                                              std::ios::out | std::ios::binary | std::ios::trunc);
  if (!file->is_open()) Fail(errno);
  out_ = file.get();
  ownedStream_ = std::move(file);
  WriteHeader();
}

VBinaryOut::VBinaryOut(std::ostream& out) : out_(&out) { WriteHeader(); }

VBinaryOut::VBinaryOut(std::string& bytes) : bytes_(&bytes) { WriteHeader(); }

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
    if (out_ != nullptr) out_->flush();
    CheckStream();
    if (ownedStream_ != nullptr) {
      ownedStream_->close();
      CheckStream();
    }
  } catch (const std::ios_base::failure&) {
    Fail(0);
  }
  return !failed_;
}

void VBinaryOut::CheckStream() {
  if (out_ != nullptr && !out_->good()) {
    // A file stream fails on its last system call; a caller's stream says nothing of why.
    Fail(ownedStream_ != nullptr ? errno : 0);
  }
}

void VBinaryOut::Fail(int error) {
  failed_ = true;
  if (failure_) return;  // the first failure is the cause of the later ones
  const std::string name = fileName_.empty() ? std::string("VNLファイル") : fileName_;
  failure_.emplace(name + ": 書き込めません" + (error != 0 ? " (" + ErrnoText(error) + ")" : ""),
                   error);
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
  EnqueueRecord(command.Opcode(), command.Data(), static_cast<size_t>(command.Length()), nullptr,
                0);
}

uint8_t* VBinaryOut::NewRecord(uint8_t opcode, size_t length) {
  if (closed_) {
    throw VErrorInternal(0, "writer already closed");
  }
  // The record length (payload + opcode) must be encodable when the queue is written.
  constexpr auto kMax = static_cast<size_t>(VOutBuffer::kMaxPayload);
  if (length > kMax) {
    throw VErrorInternal(static_cast<uint32_t>(std::min(length, kMax + 1)), "command too large");
  }
  const auto recordLength = static_cast<uint32_t>(length + 1);
  const size_t offset = recordsUsed_;
  uint8_t* record = StoreRecord(static_cast<size_t>(VarLenSize(recordLength)) + recordLength);
  if (queue_.capacity() == 0) {
    queue_.reserve(kInitialQueue);
  }
  queue_.push_back((static_cast<uint64_t>(currentTick_) << 32) | offset);
  const int lengthCount = EncodeVarLen(recordLength, record);
  record[lengthCount] = opcode;
  return record + lengthCount + 1;
}

void VBinaryOut::EnqueueRecord(uint8_t opcode, const uint8_t* head, size_t headLength,
                               const uint8_t* tail, size_t tailLength) {
  constexpr auto kMax = static_cast<size_t>(VOutBuffer::kMaxPayload);
  uint8_t* payload = NewRecord(opcode, tailLength > kMax ? kMax + 1 : headLength + tailLength);
  if (headLength > 0) {
    std::memcpy(payload, head, headLength);
  }
  if (tailLength > 0) {
    std::memcpy(payload + headLength, tail, tailLength);
  }
}

uint8_t* VBinaryOut::StoreRecord(size_t n) {
  if (n > recordsCapacity_ - recordsUsed_) {
    GrowRecords(n);
  }
  uint8_t* stored = records_.get() + recordsUsed_;
  recordsUsed_ += n;
  return stored;
}

void VBinaryOut::GrowRecords(size_t n) {
  // Offsets live in the low 32 bits of a key.
  if (n > UINT32_MAX - recordsUsed_) {
    throw VErrorInternal(static_cast<uint32_t>(queue_.size()), "too many commands queued");
  }
  const size_t capacity = std::min<size_t>(
      UINT32_MAX, std::max({recordsCapacity_ * 2, recordsUsed_ + n, kInitialRecordBytes}));
  auto grown = std::make_unique_for_overwrite<uint8_t[]>(capacity + kShortRecord);
  if (recordsUsed_ > 0) {
    std::memcpy(grown.get(), records_.get(), recordsUsed_);
  }
  records_ = std::move(grown);
  recordsCapacity_ = capacity;
}

void VBinaryOut::SortQueue() {
  // Keys rise with the order of queueing within a tick; a build queues mostly rising ticks, so
  // the queue is often in order already.
  if (std::is_sorted(queue_.begin(), queue_.end())) {
    return;
  }
  // The keys sort in stable passes of at most 11 bits over the bits the largest tick uses
  // (ticks stay below 2^28): two passes for a song of 4 million ticks.
  const size_t n = queue_.size();
  uint32_t largest = 0;
  for (uint64_t key : queue_) largest = std::max(largest, KeyTick(key));
  const int bits = std::bit_width(largest);
  const int passes = std::max(1, (bits + 10) / 11);  // out of order: some tick is above 0
  const int digitBits = (bits + passes - 1) / passes;
  const uint32_t mask = (1u << digitBits) - 1;
  auto buffer = std::make_unique_for_overwrite<uint64_t[]>(n);
  uint64_t* from = queue_.data();
  uint64_t* to = buffer.get();
  std::vector<uint32_t> start(mask + 2);
  for (int pass = 0; pass < passes; ++pass) {
    const int shift = 32 + pass * digitBits;
    std::fill(start.begin(), start.end(), 0);
    for (size_t i = 0; i < n; ++i) ++start[((from[i] >> shift) & mask) + 1];
    for (uint32_t digit = 0; digit <= mask; ++digit) start[digit + 1] += start[digit];
    for (size_t i = 0; i < n; ++i) to[start[(from[i] >> shift) & mask]++] = from[i];
    std::swap(from, to);
  }
  if (from != queue_.data()) {
    std::copy(from, from + n, queue_.data());
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
  // A string takes the whole batch without growing on the way: at most four bytes of tick
  // delta go before each record.
  if (bytes_ != nullptr) bytes_->reserve(bytes_->size() + recordsUsed_ + 4 * queue_.size());
  const auto chunk = std::make_unique_for_overwrite<uint8_t[]>(kChunk + kShortRecord);
  size_t used = 0;
  auto flushChunk = [&] {
    WriteBytes(chunk.get(), used);
    used = 0;
  };
  try {
    uint32_t previousTick = 0;
    for (uint64_t key : queue_) {
      // At most 4 bytes go in before the check below: the chunk has room for them.
      if (blockState_ == 1) {
        used += EncodeVarLen(KeyTick(key) - previousTick, &chunk[used]);
        previousTick = KeyTick(key);
      }
      const uint8_t* record = records_.get() + static_cast<uint32_t>(key);
      const size_t size = StoredRecordSize(record);
      if (used + size > kChunk) {
        flushChunk();
        if (size > kChunk) {
          WriteBytes(record, size);
          continue;
        }
      }
      if (size <= kShortRecord) {
        // One move of constant size: most records are a few bytes. The chunk and the store
        // both have room past their ends for it.
        std::memcpy(&chunk[used], record, kShortRecord);
      } else {
        std::memcpy(&chunk[used], record, size);
      }
      used += size;
    }
    flushChunk();
    CheckStream();
  } catch (const std::ios_base::failure&) {
    // A caller's stream may have exceptions enabled; the failure is recorded all the same.
    Fail(0);
  }
}

void VBinaryOut::ClearQueue() {
  queue_.clear();
  queue_.shrink_to_fit();
  records_.reset();
  recordsUsed_ = 0;
  recordsCapacity_ = 0;
}

void VBinaryOut::EndBlock() {
  if (blockState_ == 2) {
    return;
  }
  SortQueue();
  if (!queue_.empty()) {
    currentTick_ = KeyTick(queue_.back());
  }
  // The end record has the largest tick and comes last: it is already in place.
  Enqueue(VOutBuffer(wrd_opcode::kEnd));
  FlushQueue();
  ClearQueue();
  ++blockState_;
}

void VBinaryOut::Start() {
  Enqueue(VOutBuffer(wrd_opcode::kStart));
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
  if (closed_) return;
  if (bytes_ != nullptr) {
    bytes_->push_back(static_cast<char>(value));
  } else {
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
  if (n == 0 || closed_) return;
  if (bytes_ != nullptr) {
    bytes_->append(reinterpret_cast<const char*>(bytes), n);
  } else {
    out_->write(reinterpret_cast<const char*>(bytes), static_cast<std::streamsize>(n));
  }
}

void VBinaryOut::WriteText(const char* text) {
  if (text != nullptr) {
    WriteBytes(reinterpret_cast<const uint8_t*>(text), std::strlen(text));
  }
}

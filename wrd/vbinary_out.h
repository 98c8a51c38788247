#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <iosfwd>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "files/file_errors.h"
#include "wrd/fixed_record.h"
#include "wrd/varlen.h"
#include "wrd/vout_buffer.h"
#include "wrd/wrd_types.h"

// The binary WRD writer. It writes the 16-byte header at construction, stamps every command with
// the current tick, queues it, and writes the queue sorted by tick (equal ticks in the order of
// queueing) when a block ends (EndBlock), at Start and at Close. The file is a definition block
// of untimed records and a Data block of timed records, each closed by an end record.
//
// Emitters do not check their arguments or the block they are called in (the two Check*Block
// guards are for callers that want that); values are cut to their field widths. Errors the
// writer does raise (VError family) leave its queue and the file untouched:
// - SetTick and AddTick refuse a tick of 2^28 or more (VErrorInput), since no tick delta of that
//   size can be encoded; the current tick stays as it was.
// - Enqueue refuses a payload too large for a record (VErrorInternal) and any command after
//   Close (VErrorInternal); the command is not queued. So does every emitter, and any command
//   that would take the records queued in one block past 4 GiB.
// Write failures (file not creatable, disk full, a caller's stream going bad) are recorded:
// Failed() tells, Close() returns false, and Failure() gives the first of them as an error the
// caller can throw or show.
class VBinaryOut {
 public:
  // Ticks must stay below this (the largest variable-length number is 2^28 - 1).
  static constexpr uint32_t kTickLimit = kVarLenLimit;

  // One page of an AllocatePage command.
  struct PageDescriptor {
    int16_t id = 0;
    uint16_t width = 0;
    uint16_t height = 0;
    uint8_t kind = 0;
  };

  // The size of a pattern of command 62; only the low bytes are written.
  struct PatternSize {
    uint16_t width = 0;
    uint16_t height = 0;
  };

  // Creates (or truncates) the file in binary mode and owns it. A file that cannot be created
  // makes Failed() true; the writer still accepts every call.
  explicit VBinaryOut(const char* fileName);
  // Writes to the caller's stream from its current position; the stream stays open and is
  // never deleted. The stream must outlive the writer.
  explicit VBinaryOut(std::ostream& out);
  // Appends the file to the caller's string, which must outlive the writer: the fastest way to
  // have the bytes in memory.
  explicit VBinaryOut(std::string& bytes);
  // Calls Close() when it has not been called; errors are lost then.
  ~VBinaryOut();
  VBinaryOut(const VBinaryOut&) = delete;
  VBinaryOut& operator=(const VBinaryOut&) = delete;

  // Ends the open blocks (definition block, then Data block), writes what is queued, flushes
  // and closes the owned file (a caller's stream is flushed, not closed). Returns false when
  // anything failed to be written. Later calls do nothing and return the same answer.
  bool Close();
  // True once a write, the flush or the file's creation or closing failed.
  bool Failed() const { return failed_; }
  // The first such failure (the file's name and the system's reason where there is one); null
  // while nothing failed.
  const FileWriteError* Failure() const { return failure_ ? &*failure_ : nullptr; }
  // 0: definition block open; 1: Data block open; 2: both closed.
  int BlockState() const { return blockState_; }
  uint32_t CurrentTick() const { return currentTick_; }
  // Commands waiting for the next flush.
  size_t QueuedCount() const { return queue_.size(); }

  void SetTick(uint32_t tick);
  void AddTick(uint32_t delta);
  // Closes the open block: writes its queue in tick order and its end record, at the largest
  // queued tick (or the current tick when nothing is queued), which becomes the current tick.
  // Once both blocks are closed it does nothing.
  void EndBlock();
  // Queues a Start record, writes the queue in tick order and sets the current tick to 0.
  void Start();
  // Takes the finished command and queues it at the current tick.
  void Enqueue(std::unique_ptr<VOutBuffer> command);
  void Enqueue(VOutBuffer&& command);

  // Block guards: throw VError ("Cannot define command in Data block" /
  // "Must be WRD command in Data block") unless the definition / Data block is open.
  void CheckDefinitionBlock() const;
  void CheckDataBlock() const;

  // Definition block commands.
  void SetTitle(const char* text);        // 71: text
  void SetTimebase(int value);            // 21: u16
  void Command71(int first, int second);  // 71: u16, u16

  // Commands the build issues.
  void AllocatePage(const PageDescriptor* pages, int n);  // 25: n x (u16, u16, u16, u8)
  void AllocatePage(const PageDescriptor& page);          // 25: one descriptor
  void AllocatePalette(int id);                           // 21: u16
  // entries: n x {index, red, green, blue}.
  void SetPalette(int id, const uint8_t* entries, int n);                       // 41
  void LoadPicture(int page, int palette, const char* fileName);                // 27
  void FillRect(int page, int b, WrdRect rect, int b2);                         // 52
  void Move(int source, int destination, int b, WrdRect rect, WrdPoint point);  // 61, mode 0
  void CopyPalette(int source, int destination);                                // 43
  void BlendPalette(int first, int second, int destination, int p1, int p2, int p3, int p4, int p5,
                    int p6, int firstWeight, int secondWeight);  // 42
  void ChangePalette(int id);                                    // 31
  void DrawText(int page, int b1, int b2, int colour, int b3, WrdPoint point,
                const char* text);             // 51
  void DisplayPage(int page, WrdPoint point);  // 35

  // Further commands; the build does not issue them. List elements are written as their low
  // 16 bits.
  void AllocatePalettes(const int32_t* ids, int n);               // 21: n x u16
  void Command22(int id);                                         // 22: u16
  void Command22List(const int32_t* ids, int n);                  // 22: n x u16
  void Command26(int id);                                         // 26: u16
  void Command26List(const int32_t* ids, int n);                  // 26: n x u16
  void Command36(int id, WrdPoint a, WrdPoint b, WrdPoint c);     // 36
  void Command44(int first, int second, const uint8_t* bytes32);  // 44: u16, u16, 32 bytes
  // 54: u16, u8, u16, u16, u16, u8 (two emitters of the same layout).
  void Command54(int a, int b, int c, int d, int e, int f);
  void Command54Second(int a, int b, int c, int d, int e, int f);
  void Command55(int page, int b, WrdRect rect, int b2);  // 55: the layout of 52
  void MoveMode1(int source, int destination, int b, WrdRect rect, WrdPoint point);  // 61
  // 62: u16, u16, u8, u8, rect, point, u8 width, u8 height, ((width + 7) / 8) x height pattern
  // bytes (from the low bytes of size); pattern must hold that many bytes.
  void MovePattern(int source, int destination, int b1, int b2, WrdRect rect, WrdPoint point,
                   PatternSize size, const uint8_t* pattern);
  void Command72(int value, const char* text);                   // 72: u16, text
  void Command7F(const uint8_t* bytes, int n);                   // 7F: n raw bytes
  void RawCommand(uint8_t opcode, const uint8_t* bytes, int n);  // any opcode, n raw bytes

  // Direct output primitives; the header and the flush use them. Failures are recorded.
  void WriteByte(uint8_t value);
  void WriteU16(uint32_t value);
  void WriteU32(uint32_t value);
  // Throws VErrorInternal for a value of 2^28 or more (nothing is written then).
  void WriteVarLen(uint32_t value);
  void WriteBytes(const uint8_t* bytes, size_t n);
  void WriteText(const char* text);

 private:
  void WriteHeader();
  void SortQueue();
  void FlushQueue();
  void ClearQueue();
  void CheckStream();
  // Records a failure; `error` is the errno value behind it, 0 when not known.
  void Fail(int error);
  void EnqueueIds(uint8_t opcode, const int32_t* ids, int n);
  void EnqueuePageRect(uint8_t opcode, int page, int b, WrdRect rect, int b2);
  void EnqueueMove(int mode, int source, int destination, int b, WrdRect rect, WrdPoint point);
  // Queues a record of opcode and a payload of length bytes at the current tick and returns
  // where the payload goes; the caller fills exactly that many bytes. Throws VErrorInternal
  // after Close and for a payload too large for a record, queueing nothing.
  uint8_t* NewRecord(uint8_t opcode, size_t length);
  // Queues the record of opcode, head and tail (the text of a text command).
  void EnqueueRecord(uint8_t opcode, const uint8_t* head, size_t headLength, const uint8_t* tail,
                     size_t tailLength);
  template <size_t N>
  void EnqueueFixed(uint8_t opcode, const FixedRecord<N>& record, const char* text = nullptr) {
    const size_t textLength = text == nullptr ? 0 : std::strlen(text);
    uint8_t* payload = NewRecord(opcode, record.Length() + textLength);
    if (record.Length() == N) {
      std::memcpy(payload, record.Data(), N);  // a copy of constant size: a few moves
    } else {
      std::memcpy(payload, record.Data(), record.Length());
    }
    if (textLength > 0) {
      std::memcpy(payload + record.Length(), text, textLength);
    }
  }
  uint8_t* StoreRecord(size_t n);
  void GrowRecords(size_t n);
  static uint32_t KeyTick(uint64_t key) { return static_cast<uint32_t>(key >> 32); }

  std::unique_ptr<std::ofstream> ownedStream_;
  std::ostream* out_ = nullptr;  // null when the bytes go to a string
  std::string* bytes_ = nullptr;
  // One key per queued command: its tick above the offset of its record in records_. Offsets
  // grow in the order of queueing, so the keys in rising order are the commands by tick, and
  // in the order of queueing within a tick; a key is all the sort has to move.
  std::vector<uint64_t> queue_;
  // The queued records back to back, each as it is written: the record length (payload +
  // opcode) as a variable-length number, the opcode and the payload.
  std::unique_ptr<uint8_t[]> records_;
  size_t recordsUsed_ = 0;
  size_t recordsCapacity_ = 0;
  uint32_t currentTick_ = 0;
  uint8_t blockState_ = 0;
  bool failed_ = false;
  std::optional<FileWriteError> failure_;
  std::string fileName_;  // the owned file's name, for the failure; empty for a caller's stream
  bool closed_ = false;
};

#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <stdexcept>
#include <string>
#include <vector>

#include "errors/error.h"

// The format error of a VNL file, with the byte offset where reading stopped.
class VnlError : public VwrdError {
 public:
  VnlError(size_t offset, const std::string& what);
};

// One record of a VNL file. block: 0 for the definition block, 1 for the Data block. tick: the
// absolute tick (0 in the definition block; in the Data block the deltas accumulate from 0 and
// start again from 0 after each Start record). The end records (opcode 00) and Start records
// (opcode 01) are records too. offset: where the record begins in the file.
struct VnlRecord {
  int block = 0;
  uint32_t tick = 0;
  uint8_t opcode = 0;
  std::vector<uint8_t> payload;
  size_t offset = 0;
};

// A record as VnlRecord, its payload pointing into the bytes it was read from.
struct VnlRecordView {
  int block = 0;
  uint32_t tick = 0;
  uint8_t opcode = 0;
  std::span<const uint8_t> payload;
  size_t offset = 0;
};

struct VnlFile {
  uint32_t version = 0;
  std::vector<VnlRecord> records;
};

// Reads a whole VNL file strictly: the header ("Varnel WRD", 00 00, version 1), the definition
// block up to its end record, the Data block up to its end record, and nothing after it.
// Throws VnlError naming the byte offset for anything else.
VnlFile ReadVnl(std::span<const uint8_t> bytes);
// The records of ReadVnl without copying their payloads (valid while `bytes` is). Throws as
// ReadVnl does.
std::vector<VnlRecordView> ReadVnlRecords(std::span<const uint8_t> bytes);
// Reads the regular file at path (a file-system path). Throws FileReadError (a
// std::runtime_error) when it cannot be read, is no regular file or is larger than
// kMaxVnlFileSize, VnlError when it is malformed.
VnlFile ReadVnlFile(const std::string& path);
// The largest VNL file any reader takes, and so the largest the build writes.
constexpr size_t kMaxVnlFileSize = 64u << 20;

// A readable line for the record: the build's commands by name with their fields
// ("BlendPalette(-1, -3, -2, 0, 8, 0, 0, 8, 0, 100, 0)"), any other opcode, or a build opcode
// with an unexpected payload length, as "opcode 36: 01 00 ..." Texts are quoted as CP932
// bytes, with control bytes, quotes and backslashes escaped as \xNN.
std::string DescribeRecord(const VnlRecord& record);

#include "wrd/vnl_reader.h"
#include "wrd/opcodes.h"

#include <cstring>

#include "files/regular_file.h"
#include "wrd/opcodes.h"

namespace {

constexpr char kSignature[] = "Varnel WRD";
constexpr size_t kHeaderSize = 16;

class Cursor {
 public:
  explicit Cursor(std::span<const uint8_t> bytes) : bytes_(bytes) {}

  size_t Offset() const { return offset_; }
  bool AtEnd() const { return offset_ == bytes_.size(); }
  size_t Remaining() const { return bytes_.size() - offset_; }

  uint8_t Byte(const char* what) {
    if (AtEnd()) {
      throw VnlError(offset_, std::string(what) + "の途中でファイルが終わっています");
    }
    return bytes_[offset_++];
  }

  // A variable-length number: at most four 7-bit groups, most significant first.
  uint32_t VarLen(const char* what) {
    size_t start = offset_;
    uint32_t value = 0;
    for (int i = 0; i < 4; ++i) {
      uint8_t byte = Byte(what);
      value = (value << 7) | (byte & 0x7F);
      if ((byte & 0x80) == 0) {
        return value;
      }
    }
    throw VnlError(start, std::string(what) + "が 4 バイトを超えています");
  }

  std::span<const uint8_t> Take(size_t n) {
    std::span<const uint8_t> out = bytes_.subspan(offset_, n);
    offset_ += n;
    return out;
  }

 private:
  std::span<const uint8_t> bytes_;
  size_t offset_ = 0;
};

uint32_t ReadHeader(Cursor& in, std::span<const uint8_t> bytes) {
  if (bytes.size() < kHeaderSize) {
    throw VnlError(bytes.size(), "16 バイトのヘッダーの途中でファイルが終わっています");
  }
  if (std::memcmp(bytes.data(), kSignature, 10) != 0) {
    throw VnlError(0, "VNL ファイルではありません (\"Varnel WRD\" の署名がありません)");
  }
  if (bytes[10] != 0 || bytes[11] != 0) {
    throw VnlError(10, "ヘッダーのバイト 10 と 11 が 00 00 ではありません");
  }
  uint32_t version = static_cast<uint32_t>(bytes[12]) | static_cast<uint32_t>(bytes[13]) << 8 |
                     static_cast<uint32_t>(bytes[14]) << 16 |
                     static_cast<uint32_t>(bytes[15]) << 24;
  if (version != 1) {
    throw VnlError(12, "形式のバージョン " + std::to_string(version) + " には対応していません");
  }
  in.Take(kHeaderSize);
  return version;
}

// Reads one block up to and including its end record.
void ReadBlock(Cursor& in, int block, std::vector<VnlRecordView>& records) {
  uint64_t tick = 0;
  for (;;) {
    VnlRecordView record;
    record.block = block;
    record.offset = in.Offset();
    if (block == 1) {
      tick += in.VarLen("レコードのティック差分");
      if (tick > UINT32_MAX) {
        throw VnlError(record.offset, "ティックが 32 ビットを超えています");
      }
    }
    size_t lengthOffset = in.Offset();
    uint32_t length = in.VarLen("レコードの長さ");
    if (length == 0) {
      throw VnlError(lengthOffset,
                     "レコードの長さが 0 です (レコードには少なくともオペコードがあります)");
    }
    if (length > in.Remaining()) {
      throw VnlError(lengthOffset, "レコードの長さ " + std::to_string(length) +
                                       " がファイルの終わりを越えています");
    }
    record.opcode = in.Byte("レコード");
    record.payload = in.Take(length - 1);
    record.tick = static_cast<uint32_t>(tick);
    bool end = record.opcode == wrd_opcode::kEnd;
    if (end && !record.payload.empty()) {
      throw VnlError(record.offset, "終了レコードにデータがあります");
    }
    if (block == 1 && record.opcode == wrd_opcode::kStart) {
      tick = 0;  // the writer starts every batch after a Start record from tick 0
    }
    records.push_back(record);
    if (end) {
      return;
    }
  }
}

}  // namespace

VnlError::VnlError(size_t offset, const std::string& what)
    : VwrdError("バイト位置 " + std::to_string(offset) + ": " + what) {
  WithOffset(offset);
}

std::vector<VnlRecordView> ReadVnlRecords(std::span<const uint8_t> bytes) {
  Cursor in(bytes);
  ReadHeader(in, bytes);
  std::vector<VnlRecordView> records;
  ReadBlock(in, 0, records);
  if (in.AtEnd()) {
    throw VnlError(in.Offset(), "Data ブロックの前でファイルが終わっています");
  }
  ReadBlock(in, 1, records);
  if (!in.AtEnd()) {
    throw VnlError(in.Offset(), "Data ブロックの終わりの後に " + std::to_string(in.Remaining()) +
                                    " バイトあります");
  }
  return records;
}

VnlFile ReadVnl(std::span<const uint8_t> bytes) {
  const std::vector<VnlRecordView> views = ReadVnlRecords(bytes);
  Cursor header(bytes);
  VnlFile file;
  file.version = ReadHeader(header, bytes);
  file.records.reserve(views.size());
  for (const VnlRecordView& view : views) {
    file.records.push_back({view.block, view.tick, view.opcode,
                            std::vector<uint8_t>(view.payload.begin(), view.payload.end()),
                            view.offset});
  }
  return file;
}

VnlFile ReadVnlFile(const std::string& path) {
  const std::string bytes = ReadRegularFile(path, kMaxVnlFileSize);
  return ReadVnl(std::span(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()));
}

// Fuzzes the VNL reader and the record descriptions: any input must either read or fail with a
// VnlError, never crash or hang.
#include <cstddef>
#include <cstdint>
#include <span>

#include "wrd/vnl_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  try {
    VnlFile file = ReadVnl(std::span<const uint8_t>(data, size));
    for (const VnlRecord& record : file.records) {
      DescribeRecord(record);
    }
  } catch (const VnlError&) {
    // Malformed input is expected.
  }
  return 0;
}

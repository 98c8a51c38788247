// vnl-dump FILE.vnl: prints a VNL file's header and one line per record (block, absolute tick,
// opcode, decoded fields). Texts in the file are CP932; they are printed as UTF-8.
#include <cerrno>
#include <clocale>
#include <cstdio>
#include <cstring>
#include <exception>
#include <string>

#include "text/cp932.h"
#include "vwrd_version.h"
#include "wrd/vnl_reader.h"

namespace {

constexpr char kUsage[] =
    "usage: vnl-dump FILE.vnl\n"
    "Prints the header of a Varnel WRD file and one line per record: the block (def: the\n"
    "definition block, data: the Data block), the absolute tick, the opcode in hexadecimal and\n"
    "the record's fields. Exit status: 0 done, 1 unreadable or malformed file, 2 wrong usage.\n";

void Dump(const char* path) {
  VnlFile file = ReadVnlFile(path);
  std::printf("%s: Varnel WRD version %u, %zu records\n", path, file.version, file.records.size());
  std::printf("%-5s %10s %-6s %s\n", "block", "tick", "opcode", "record");
  for (const VnlRecord& record : file.records) {
    std::string line = Cp932ToUtf8(DescribeRecord(record));
    std::printf("%-5s %10u %-6.2X %s\n", record.block == 0 ? "def" : "data", record.tick,
                record.opcode, line.c_str());
  }
}

}  // namespace

int main(int argc, char** argv) {
  // The system's reasons (strerror) in the user's language.
  std::setlocale(LC_MESSAGES, "");
  std::setlocale(LC_CTYPE, "");
  if (PrintVersionIfAsked(argc, argv, "vnl-dump")) return 0;
  if (argc == 2 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0)) {
    std::fputs(kUsage, stdout);
    return 0;
  }
  if (argc != 2 || argv[1][0] == '-') {
    std::fputs(kUsage, stderr);
    return 2;
  }
  try {
    Dump(argv[1]);
  } catch (const VnlError& e) {
    std::fprintf(stderr, "vnl-dump: %s: %s\n", argv[1], e.what());
    return 1;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "vnl-dump: %s\n", e.what());
    return 1;
  }
  if (std::fflush(stdout) != 0) {
    std::fprintf(stderr, "vnl-dump: 出力を書けません: %s\n", std::strerror(errno));
    return 1;
  }
  return 0;
}

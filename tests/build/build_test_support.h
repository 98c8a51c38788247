#pragma once

#include "tests/support/temp_folder.h"

// Shared pieces of the build tests: a scratch folder, a log that records its lines, file
// reading and the records of a VNL file as text.

#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "build/build_log.h"
#include "wrd/vnl_reader.h"

namespace build_test {

namespace fs = std::filesystem;

class RecordingLog : public BuildLog {
 public:
  void BeginLog() override { events.push_back("begin"); }
  void AddLogLine(const std::string& line) override {
    lines.push_back(line);
    events.push_back("line");
  }
  void EndLog() override { events.push_back("end"); }

  std::vector<std::string> lines;
  std::vector<std::string> events;
};

inline std::string ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

inline std::string Hex(const std::vector<uint8_t>& bytes) {
  std::string out;
  char text[4];
  for (uint8_t byte : bytes) {
    std::snprintf(text, sizeof text, out.empty() ? "%02X" : " %02X", byte);
    out += text;
  }
  return out;
}

// "tick opcode: payload" for every record of the Data block.
inline std::vector<std::string> DataRecords(const VnlFile& file) {
  std::vector<std::string> out;
  for (const VnlRecord& record : file.records) {
    if (record.block != 1) continue;
    std::vector<uint8_t> opcode{record.opcode};
    out.push_back(std::to_string(record.tick) + " " + Hex(opcode) +
                  (record.payload.empty() ? "" : ": " + Hex(record.payload)));
  }
  return out;
}

// Moves a file's modification time by `seconds` from now.
inline void SetFileAge(const fs::path& path, int seconds) {
  fs::last_write_time(path, fs::file_time_type::clock::now() + std::chrono::seconds(seconds));
}

}  // namespace build_test

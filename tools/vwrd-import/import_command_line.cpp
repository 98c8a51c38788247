#include "tools/vwrd-import/import_command_line.h"

#include <optional>
#include <string_view>

#include "document/song_argument.h"

namespace {

// A whole decimal number from `least` to `most`, or false.
bool ReadNumber(std::string_view text, int least, int most, int* value) {
  const std::optional<int64_t> number = NumberArgument(text, least, most);
  if (number) *value = static_cast<int>(*number);
  return number.has_value();
}

}  // namespace

ImportCommandLine ParseImportCommandLine(int argc, const char* const* argv) {
  ImportCommandLine line;
  bool options = true;
  int songs = 0;
  auto fail = [&line](std::string message) {
    if (line.Error.empty()) line.Error = std::move(message);
  };
  for (int i = 1; i < argc; ++i) {
    const std::string_view argument = argv[i];
    // An option that takes a value: the next argument.
    auto value = [&](std::string_view name) -> std::string_view {
      if (i + 1 >= argc) {
        fail(std::string(name) + " の後に値がありません");
        return {};
      }
      return argv[++i];
    };
    if (options && argument == "--") {
      options = false;
    } else if (options && (argument == "--help" || argument == "-h")) {
      line.Help = true;
    } else if (options && argument == "--force") {
      line.Force = true;
    } else if (options && argument == "-o") {
      line.Project = value(argument);
    } else if (options && argument == "--template") {
      line.Template = value(argument);
    } else if (options && argument == "--lead") {
      const std::string_view text = value(argument);
      if (!ReadNumber(text, 0, kMaxLead, &line.Settings.lead)) {
        fail("--lead は 0 から " + std::to_string(kMaxLead) +
             " までの数です: " + std::string(text));
      }
    } else if (options && argument == "--lines") {
      const std::string_view text = value(argument);
      if (!ReadNumber(text, 1, kMaxLinesPerPage, &line.Settings.lines_per_page)) {
        fail("--lines は 1 から " + std::to_string(kMaxLinesPerPage) +
             " までの数です: " + std::string(text));
      }
    } else if (options && argument.size() > 1 && argument[0] == '-') {
      fail("不明なオプションです: " + std::string(argument));
    } else {
      ++songs;
      line.Song = argument;
    }
  }
  if (!line.Error.empty()) {
    line.Error += "（vwrd-import --help を参照）";
  } else if (!line.Help && songs != 1) {
    line.Error = songs == 0 ? "曲のファイル (SONG.mid) を指定してください"
                            : "曲のファイルは一つだけ指定してください";
  }
  return line;
}

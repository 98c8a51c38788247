#include "tools/vwrd-make/command_line.h"

#include <string_view>

namespace {

bool EndsWithIgnoringCase(std::string_view text, std::string_view end) {
  if (text.size() < end.size()) return false;
  for (size_t i = 0; i < end.size(); ++i) {
    char c = text[text.size() - end.size() + i];
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    if (c != end[i]) return false;
  }
  return true;
}

}  // namespace

CommandLine ParseCommandLine(int argc, const char* const* argv) {
  CommandLine line;
  bool options = true;
  int songs = 0;
  for (int i = 1; i < argc; ++i) {
    const std::string_view argument = argv[i];
    if (options && argument == "--") {
      options = false;
    } else if (options && (argument == "--help" || argument == "-h")) {
      line.Help = true;
    } else if (options && argument == "--check") {
      line.Check = true;
    } else if (options && argument.size() > 1 && argument[0] == '-') {
      if (line.Error.empty()) line.Error = "不明なオプションです: " + std::string(argument);
    } else {
      ++songs;
      line.Song = argument;
    }
  }
  if (!line.Error.empty()) {
    line.Error += "（vwrd-make --help を参照）";
  } else if (line.Help) {
    // Help needs no song.
  } else if (songs != 1) {
    line.Error = songs == 0 ? "曲のファイル (SONG.mid か SONG.vwm) を指定してください"
                            : "曲のファイルは一つだけ指定してください";
  } else if (!EndsWithIgnoringCase(line.Song, ".mid") && !EndsWithIgnoringCase(line.Song, ".vwm")) {
    line.Error =
        "MIDI ファイル (.mid) でもプロジェクトファイル (.vwm) でもありません: " + line.Song;
  }
  return line;
}

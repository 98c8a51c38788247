#include "tools/vwrd-make/command_line.h"

#include <filesystem>
#include <string_view>

#include "document/song_argument.h"

namespace {

std::string Quoted(std::string_view text) { return "\"" + std::string(text) + "\""; }

bool IsFolder(const std::string& name) {
  std::error_code error;
  return !name.empty() && std::filesystem::is_directory(name, error);
}

}  // namespace

CommandLine ParseCommandLine(int argc, const char* const* argv) {
  CommandLine line;
  bool options = true;
  auto fail = [&line](std::string error) {
    if (line.Error.empty()) line.Error = std::move(error);
  };
  for (int i = 1; i < argc; ++i) {
    const std::string argument = argv[i];
    if (options && argument == "--") {
      options = false;
    } else if (options && (argument == "--help" || argument == "-h")) {
      line.Help = true;
    } else if (options && argument == "--check") {
      line.Check = true;
    } else if (options && argument == "--jobs") {
      const std::string value = i + 1 < argc ? argv[++i] : "";
      const std::optional<int64_t> jobs = NumberArgument(value, 1, CommandLine::kMaxJobs);
      if (!jobs) {
        fail("--jobs の値が正しくありません: " + Quoted(value) + " (1から" +
             std::to_string(CommandLine::kMaxJobs) + "の整数を指定してください)");
      }
      line.Jobs = static_cast<int>(jobs.value_or(line.Jobs));
    } else if (options && argument.size() > 1 && argument[0] == '-') {
      fail("不明なオプションです: " + Quoted(argument) +
           " (使えるのは --check、--jobs N、--help、--version)");
    } else if (!IsSongOrProject(argument) && !IsFolder(argument)) {
      fail("MIDI ファイル (.mid)、プロジェクトファイル (.vwm)、フォルダのどれでもありません: " +
           Quoted(argument));
    } else {
      line.Songs.push_back(argument);
    }
  }
  if (line.Help) return line;
  if (line.Error.empty() && line.Songs.empty()) {
    line.Error = "曲のファイル (SONG.mid か SONG.vwm) かフォルダを指定してください";
  }
  if (!line.Error.empty()) line.Error += "（vwrd-make --help を参照）";
  return line;
}

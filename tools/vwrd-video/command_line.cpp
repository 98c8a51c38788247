#include "tools/vwrd-video/command_line.h"

#include <optional>
#include <string_view>

#include "document/song_argument.h"
#include "video/frame_clock.h"

namespace {

// A name as the user typed it, set off from the text around it.
std::string Quoted(std::string_view text) { return "「" + std::string(text) + "」"; }

bool EndsWithIgnoringCase(std::string_view text, std::string_view end) {
  if (text.size() < end.size()) return false;
  for (size_t i = 0; i < end.size(); ++i) {
    char c = text[text.size() - end.size() + i];
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    if (c != end[i]) return false;
  }
  return true;
}

std::optional<int> ParseNumber(std::string_view text, int low, int high) {
  const std::optional<int64_t> number = NumberArgument(text, low, high);
  if (!number) return std::nullopt;
  return static_cast<int>(*number);
}

// Reads the value of option `name` into `line`; the error when it is not allowed.
std::string TakeValue(std::string_view name, std::string_view value, VideoCommandLine& line) {
  if (name == "-o") {
    if (value.empty()) return "-o の書き出し先が空です";
    line.Output = value;
    return {};
  }
  if (name == "--fps") {
    const std::optional<int> fps = ParseNumber(value, FrameClock::kMinFps, FrameClock::kMaxFps);
    if (!fps) {
      return "--fps の値" + Quoted(value) + "は使えません (" + std::to_string(FrameClock::kMinFps) +
             " から " + std::to_string(FrameClock::kMaxFps) + " までの整数)";
    }
    line.Options.fps = *fps;
    return {};
  }
  const std::optional<int> scale = ParseNumber(value, 1, 2);
  if (!scale) return "--scale の値" + Quoted(value) + "は使えません (1 か 2)";
  line.Options.scale = *scale;
  return {};
}

}  // namespace

VideoCommandLine ParseVideoCommandLine(int argc, const char* const* argv) {
  VideoCommandLine line;
  bool options = true;
  int songs = 0;
  bool seen_o = false, seen_fps = false, seen_scale = false;
  const auto fail = [&line](std::string error) {
    if (line.Error.empty()) line.Error = std::move(error);
  };
  for (int i = 1; i < argc; ++i) {
    const std::string_view argument = argv[i];
    if (options && argument == "--") {
      options = false;
    } else if (options && (argument == "--help" || argument == "-h")) {
      line.Help = true;
    } else if (options && (argument == "-o" || argument == "--fps" || argument == "--scale")) {
      bool& seen = argument == "-o" ? seen_o : argument == "--fps" ? seen_fps : seen_scale;
      if (seen) fail(std::string(argument) + " が二度指定されています");
      seen = true;
      if (i + 1 >= argc) {
        fail(std::string(argument) +
             (argument == "-o" ? " の後に書き出す動画ファイルを指定してください"
              : argument == "--fps" ? " の後に 1 秒あたりのコマ数 (1 から 120) を指定してください"
                                    : " の後に 1 か 2 を指定してください"));
        break;
      }
      fail(TakeValue(argument, argv[++i], line));
    } else if (options && argument.size() > 1 && argument[0] == '-') {
      fail("不明なオプションです: " + Quoted(argument) +
           " (使えるのは -o、--fps、--scale、--help、--version)");
    } else {
      ++songs;
      if (songs == 2) fail("曲のファイルは一つだけ指定してください: " + Quoted(argument));
      if (songs == 1) line.Song = argument;
    }
  }
  if (line.Error.empty() && !line.Help) {
    if (songs == 0) {
      line.Error = "曲のファイル (SONG.mid か SONG.vwm) を指定してください";
    } else if (!EndsWithIgnoringCase(line.Song, ".mid") &&
               !EndsWithIgnoringCase(line.Song, ".vwm")) {
      line.Error = "MIDI ファイル (.mid) でもプロジェクトファイル (.vwm) でもありません: " +
                   Quoted(line.Song);
    }
  }
  if (!line.Error.empty()) line.Error += " (vwrd-video --help を参照)";
  return line;
}

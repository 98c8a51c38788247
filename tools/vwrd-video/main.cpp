// vwrd-video SONG.mid [-o OUT.mp4] [--fps N] [--scale 1|2]: writes the show of a song's project
// as an MP4 video with the song's sound.
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <exception>
#include <memory>
#include <optional>
#include <string>

#include "document/names.h"
#include "document/project_file.h"
#include "text/cp932.h"
#include "video/show_video.h"
#include "video/video_error.h"
#include "vwrd_version.h"

namespace {

constexpr char kUsage[] =
    "使い方: vwrd-video SONG.mid [-o OUT.mp4] [--fps N] [--scale 1|2]\n"
    "\n"
    "曲のプロジェクトファイル (SONG.vwm、MIDIファイルと同じフォルダ) から WRD の表示を\n"
    "メモリ上で作り、曲の音と合わせて MP4 動画 (H.264 映像、AAC 音声) に書き出します。\n"
    "PNG、VNL、EVN ファイルは書きません。音はプログラムが再生に使う FluidSynth と\n"
    "General MIDI の音色ファイルで作ります。動画の長さは曲と、音の余韻 (3 秒まで) です。\n"
    "\n"
    "  -o OUT.mp4    書き出す動画ファイル (省略時は曲と同じフォルダの SONG.mp4)\n"
    "  --fps N       1 秒あたりのコマ数 (1 から 120、省略時は 30)\n"
    "  --scale 1|2   1: 640 x 480、2: 1280 x 960 (画素を拡大してくっきりと)\n"
    "  --help        この説明を表示して終了\n"
    "  --version     版を表示して終了\n"
    "\n"
    "進み具合は標準エラー出力に表示します。\n"
    "終了コード: 0 書き出した、1 書き出せない (理由を表示し、書きかけのファイルは残しません)、\n"
    "2 コマンドラインの誤り。\n";

// Set by Ctrl+C or a termination request: the export stops at the next frame and removes its
// temporary file. A signal handler can reach nothing but a static flag.
volatile std::sig_atomic_t interrupted = 0;

void Interrupt(int) { interrupted = 1; }

struct Arguments {
  std::string song;
  std::string output;
  VideoOptions options;
};

std::optional<int> ParseNumber(const std::string& text, int low, int high) {
  if (text.empty() || text.size() > 3) return std::nullopt;
  int value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + (c - '0');
  }
  if (value < low || value > high) return std::nullopt;
  return value;
}

std::optional<Arguments> Parse(int argc, char** argv) {
  Arguments arguments;
  bool have_fps = false, have_scale = false;
  for (int i = 1; i < argc; ++i) {
    const std::string argument = argv[i];
    if ((argument == "-o" || argument == "--fps" || argument == "--scale") && i + 1 < argc) {
      const std::string value = argv[++i];
      if (argument == "-o") {
        if (!arguments.output.empty() || value.empty()) return std::nullopt;
        arguments.output = value;
      } else if (argument == "--fps") {
        const std::optional<int> fps = ParseNumber(value, 1, 120);
        if (!fps || have_fps) return std::nullopt;
        arguments.options.fps = *fps;
        have_fps = true;
      } else {
        const std::optional<int> scale = ParseNumber(value, 1, 2);
        if (!scale || have_scale) return std::nullopt;
        arguments.options.scale = *scale;
        have_scale = true;
      }
    } else if (argument.empty() || argument[0] == '-' || !arguments.song.empty()) {
      return std::nullopt;
    } else {
      arguments.song = argument;
    }
  }
  if (arguments.song.empty()) return std::nullopt;
  return arguments;
}

// One line on standard error, rewritten in place on a terminal and at most twice a second.
class ProgressLine {
 public:
  bool operator()(int64_t written_micros, int64_t song_end_micros) {
    if (interrupted) return false;
    const auto now = std::chrono::steady_clock::now();
    if (now - last_ < std::chrono::milliseconds(500)) return true;
    last_ = now;
    const double done = written_micros / 1e6, total = song_end_micros / 1e6;
    const int percent = total > 0 ? std::min(100, int(100 * done / total)) : 100;
    std::fprintf(stderr, "%s動画を書き出しています: %.1f / %.1f 秒 (%d%%)%s", terminal_ ? "\r" : "",
                 done, total, percent, terminal_ ? "" : "\n");
    shown_ = true;
    return true;
  }
  void End() {
    if (shown_ && terminal_) std::fputc('\n', stderr);
  }

 private:
  bool terminal_ = ::isatty(STDERR_FILENO) != 0;
  bool shown_ = false;
  std::chrono::steady_clock::time_point last_{};
};

int Fail(const std::string& message) {
  std::fprintf(stderr, "vwrd-video: %s\n", message.c_str());
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 2 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0)) {
    std::fputs(kUsage, stdout);
    return 0;
  }
  if (PrintVersionIfAsked(argc, argv, "vwrd-video")) return 0;
  std::optional<Arguments> arguments = Parse(argc, argv);
  if (!arguments) {
    std::fputs("vwrd-video: コマンドラインが正しくありません (vwrd-video --help を参照)\n", stderr);
    return 2;
  }
  std::signal(SIGINT, Interrupt);
  std::signal(SIGTERM, Interrupt);
  ProgressLine progress;
  try {
    auto table = std::make_unique<EventTable>();
    SetMidiPath(*table, Utf8ToCp932(arguments->song));
    const ProjectLoad load = ReadProject(*table);
    if (!load.Loaded()) return Fail("プロジェクトファイルを読めません: " + load.Message);
    if (!load.Message.empty()) std::fprintf(stderr, "vwrd-video: %s\n", load.Message.c_str());
    const std::string output =
        arguments->output.empty() ? DefaultVideoPath(*table) : arguments->output;
    ExportShowVideo(*table, output, arguments->options, std::ref(progress));
    progress.End();
    std::fprintf(stderr, "vwrd-video: %s を書き出しました\n", output.c_str());
    return 0;
  } catch (const std::exception& error) {
    progress.End();
    return Fail(error.what());
  }
}

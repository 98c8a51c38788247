// vwrd-video SONG.mid|SONG.vwm [-o OUT.mp4] [--fps N] [--scale 1|2]: writes the show of a song's
// project as an MP4 video with the song's sound.
#include <unistd.h>

#include <cctype>
#include <chrono>
#include <clocale>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <exception>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "document/names.h"
#include "document/project_file.h"
#include "text/cp932.h"
#include "tools/vwrd-video/command_line.h"
#include "video/show_video.h"
#include "video/video_error.h"
#include "vwrd_version.h"

namespace {

constexpr char kUsage[] =
    "使い方: vwrd-video SONG.mid [-o OUT.mp4] [--fps N] [--scale 1|2]\n"
    "        vwrd-video SONG.vwm [-o OUT.mp4] [--fps N] [--scale 1|2]\n"
    "\n"
    "曲のプロジェクトファイル (SONG.vwm、MIDIファイルと同じフォルダ) から WRD の表示を\n"
    "メモリ上で作り、曲の音と合わせて MP4 動画 (H.264 映像、AAC 音声) に書き出します。\n"
    "PNG、VNL、EVN ファイルは書きません。音はプログラムが再生に使う FluidSynth と\n"
    "General MIDI の音色ファイルで作ります。動画の長さは曲と、音の余韻 (3 秒まで) です。\n"
    "画像は Make と同じように読み、使えない画像 (読めない、256 色でない、表示に使える\n"
    "メモリ 256 MiB に入らない) は理由を表示して、その画像なしで書き出します。\n"
    "\n"
    "  -o OUT.mp4    書き出す動画ファイル (省略時は曲と同じフォルダの SONG.mp4)\n"
    "  --fps N       1 秒あたりのコマ数 (1 から 120、省略時は 30)\n"
    "  --scale 1|2   1: 640 x 480、2: 1280 x 960 (画素を拡大してくっきりと)\n"
    "  --help        この説明を表示して終了\n"
    "  --version     版を表示して終了\n"
    "\n"
    "進み具合は標準エラー出力に表示します。Ctrl+C で止めると、書きかけのファイルは残しません。\n"
    "終了コード: 0 プロジェクトのとおりの動画を書き出した、1 書き出せない、または書き出した\n"
    "動画がプロジェクトのとおりでない (使えない画像がある、プロジェクトファイルが途中で\n"
    "切れている。理由を表示します)、2 コマンドラインの誤り。\n";

// Whether the export has begun: before it a signal ends the program at once (nothing is written
// yet); during it the export stops at the next frame and removes its file, and a second signal
// ends the program at once. A signal handler can reach nothing but static flags.
volatile std::sig_atomic_t exporting = 0;
volatile std::sig_atomic_t interrupted = 0;

void Interrupt(int signal) {
  if (exporting == 0 || interrupted != 0) {
    std::signal(signal, SIG_DFL);
    std::raise(signal);
    return;
  }
  interrupted = signal;
}

// Ends the program by the signal that asked it to, as the shell expects of an interrupted tool.
[[noreturn]] void EndByInterrupt() {
  std::signal(interrupted, SIG_DFL);
  std::raise(interrupted);
  std::_Exit(128 + interrupted);
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
    shown_ = false;
  }

 private:
  bool terminal_ = ::isatty(STDERR_FILENO) != 0;
  bool shown_ = false;
  std::chrono::steady_clock::time_point last_{};
};

void Say(const std::string& message) { std::fprintf(stderr, "vwrd-video: %s\n", message.c_str()); }

int Fail(const std::string& message) {
  Say(message);
  return 1;
}

bool EndsWithProjectExtension(const std::string& name) {
  if (name.size() < 4) return false;
  std::string end = name.substr(name.size() - 4);
  for (char& c : end) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return end == ".vwm";
}

// The song of the project or song the user named: a project file SONG.vwm belongs to SONG.mid
// beside it (SONG.MID where only that one is there).
void SetSong(EventTable& table, const std::string& typed) {
  SetMidiPath(table, Utf8ToCp932(typed));
  if (!EndsWithProjectExtension(typed)) return;
  const std::string stem = table.MidiFolder + table.BaseName;
  std::error_code error;
  const bool upper = !std::filesystem::exists(Cp932ToUtf8(stem + "mid"), error) &&
                     std::filesystem::exists(Cp932ToUtf8(stem + "MID"), error);
  SetMidiPath(table, stem + (upper ? "MID" : "mid"));
}

int Run(const VideoCommandLine& line) {
  ProgressLine progress;
  try {
    auto table = std::make_unique<EventTable>();
    SetSong(*table, line.Song);
    const ProjectLoad load = ReadProject(*table);
    if (!load.Loaded()) return Fail("プロジェクトファイルを読めません: " + load.Message);
    if (!load.Message.empty()) Say(load.Message);
    ShowVideoExport video(*table);
    // Each picture the show refuses, as Make logs it.
    const std::vector<std::string> refusals = video.Refusals();
    for (const std::string& refusal : refusals) {
      for (size_t at = 0; at <= refusal.size();) {
        const size_t end = std::min(refusal.find('\n', at), refusal.size());
        Say(refusal.substr(at, end - at));
        at = end + 1;
      }
    }
    const std::string output = line.Output.empty() ? DefaultVideoPath(*table) : line.Output;
    exporting = 1;
    video.Export(output, line.Options, std::ref(progress));
    progress.End();
    const bool whole = load.status == ProjectLoad::Status::kLoaded;
    if (refusals.empty() && whole) {
      Say(output + " を書き出しました");
      return 0;
    }
    Say(output + " を書き出しましたが、プロジェクトのとおりではありません (" +
        (refusals.empty() ? std::string("プロジェクトファイルを最後まで読めません")
                          : "使えない画像が " + std::to_string(refusals.size()) + " 枚あります") +
        ")");
    return 1;
  } catch (const VideoCancelled&) {
    progress.End();
    if (interrupted != 0) EndByInterrupt();
    return Fail(VideoCancelled().what());
  } catch (const std::exception& error) {
    progress.End();
    return Fail(error.what());
  }
}

}  // namespace

int main(int argc, char** argv) {
  std::setlocale(LC_MESSAGES, "");
  std::setlocale(LC_CTYPE, "");
  if (PrintVersionIfAsked(argc, argv, "vwrd-video")) return 0;
  const VideoCommandLine line = ParseVideoCommandLine(argc, argv);
  if (line.Help && line.Error.empty()) {
    std::fputs(kUsage, stdout);
    return 0;
  }
  if (!line.Error.empty()) {
    Say(line.Error);
    return 2;
  }
  std::signal(SIGINT, Interrupt);
  std::signal(SIGTERM, Interrupt);
  return Run(line);
}

// vwrd-make: "Make" without a window. Loads the project file beside a MIDI file and writes the
// VNL file, the text script and the PNG files into the song's folder, then lists what the checks
// found; with --check it only lists that. Several songs, or a folder of them, are built one after
// another or several at once, each song's lines kept together, and summed up at the end.

#include <algorithm>
#include <atomic>
#include <clocale>
#include <condition_variable>
#include <cstdio>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "checks/problem_lines.h"
#include "text/cp932.h"
#include "tools/vwrd-make/command_line.h"
#include "tools/vwrd-make/song_list.h"
#include "tools/vwrd-make/song_run.h"
#include "vwrd_version.h"

namespace {

constexpr char kUsage[] =
    "使い方: vwrd-make [--check] [--jobs N] SONG.mid|SONG.vwm|フォルダ...\n"
    "\n"
    "曲のプロジェクトファイル (MIDI ファイルの横の SONG.vwm) から WRD ファイルを作ります:\n"
    "SONG.vnl、SONG.evn と、PNG ファイルがないか古い BMP 画像ごとの PNG ファイルを、曲の\n"
    "フォルダに書きます。MIDI ファイルは曲の長さ (チェック用) のためだけに読み、なくても\n"
    "かまいません。作成のログを標準出力に書き、続けてチェックが見つけた問題を一行ずつ\n"
    "\"#N 重さ: 説明 [id]\" の形で書きます (プロジェクト全体の問題は \"- ...\")。\n"
    "\n"
    "曲はいくつでも指定できます。フォルダを指定すると、その中 (下のフォルダは含まない) の\n"
    "プロジェクトファイルのある MIDI ファイルをすべて名前順に扱います。二曲以上のときは、\n"
    "曲ごとに \"=== 曲 ===\" の見出しとその曲の出力をまとめて書き、最後に曲ごとの結果\n"
    "(\"OK\" か、エラーと警告の件数) を一行ずつと合計を書きます。失敗した曲があっても\n"
    "残りの曲を続けます。\n"
    "\n"
    "  --check    問題を調べて書くだけで、ファイルは書きません\n"
    "  --jobs N   N 曲を同時に作ります (1から64、既定は1)。書くファイルは一曲ずつと同じです\n"
    "  --help     この説明を表示して終了\n"
    "  --version  版を表示して終了\n"
    "\n"
    "終了コード (二曲以上のときは曲の中で最も悪いもの): 0 作成のログにエラーがない、\n"
    "1 エラーがあった、またはプロジェクトファイルが途中で切れているか 1024 を超えるイベントを\n"
    "持っていた (読めたところから作り、標準エラー出力に一行書きます)、または MIDI ファイルは\n"
    "あるが読めない (名前付きパイプ、壊れている、2 時間を超える; 曲の長さなしで作り、標準\n"
    "エラー出力に理由を一行書きます)、2 プロジェクトファイルが読めないかプロジェクトファイル\n"
    "でない (何も書きません)、またはコマンドラインの誤り。\n"
    "--check では: 0 何も見つからなかった、1 何か見つかったか MIDI ファイルが読めない、\n"
    "2 同上。\n";

// Lines written as they come.
class DirectOutput : public SongOutput {
 public:
  void Out(const std::string& line) override {
    std::fputs(line.c_str(), stdout);
    std::fputc('\n', stdout);
  }
  void Err(const std::string& line) override {
    std::fflush(stdout);
    std::fprintf(stderr, "%s\n", line.c_str());
  }
};

// Lines kept until the song is done, so that songs built at once do not mix their lines.
class KeptOutput : public SongOutput {
 public:
  void Out(const std::string& line) override { lines_.push_back({false, line}); }
  void Err(const std::string& line) override { lines_.push_back({true, line}); }
  void WriteTo(SongOutput& output) const {
    for (const auto& [isError, line] : lines_) isError ? output.Err(line) : output.Out(line);
  }

 private:
  std::vector<std::pair<bool, std::string>> lines_;
};

std::string Summary(const SongResult& result) {
  if (result.Failed) return "失敗";
  if (result.Errors + result.Warnings == 0) return "OK";
  return Cp932ToUtf8(CountLine(result.Errors, result.Warnings));
}

// Runs the songs on `jobs` threads; each song's lines are written, in the songs' order, when
// it and every song before it are done.
std::vector<SongResult> RunSongs(const std::vector<std::string>& songs, bool check, int jobs) {
  DirectOutput direct;
  std::vector<SongResult> results(songs.size());
  std::vector<KeptOutput> kept(songs.size());
  std::vector<bool> done(songs.size(), false);
  std::mutex mutex;
  std::condition_variable finished;
  std::atomic<size_t> next{0};
  const auto work = [&] {
    for (size_t i; (i = next++) < songs.size();) {
      const SongResult result = RunSong(songs[i], check, kept[i]);
      const std::lock_guard<std::mutex> lock(mutex);
      results[i] = result;
      done[i] = true;
      finished.notify_all();
    }
  };
  std::vector<std::thread> threads;
  for (int j = 0; j < std::min<int>(jobs, int(songs.size())); ++j) threads.emplace_back(work);
  for (size_t i = 0; i < songs.size(); ++i) {
    std::unique_lock<std::mutex> lock(mutex);
    finished.wait(lock, [&] { return bool(done[i]); });
    lock.unlock();
    direct.Out("=== " + songs[i] + " ===");
    kept[i].WriteTo(direct);
    std::fflush(stdout);
  }
  for (std::thread& thread : threads) thread.join();
  return results;
}

int Fail(const std::string& message) {
  std::fprintf(stderr, "vwrd-make: %s\n", message.c_str());
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  // The system's reasons (strerror) in the user's language.
  std::setlocale(LC_MESSAGES, "");
  std::setlocale(LC_CTYPE, "");
  if (PrintVersionIfAsked(argc, argv, "vwrd-make")) return 0;
  const CommandLine line = ParseCommandLine(argc, argv);
  if (line.Help && line.Error.empty()) {
    std::fputs(kUsage, stdout);
    return 0;
  }
  if (!line.Error.empty()) return Fail(line.Error);
  std::string error;
  const std::vector<std::string> songs = ListSongs(line.Songs, error);
  if (!error.empty()) return Fail(error);
  if (songs.size() == 1 && line.Songs.front() == songs.front()) {
    DirectOutput output;
    const int status = RunSong(songs.front(), line.Check, output).Status;
    std::fflush(stdout);
    return status;
  }
  const std::vector<SongResult> results = RunSongs(songs, line.Check, line.Jobs);
  int worst = 0, errors = 0, warnings = 0, failed = 0;
  std::puts("=== 結果 ===");
  for (size_t i = 0; i < songs.size(); ++i) {
    std::printf("%s: %s\n", songs[i].c_str(), Summary(results[i]).c_str());
    worst = std::max(worst, results[i].Status);
    errors += results[i].Errors;
    warnings += results[i].Warnings;
    failed += results[i].Failed ? 1 : 0;
  }
  std::string total =
      "合計 " + std::to_string(songs.size()) + " 曲: " + Cp932ToUtf8(CountLine(errors, warnings));
  if (failed > 0) total += "、失敗 " + std::to_string(failed) + " 曲";
  std::puts(total.c_str());
  return std::fflush(stdout) == 0 ? worst : std::max(worst, 1);
}

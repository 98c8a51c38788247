// vwrd-make facing what a careful user's system produces: pipes and endless files, files that
// are no project, a run killed at random moments, read-only outputs of a normal user, a show
// larger than any reader takes. None of them hangs, leaves files behind or reports success.

#include <gtest/gtest.h>

#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <random>
#include <set>
#include <string>
#include <thread>

#include "document/names.h"
#include "document/project_file.h"
#include "make/test_bmp_writer.h"
#include "tests/support/program_run.h"
#include "tests/support/temp_folder.h"

namespace {

namespace fs = std::filesystem;

using test_support::ProgramRun;
using test_support::ReadAll;

class VwrdMakeRefusalsTest : public testing::Test {
 protected:
  // Runs vwrd-make on NAME.mid, as `prefix` says (e.g. another user); a hang ends after 60 s
  // with status 124 rather than stopping the suite.
  ProgramRun Make(const std::string& name = "song", const std::string& prefix = "") {
    return test_support::RunProgram(VWRD_MAKE_EXE, {temp_.File(name + ".mid")}, temp_.Path(),
                                    prefix + " timeout 60");
  }

  std::string Song() const { return temp_.File("song.mid"); }
  fs::path File(const std::string& name) const { return folder_ / name; }

  // Two pictures of 320 x 240 and two events.
  void WriteSong() {
    auto table = std::make_unique<EventTable>();
    SetMidiPath(*table, Song());
    for (int i = 0; i < 2; ++i) {
      const std::string picture = i == 0 ? "a.bmp" : "b.bmp";
      test_bmp::WritePlainBmp(File(picture), 320, 240, i + 1);
      table->events[i].Mark = i == 0 ? "one" : "two";
      table->events[i].Count = 16 * (i + 1);
      table->events[i].Picture = picture;
      table->events[i].Lyrics = "la";
    }
    table->EventCount = 2;
    WriteProject(*table);
  }

  TempFolder temp_{"vwrd-refusals"};
  const fs::path& folder_ = temp_.Path();
};

// A named pipe blocked open() for ever; /dev/zero was read without end.
TEST_F(VwrdMakeRefusalsTest, APipeAnEndlessOrAHugeProjectIsRefusedAtOnce) {
  ASSERT_EQ(::mkfifo(File("pipe.vwm").c_str(), 0600), 0);
  fs::create_symlink("/dev/zero", File("zero.vwm"));
  test_bmp::WriteFile(File("huge.vwm"), "");
  fs::resize_file(File("huge.vwm"), kMaxProjectFileSize + 1);  // sparse: takes no disk space
  const std::pair<std::string, std::string> cases[] = {
      {"pipe", "通常のファイルではありません (名前付きパイプ)"},
      {"zero", "通常のファイルではありません (デバイス)"},
      {"huge", "ファイルが大きすぎます (64 MiBまで)"},
  };
  for (const auto& [name, reason] : cases) {
    const ProgramRun run = Make(name);
    EXPECT_EQ(run.status, 2) << name;
    EXPECT_EQ(run.err, "vwrd-make: " + File(name + ".vwm").string() + ": " + reason + "\n");
  }
}

// A picture and a song that are named pipes hung the checks after Make, and the song's open.
TEST_F(VwrdMakeRefusalsTest, APipeAsPictureOrSongIsRefusedWithTheReasonAndNothingWaits) {
  WriteSong();
  fs::remove(File("a.bmp"));
  ASSERT_EQ(::mkfifo(File("a.bmp").c_str(), 0600), 0);
  ASSERT_EQ(::mkfifo(Song().c_str(), 0600), 0);
  const std::string pipe = ": 通常のファイルではありません (名前付きパイプ)";
  for (const std::string check : {"", "--check"}) {
    std::vector<std::string> arguments = {Song()};
    if (!check.empty()) arguments.push_back(check);
    const ProgramRun run =
        test_support::RunProgram(VWRD_MAKE_EXE, arguments, temp_.Path(), "timeout 60");
    EXPECT_EQ(run.status, 1) << check;
    EXPECT_EQ(run.err, "vwrd-make: " + Song() + pipe + "\n") << check;
    EXPECT_NE(run.out.find("#1 エラー: 画像ファイル " + File("a.bmp").string() + " を開けません" +
                           pipe + " [missing-picture]\n"),
              std::string::npos)
        << run.out;
  }
}

TEST_F(VwrdMakeRefusalsTest, AFileThatIsNoProjectLeavesTheOutputsAsTheyWere) {
  WriteSong();
  ASSERT_EQ(Make().status, 0);
  const std::string vnl = ReadAll(File("song.vnl"));
  const std::string evn = ReadAll(File("song.evn"));
  for (const std::string bytes :
       {"", "Varnel WRD Maker Format 1\r@\rone\r16\r", "\x89PNG\r\n\x1A\n"}) {
    test_bmp::WriteFile(File("song.vwm"), bytes);
    const ProgramRun run = Make();
    EXPECT_EQ(run.status, 2) << bytes;
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
    EXPECT_NE(run.err.find("プロジェクトファイルではありません"), std::string::npos) << run.err;
    EXPECT_EQ(ReadAll(File("song.vnl")), vnl);
    EXPECT_EQ(ReadAll(File("song.evn")), evn);
  }
}

TEST_F(VwrdMakeRefusalsTest, AProjectCutShortIsBuiltFromItsCompleteEventsWithStatusOne) {
  WriteSong();
  const std::string whole = ReadAll(File("song.vwm"));
  test_bmp::WriteFile(File("song.vwm"), whole.substr(0, whole.size() - 10));
  const ProgramRun run = Make();
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.err.find("最後のイベント (2番目) が途中で切れている"), std::string::npos)
      << run.err;
  EXPECT_EQ(ReadAll(File("song.evn")).find("// two"), std::string::npos);
}

// Every kill -9 could leave a temporary file; a PNG must be whole or absent.
TEST_F(VwrdMakeRefusalsTest, RunsKilledAtRandomMomentsLeaveNoTemporaryFile) {
  WriteSong();
  const auto start = std::chrono::steady_clock::now();
  ASSERT_EQ(Make().status, 0);
  const auto run_time = std::chrono::steady_clock::now() - start;
  std::mt19937 random(16);
  for (int kill = 0; kill < 30; ++kill) {
    fs::remove(File(kill % 2 == 0 ? "a.png" : "b.png"));  // so that a conversion runs
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      ::freopen("/dev/null", "w", stdout);
      ::execl(VWRD_MAKE_EXE, VWRD_MAKE_EXE, Song().c_str(), static_cast<char*>(nullptr));
      ::_exit(127);
    }
    std::this_thread::sleep_for(run_time * (random() % 1000) / 1000);
    ::kill(child, SIGKILL);
    ::waitpid(child, nullptr, 0);
  }
  const std::set<std::string> expected = {"song.vwm", "a.bmp",    "b.bmp",   "a.png",
                                          "b.png",    "song.vnl", "song.evn"};
  for (const std::string& name : temp_.Names()) EXPECT_TRUE(expected.contains(name)) << name;
  for (const char* png : {"a.png", "b.png"}) {
    if (fs::exists(File(png))) {
      EXPECT_TRUE(ReadAll(File(png)).ends_with("IEND\xAE\x42\x60\x82")) << png;
    }
  }
}

// ProgramRun as a normal user: read-only outputs are replaced and stay read-only; outputs in a
// folder the user may not write to are error lines, not a crash, and stay as they were.
TEST_F(VwrdMakeRefusalsTest, ReadOnlyOutputsOfANormalUserAreReplacedAndKeepTheirMode) {
  if (::geteuid() != 0 || std::system("command -v setpriv >/dev/null") != 0) {
    GTEST_SKIP() << "needs root and setpriv to run as another user";
  }
  const std::string asNobody = "setpriv --reuid=65534 --regid=65534 --clear-groups";
  WriteSong();
  ASSERT_EQ(std::system(("chown -R 65534:65534 '" + folder_.string() + "'").c_str()), 0);
  ASSERT_EQ(Make("song", asNobody).status, 0);
  for (const char* name : {"song.vnl", "song.evn", "a.png"})
    fs::permissions(File(name), fs::perms(0444));
  fs::last_write_time(File("a.bmp"), fs::last_write_time(File("a.png")) + std::chrono::hours(1));
  auto writeReadOnly = [this](const std::string& bytes) {
    fs::permissions(File("song.vnl"), fs::perms(0644));
    test_bmp::WriteFile(File("song.vnl"), bytes);
    fs::permissions(File("song.vnl"), fs::perms(0444));
  };
  writeReadOnly("old");
  ProgramRun run = Make("song", asNobody);
  EXPECT_EQ(run.status, 0) << run.out;
  EXPECT_NE(ReadAll(File("song.vnl")), "old");  // replaced in spite of its mode
  for (const char* name : {"song.vnl", "song.evn", "a.png"}) {
    struct stat info {};
    ASSERT_EQ(::stat(File(name).c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0444u) << name;
    EXPECT_EQ(info.st_uid, 65534u) << name;
  }
  // A folder the user may not write to, and an output that has to change.
  ASSERT_EQ(::chown(folder_.c_str(), 0, 0), 0);
  fs::permissions(folder_, fs::perms(0755));
  writeReadOnly("stale");
  run = Make("song", asNobody);
  EXPECT_EQ(run.status, 1) << run.out << run.err;
  EXPECT_NE(
      run.out.find("エラー: VNLファイルの出力に失敗 " + File("song.vnl").string() + "\n原因: "),
      std::string::npos)
      << run.out;
  EXPECT_NE(run.out.find("アクセス権がありません"), std::string::npos) << run.out;
  EXPECT_EQ(ReadAll(File("song.vnl")), "stale");
}

}  // namespace

// The outputs: where they go, what a failure logs, and that a failure keeps the old files.

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <algorithm>
#include <csignal>

#include "make/build_case.h"
#include "text/cp932.h"

namespace {

using namespace build_test;
using Lines = std::vector<std::string>;

const std::string kVnlFailed =
    kErrorPrefix +
    "VNL\x83\x74\x83\x40\x83\x43\x83\x8B\x82\xCC\x8F\x6F\x97\xCD\x82\xC9\x8E\xB8\x94\x73 ";
const std::string kEvnFailed =
    kErrorPrefix +
    "EVN\x83\x74\x83\x40\x83\x43\x83\x8B\x82\xCC\x8F\x6F\x97\xCD\x82\xC9\x8E\xB8\x94\x73 ";

// The line after `line` in the log (UTF-8): the reason line of a failure; empty when none.
std::string LineAfter(BuildCase& build, const std::string& line) {
  const auto& lines = build.Log().lines;
  const auto found = std::find(lines.begin(), lines.end(), line);
  return found == lines.end() || found + 1 == lines.end() ? "" : Cp932ToUtf8(*(found + 1));
}

size_t FileCount(const fs::path& folder) {
  return static_cast<size_t>(
      std::distance(fs::directory_iterator(folder), fs::directory_iterator()));
}

TEST(OutputsTest, AnEmptyTableGivesOnlyTheHeaderAndStart) {
  BuildCase build;
  build.Make();
  Lines expected = kScriptHead;
  expected.push_back("Start();");
  EXPECT_EQ(build.ScriptLines(), expected);
  EXPECT_TRUE(build.EventRecords().empty());
  EXPECT_EQ(build.Result().ErrorLines, 0);
  EXPECT_TRUE(build.Result().VnlWritten);
  EXPECT_TRUE(build.Result().EvnWritten);
  EXPECT_EQ(FileCount(build.Folder().Path()), 2u);  // no temporary file left
}

TEST(OutputsTest, AFourLetterExtensionKeepsItsFirstLetter) {
  BuildCase build;
  SetMidiPath(build.Table(), build.Folder() / "tune.midi");
  build.Make();
  EXPECT_TRUE(fs::exists(build.Folder().Path() / "tune.mvnl"));
  EXPECT_TRUE(fs::exists(build.Folder().Path() / "tune.mevn"));
}

TEST(OutputsTest, AnOutputThatCannotBeWrittenIsAnErrorLine) {
  BuildCase build;
  fs::create_directory(build.Folder().Path() / "song.vnl");
  build.Add("m", 0);
  const std::string oldScript = "previous evn\r\n\x95\x5C\r\n";  // 表
  test_bmp::WriteFile(build.Folder().Path() / "song.evn", oldScript);
  const BuildResult& result = build.Make();
  EXPECT_TRUE(build.Logged(kVnlFailed + build.Folder() / "song.vnl"));
  EXPECT_EQ(LineAfter(build, kVnlFailed + build.Folder() / "song.vnl"),
            "原因: " + build.Folder() / "song.vnl" + ": 置き換えられません (フォルダです)");
  // The script goes with the VNL file it describes: both are replaced, or neither.
  EXPECT_EQ(LineAfter(build, kEvnFailed + build.Folder() / "song.evn"),
            "原因: VNLファイルを出力できないので、EVNファイルも元のままにしました");
  EXPECT_EQ(result.ErrorLines, 2);
  EXPECT_FALSE(result.VnlWritten);
  EXPECT_FALSE(result.EvnWritten);
  EXPECT_EQ(ReadFile(build.Folder().Path() / "song.evn"), oldScript);
  EXPECT_EQ(build.Log().lines.back(), kEnd);
  EXPECT_EQ(build.Log().events.back(), "end");
  EXPECT_TRUE(fs::is_directory(build.Folder().Path() / "song.vnl"));
  EXPECT_EQ(FileCount(build.Folder().Path()), 2u);
}

// Outputs that are links: written through within the song's folder, refused with an error line
// when they lead out of it; the rest of the build goes on.
TEST(OutputsTest, AnOutputLinkLeadingOutOfTheSongFolderIsRefused) {
  BuildCase build;
  const fs::path song = build.Folder().Path();
  const fs::path outside = song / "../" / (song.filename().string() + "-outside");
  fs::create_directories(outside);
  struct Removed {
    fs::path path;
    ~Removed() { fs::remove_all(path); }
  } removed{outside};
  build.Picture("night.bmp", 8, 8);
  build.Picture("moon.bmp", 8, 8);
  build.Picture("star.bmp", 8, 8);
  build.Add("m", 0, "night.bmp");
  build.Add("n", 1, "moon.bmp");
  build.Add("s", 2, "star.bmp");
  for (const char* victim : {"victim.txt", "victim2.sh", "victim3.png"}) {
    test_bmp::WriteFile(outside / victim, "victim");
    SetFileAge(outside / victim, -3600);
  }
  SetFileAge(outside / "victim3.png", 3600);  // newer than its picture: looks up to date
  fs::create_symlink("../" + outside.filename().string() + "/victim.txt", song / "night.png");
  fs::create_symlink(outside / "victim3.png", song / "star.png");
  fs::create_symlink(outside / "victim2.sh", song / "song.evn");
  fs::create_directory(song / "pictures");
  fs::create_symlink("pictures/moon.png", song / "moon.png");
  const BuildResult& result = build.Make();
  EXPECT_EQ(ReadFile(outside / "victim.txt"), "victim");
  EXPECT_EQ(ReadFile(outside / "victim2.sh"), "victim");
  const std::string refused =
      kErrorPrefix +
      "\x8B\xC8\x82\xCC\x83\x74\x83\x48\x83\x8B\x83\x5F\x82\xCC\x8A\x4F\x82\xF0\x8E\x77\x82"
      "\xB7\x83\x8A\x83\x93\x83\x4E\x82\xC9\x82\xCD\x8F\x6F\x97\xCD\x82\xB5\x82\xDC\x82\xB9\x82"
      "\xF1 ";
  EXPECT_EQ(LineAfter(build, refused + build.Folder() / "song.evn"),
            "原因: " + build.Folder() / "song.evn" +
                ": リンク先が曲のフォルダの外なので書き込みません (リンク先: " +
                (outside / "victim2.sh").string() + ")");
  EXPECT_TRUE(build.Logged(refused + build.Folder() / "night.png"));
  EXPECT_TRUE(build.Logged(refused + build.Folder() / "star.png"));
  EXPECT_EQ(ReadFile(outside / "victim3.png"), "victim");
  EXPECT_TRUE(fs::exists(song / "pictures/moon.png"));  // a link within the folder is followed
  EXPECT_FALSE(fs::exists(song / "song.vnl"));          // kept with its script
  EXPECT_EQ(result.ErrorLines, 4);
  EXPECT_EQ(build.Log().lines.back(), kEnd);
}

TEST(OutputsTest, APngThatCannotBeWrittenSaysWhy) {
  BuildCase build;
  build.Picture("a.bmp", 8, 8);
  // A folder, older than the picture, where the PNG should go.
  fs::create_directory(build.Folder().Path() / "a.png");
  SetFileAge(build.Folder().Path() / "a.png", -3600);
  build.Add("m", 0, "a.bmp");
  const BuildResult& result = build.Make();
  const std::string failed = kErrorPrefix +
                             "PNG\x83\x74\x83\x40\x83\x43\x83\x8B\x82\xCC\x8F\x6F\x97\xCD"
                             "\x82\xC9\x8E\xB8\x94\x73";
  EXPECT_TRUE(build.Logged(failed));
  EXPECT_EQ(LineAfter(build, failed),
            "原因: " + build.Folder() / "a.png" + ": 置き換えられません (フォルダです)");
  EXPECT_EQ(result.ErrorLines, 1);
  EXPECT_TRUE(result.VnlWritten);
}

TEST(OutputsTest, AMissingFolderFailsBothOutputs) {
  BuildCase build;
  SetMidiPath(build.Table(), build.Folder() / "gone/song.mid");
  const BuildResult& result = build.Make();
  EXPECT_EQ(result.ErrorLines, 2);
  EXPECT_EQ(LineAfter(build, kVnlFailed + build.Folder() / "gone/song.vnl"),
            "原因: " + build.Folder() / "gone/song.vnl" +
                ": 一時ファイルを作れません (ファイルがありません)");
  EXPECT_EQ(LineAfter(build, kEvnFailed + build.Folder() / "gone/song.evn"),
            "原因: " + build.Folder() / "gone/song.evn" +
                ": 一時ファイルを作れません (ファイルがありません)");
  EXPECT_EQ(build.Log().lines.back(), kEnd);
}

TEST(OutputsTest, AFailedWriteLeavesThePreviousOutputsIntact) {
  BuildCase build;
  test_bmp::WriteFile(build.Folder().Path() / "song.vnl", "previous vnl");
  test_bmp::WriteFile(build.Folder().Path() / "song.evn", "previous evn");
  for (int i = 0; i < 200; ++i) build.Add("event", i).Lyrics = "some lyrics";
  // A file-size limit makes every write past 1000 bytes fail, even for root.
  auto* previous = std::signal(SIGXFSZ, SIG_IGN);
  rlimit old{};
  getrlimit(RLIMIT_FSIZE, &old);
  rlimit limit = old;
  limit.rlim_cur = 1000;
  setrlimit(RLIMIT_FSIZE, &limit);
  build.Make();
  setrlimit(RLIMIT_FSIZE, &old);
  std::signal(SIGXFSZ, previous);
  EXPECT_EQ(build.Result().ErrorLines, 2);
  for (const char* name : {"song.vnl", "song.evn"}) {
    const std::string failed = (name[5] == 'v' ? kVnlFailed : kEvnFailed) + build.Folder() / name;
    EXPECT_EQ(LineAfter(build, failed),
              "原因: " + build.Folder() / name + ": 書き込めません (ファイルが大きすぎます)");
  }
  EXPECT_EQ(ReadFile(build.Folder().Path() / "song.vnl"), "previous vnl");
  EXPECT_EQ(ReadFile(build.Folder().Path() / "song.evn"), "previous evn");
  EXPECT_EQ(FileCount(build.Folder().Path()), 2u);
  EXPECT_EQ(build.Log().lines.back(), kEnd);
}

TEST(OutputsTest, AnOutputThatHoldsTheBytesAlreadyIsLeftAsItIs) {
  BuildCase build;
  build.Add("m", 0).Lyrics = "one";
  build.Make();
  const fs::path vnl = build.Folder().Path() / "song.vnl";
  const fs::path evn = build.Folder().Path() / "song.evn";
  struct stat before[2]{};
  ASSERT_EQ(::stat(vnl.c_str(), &before[0]), 0);
  ASSERT_EQ(::stat(evn.c_str(), &before[1]), 0);
  build.Make();
  struct stat after[2]{};
  ASSERT_EQ(::stat(vnl.c_str(), &after[0]), 0);
  ASSERT_EQ(::stat(evn.c_str(), &after[1]), 0);
  EXPECT_EQ(after[0].st_ino, before[0].st_ino);
  EXPECT_EQ(after[1].st_ino, before[1].st_ino);
  EXPECT_TRUE(build.Result().VnlWritten && build.Result().EvnWritten);
  // A changed event replaces both; a damaged output of the same size is replaced too.
  build.Table().events[0].Lyrics = "two";
  build.Make();
  ASSERT_EQ(::stat(vnl.c_str(), &after[0]), 0);
  ASSERT_EQ(::stat(evn.c_str(), &after[1]), 0);
  EXPECT_NE(after[0].st_ino, before[0].st_ino);
  EXPECT_NE(after[1].st_ino, before[1].st_ino);
  std::string bytes = ReadFile(vnl);
  const std::string good = bytes;
  bytes[bytes.size() / 2] ^= 1;
  test_bmp::WriteFile(vnl, bytes);
  build.Make();
  EXPECT_EQ(ReadFile(vnl), good);
}

TEST(OutputsTest, TheWorkingDirectoryIsNeitherUsedNorChanged) {
  const fs::path before = fs::current_path();
  BuildCase build;
  build.Picture("w.bmp", 4, 4);
  build.Add("m", 0, "w.bmp");
  build.Make();
  EXPECT_EQ(fs::current_path(), before);
  EXPECT_TRUE(fs::exists(build.Folder().Path() / "w.png"));
  EXPECT_FALSE(fs::exists(before / "w.png"));
}

}  // namespace

namespace {

// No reader takes a VNL file above kMaxVnlFileSize: the build refuses to write one, with an
// error line and its reason, and the old file stays.
TEST(OutputsLimitTest, AVnlFileLargerThanAnyReaderTakesIsRefused) {
  build_test::BuildCase build;
  test_bmp::WriteFile(build.Folder().Path() / "song.vnl", "old");
  std::string line(200, 'x');
  std::string lyrics;
  while (lyrics.size() <= kMaxVnlFileSize) lyrics += line + "\r\n";
  build.Add("huge", 0).Lyrics = lyrics;
  build.Make();
  EXPECT_FALSE(build.Result().VnlWritten);
  EXPECT_EQ(build_test::ReadFile(build.Folder().Path() / "song.vnl"), "old");
  const auto& lines = build.Log().lines;
  const auto failed = std::find_if(lines.begin(), lines.end(), [](const std::string& l) {
    return Cp932ToUtf8(l).starts_with("エラー: VNLファイルの出力に失敗 ");
  });
  ASSERT_NE(failed, lines.end());
  EXPECT_EQ(Cp932ToUtf8(*(failed + 1)), "原因: VNLファイルが上限の64 MiBを超えます");
}

}  // namespace

// vwrd-video as a program: its command line, its exit status and what it leaves in the folder.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <functional>

#include "document/project_file.h"
#include "make/test_bmp_writer.h"
#include "song/smf_builder.h"
#include "tests/support/program_run.h"
#include "tests/support/temp_folder.h"
#include "video/short_project.h"

namespace {

using test_support::ProgramRun;

class VwrdVideoTest : public testing::Test {
 protected:
  ProgramRun Run(const std::vector<std::string>& arguments) {
    return test_support::RunProgram(VWRD_VIDEO_EXE, arguments, temp_.Path());
  }

  TempFolder temp_{"vwrd-video"};
};

TEST_F(VwrdVideoTest, WritesSongMp4BesideTheSongAndNoOtherFile) {
  WriteProject(*ShortProject(temp_));
  const ProgramRun run = Run({temp_ / "song.mid", "--fps", "10"});
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_NE(run.err.find("を書き出しました"), std::string::npos) << run.err;
  std::vector<std::string> names = temp_.Names();
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"bands.bmp", "song.mid", "song.mp4", "song.vwm"}));
}

TEST_F(VwrdVideoTest, WithoutAProjectFileItSaysSoAndWritesNothing) {
  temp_.Write("song.mid", BuildSmf(0, 96, {TrackBuilder().End(96)}));
  const ProgramRun run = Run({temp_ / "song.mid", "-o", temp_ / "out.mp4"});
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.err.find("プロジェクトファイル"), std::string::npos) << run.err;
  EXPECT_EQ(temp_.Names(), std::vector<std::string>{"song.mid"});
}

TEST_F(VwrdVideoTest, AWrongCommandLineExitsWithTwo) {
  const std::vector<std::vector<std::string>> wrong = {{},
                                                       {"a.mid", "b.mid"},
                                                       {"a.mid", "--fps", "0"},
                                                       {"a.mid", "--fps", "121"},
                                                       {"a.mid", "--fps", "x"},
                                                       {"a.mid", "--scale", "3"},
                                                       {"a.mid", "-o"},
                                                       {"a.mid", "--loud"}};
  for (const auto& arguments : wrong) {
    const ProgramRun run = Run(arguments);
    EXPECT_EQ(run.status, 2) << testing::PrintToString(arguments);
    EXPECT_NE(run.err.find("vwrd-video --help"), std::string::npos);
  }
  EXPECT_EQ(Run({"--version"}).out, "vwrd-video 1.1\n");
  EXPECT_EQ(Run({"--help"}).status, 0);
}

TEST_F(VwrdVideoTest, EachCommandLineErrorNamesTheArgumentAndWhatIsAllowed) {
  const std::string help = " (vwrd-video --help を参照)\n";
  const struct {
    std::vector<std::string> arguments;
    std::string said;
  } cases[] = {
      {{"a.mid", "--fps", "0"}, "--fps の値「0」は使えません (1 から 120 までの整数)"},
      {{"--scale", "3", "a.mid"}, "--scale の値「3」は使えません (1 か 2)"},
      {{"a.mid", "--bogus"},
       "不明なオプションです: 「--bogus」 (使えるのは -o、--fps、--scale、--help、--version)"},
      {{"a.mid", "-o"}, "-o の後に書き出す動画ファイルを指定してください"},
      {{"a.mid", "--fps", "5", "--fps", "6"}, "--fps が二度指定されています"},
      {{"表.mid", "予.mid"}, "曲のファイルは一つだけ指定してください: 「予.mid」"},
      {{"song.txt"},
       "MIDI ファイル (.mid) でもプロジェクトファイル (.vwm) でもありません: 「song.txt」"},
  };
  for (const auto& c : cases) {
    const ProgramRun run = Run(c.arguments);
    EXPECT_EQ(run.status, 2) << c.said;
    EXPECT_EQ(run.err, "vwrd-video: " + c.said + help);
  }
  EXPECT_NE(Run({"--help"}).out.find("vwrd-video SONG.vwm [-o OUT.mp4]"), std::string::npos);
}

TEST_F(VwrdVideoTest, TakesTheProjectFileAsTheOtherProgramsDo) {
  WriteProject(*ShortProject(temp_));
  const ProgramRun run = Run({temp_ / "song.vwm", "--fps", "5"});
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_TRUE(std::filesystem::exists(temp_ / "song.mp4"));
}

// Whatever stands where a picture or the song should be, the tool ends at once; it reports each
// refused picture as Make logs it and exits with 1, since the video is not the project's show.
TEST_F(VwrdVideoTest, AVideoThatIsNotTheProjectsShowExitsWithOne) {
  const struct {
    const char* kind;
    std::function<void(const TempFolder&)> spoil;
    std::string reason;
  } cases[] = {
      {"missing", [](const TempFolder& f) { std::filesystem::remove(f / "bands.bmp"); },
       "ファイルがありません"},
      {"empty", [](const TempFolder& f) { f.Write("bands.bmp", {}); }, "BMP"},
      {"folder",
       [](const TempFolder& f) {
         std::filesystem::remove(f / "bands.bmp");
         std::filesystem::create_directory(f / "bands.bmp");
       },
       "フォルダ"},
      {"pipe",
       [](const TempFolder& f) {
         std::filesystem::remove(f / "bands.bmp");
         ::mkfifo((f / "bands.bmp").c_str(), 0600);
       },
       "名前付きパイプ"},
      {"device",
       [](const TempFolder& f) {
         std::filesystem::remove(f / "bands.bmp");
         std::filesystem::create_symlink("/dev/zero", f / "bands.bmp");
       },
       "デバイス"},
      {"truncated",
       [](const TempFolder& f) { std::filesystem::resize_file(f / "bands.bmp", 2000); },
       "途中でファイルが終わっています"},
      {"oversized",
       [](const TempFolder& f) {
         // A 16384 x 16384 picture's headers: beyond the player's memory.
         std::string bytes = test_bmp::Bmp8(1, 1, [](int, int) { return uint8_t{0}; });
         for (int field : {18, 22}) bytes[field] = 0, bytes[field + 1] = 0x40;
         test_bmp::WriteFile(f / "bands.bmp", bytes);
       },
       "画像が大きすぎます"},
      {"cut-short project",
       [](const TempFolder& f) {
         std::filesystem::resize_file(f / "song.vwm",
                                      std::filesystem::file_size(f / "song.vwm") - 20);
       },
       ""},
  };
  for (const auto& c : cases) {
    TempFolder folder("vwrd-video");
    WriteProject(*ShortProject(folder));
    c.spoil(folder);
    const ProgramRun run = test_support::RunProgram(
        VWRD_VIDEO_EXE, {folder / "song.mid", "--fps", "5"}, folder.Path(), "timeout 60");
    EXPECT_EQ(run.status, 1) << c.kind << run.err;
    EXPECT_TRUE(std::filesystem::exists(folder / "song.mp4")) << c.kind;
    EXPECT_NE(run.err.find("プロジェクトのとおりではありません"), std::string::npos) << c.kind;
    if (!c.reason.empty()) {
      const size_t line = run.err.find(
          "vwrd-video: エラー: ファイルが読めない、もしくは256色以外のBMPファイルである\n"
          "vwrd-video: 原因: " +
          folder / "bands.bmp: ");
      EXPECT_NE(line, std::string::npos) << c.kind << run.err;
      EXPECT_NE(run.err.find(c.reason, line), std::string::npos) << c.kind << run.err;
    }
  }
}

TEST_F(VwrdVideoTest, ASongThatIsAPipeIsRefusedAtOnce) {
  WriteProject(*ShortProject(temp_));
  std::filesystem::remove(temp_ / "song.mid");
  ASSERT_EQ(::mkfifo((temp_ / "song.mid").c_str(), 0600), 0);
  const ProgramRun run =
      test_support::RunProgram(VWRD_VIDEO_EXE, {temp_ / "song.mid"}, temp_.Path(), "timeout 60");
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.err.find("通常のファイルではありません (名前付きパイプ)"), std::string::npos)
      << run.err;
  EXPECT_FALSE(std::filesystem::exists(temp_ / "song.mp4"));
}

// Ctrl+C and a termination request end the export and leave no file, not even a hidden one.
TEST_F(VwrdVideoTest, AnInterruptedExportEndsAndLeavesNoFile) {
  for (const auto& [signal, status] : {std::pair{"INT", 130}, std::pair{"TERM", 143}}) {
    TempFolder folder("vwrd-video");
    WriteProject(*ShortProject(folder));
    // Half an hour of song: far longer than the signal takes to come.
    folder.Write("song.mid",
                 BuildSmf(1, 96, {TrackBuilder().Tempo(0, 500000).Note(0, 0, 60, 96).End(345600)}));
    const ProgramRun run = test_support::RunProgram(
        VWRD_VIDEO_EXE, {folder / "song.mid"}, folder.Path(),
        std::string("timeout --preserve-status -k 60 -s ") + signal + " 2");
    EXPECT_EQ(run.status, status) << signal << run.err;
    std::vector<std::string> names = folder.Names();
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"bands.bmp", "song.mid", "song.vwm"})) << signal;
  }
}

}  // namespace

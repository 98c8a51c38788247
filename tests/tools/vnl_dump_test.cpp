// vnl-dump run as a program on written files.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "tests/support/program_run.h"
#include "wrd/vbinary_out.h"

namespace {

// Each test has its own files: CTest may run the tests of this program in parallel.
std::filesystem::path TestPath(const std::string& suffix) {
  std::string name = testing::UnitTest::GetInstance()->current_test_info()->name();
  return std::filesystem::path(testing::TempDir()) / ("vnl_dump_" + name + suffix);
}

test_support::ProgramRun RunDump(const std::string& arguments) {
  return test_support::RunCommandLine(std::string(VNL_DUMP_EXE) + " " + arguments, TestPath(""));
}

std::filesystem::path WriteSample() {
  std::filesystem::path path = TestPath(".vnl");
  VBinaryOut writer(path.c_str());
  writer.SetTitle("Varnel WRD Maker ver.1.1");
  writer.SetTimebase(48);
  writer.EndBlock();
  writer.AllocatePalette(-1);
  writer.Start();
  writer.SetTick(768);
  writer.DrawText(-1, 255, 1, 255, 0, {300, 400},
                  "\x8F\x49\x97\xB9");  // "終了" in CP932
  writer.Command36(1, {0, 0}, {0, 0}, {0, 0});
  EXPECT_TRUE(writer.Close());
  return path;
}

TEST(VnlDump, PrintsTheHeaderAndOneLinePerRecord) {
  std::filesystem::path path = WriteSample();
  test_support::ProgramRun run = RunDump(path.string());
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.err, "");
  EXPECT_EQ(run.out, path.string() +
                         ": Varnel WRD version 1, 8 records\n"
                         "block       tick opcode record\n"
                         "def            0 71     SetTitle(\"Varnel WRD Maker ver.1.1\")\n"
                         "def            0 21     SetTimebase(48)\n"
                         "def            0 00     EndBlock()\n"
                         "data           0 21     AllocatePalette(-1)\n"
                         "data           0 01     Start()\n"
                         "data         768 51     DrawText(-1, 255, 1, 255, 0, (300,400), "
                         "\"終了\")\n"
                         "data         768 36     opcode 36: 01 00 00 00 00 00 00 00 00 00 00 "
                         "00 00 00\n"
                         "data         768 00     EndBlock()\n");
}

TEST(VnlDump, MalformedFileGivesOneLineWithTheOffset) {
  std::filesystem::path path = WriteSample();
  std::filesystem::resize_file(path, std::filesystem::file_size(path) - 1);
  test_support::ProgramRun run = RunDump(path.string());
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.out, "");
  EXPECT_EQ(run.err, "vnl-dump: " + path.string() +
                         ": バイト位置 92: レコードの長さ 1 がファイルの終わりを越えています\n");
}

TEST(VnlDump, MissingFileIsAnError) {
  test_support::ProgramRun run = RunDump("/nonexistent-folder/none.vnl");
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.err.find("/nonexistent-folder/none.vnl"), std::string::npos);
}

TEST(VnlDump, AFolderIsRefusedWithTheSystemsReason) {
  const std::string folder = testing::TempDir();
  test_support::ProgramRun run = RunDump(folder);
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.err.rfind("vnl-dump: " + folder + ": ", 0), 0u) << run.err;
  EXPECT_EQ(run.err.find("MiB"), std::string::npos) << run.err;
}

TEST(VnlDump, WrongArgumentsAreNamed) {
  const struct {
    const char* arguments;
    const char* named;
  } cases[] = {{"", "VNLファイル (SONG.vnl、または SONG.mid か SONG.vwm) を指定してください"},
               {"a.vnl b.vnl", "VNLファイルは一つだけ指定してください: \"b.vnl\""},
               {"--bogus", "不明なオプションです: \"--bogus\" (使えるのは --help、--version)"}};
  for (const auto& c : cases) {
    test_support::ProgramRun run = RunDump(c.arguments);
    EXPECT_EQ(run.status, 2) << c.arguments;
    EXPECT_EQ(run.err, "vnl-dump: " + std::string(c.named) + "（vnl-dump --help を参照）\n");
  }
}

TEST(VnlDump, ASongStandsForTheFileBesideIt) {
  const std::filesystem::path path = WriteSample();
  std::filesystem::path song = path;
  test_support::ProgramRun run = RunDump(song.replace_extension(".MID").string());
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out.rfind(path.string() + ": Varnel WRD version 1", 0), 0u) << run.out;
}

TEST(VnlDump, HelpGoesToStandardOutput) {
  test_support::ProgramRun run = RunDump("--help");
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.out.rfind("使い方: vnl-dump SONG.vnl\n", 0), 0u);
}

}  // namespace

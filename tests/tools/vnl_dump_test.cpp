// vnl-dump run as a program on written files.
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "wrd/vbinary_out.h"

namespace {

struct DumpRun {
  int status = -1;
  std::string out;
  std::string err;
};

// Each test has its own files: CTest may run the tests of this program in parallel.
std::filesystem::path TestPath(const std::string& suffix) {
  std::string name = testing::UnitTest::GetInstance()->current_test_info()->name();
  return std::filesystem::path(testing::TempDir()) / ("vnl_dump_" + name + suffix);
}

std::string ReadAll(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

DumpRun RunDump(const std::string& arguments) {
  std::filesystem::path outPath = TestPath(".out");
  std::filesystem::path errPath = TestPath(".err");
  std::string command = std::string(VNL_DUMP_EXE) + " " + arguments + " >" + outPath.string() +
                        " 2>" + errPath.string();
  int status = std::system(command.c_str());
  DumpRun run;
  run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  run.out = ReadAll(outPath);
  run.err = ReadAll(errPath);
  std::filesystem::remove(outPath);
  std::filesystem::remove(errPath);
  return run;
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
  DumpRun run = RunDump(path.string());
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
  DumpRun run = RunDump(path.string());
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.out, "");
  EXPECT_EQ(run.err, "vnl-dump: " + path.string() +
                         ": バイト位置 92: レコードの長さ 1 がファイルの終わりを越えています\n");
}

TEST(VnlDump, MissingFileIsAnError) {
  DumpRun run = RunDump("/nonexistent-folder/none.vnl");
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.err.find("/nonexistent-folder/none.vnl"), std::string::npos);
}

TEST(VnlDump, AFolderIsRefusedWithTheSystemsReason) {
  const std::string folder = testing::TempDir();
  DumpRun run = RunDump(folder);
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.err.rfind("vnl-dump: " + folder + ": ", 0), 0u) << run.err;
  EXPECT_EQ(run.err.find("MiB"), std::string::npos) << run.err;
}

TEST(VnlDump, WrongArgumentsShowTheUsage) {
  for (const char* arguments : {"", "a.vnl b.vnl", "--bogus"}) {
    DumpRun run = RunDump(arguments);
    EXPECT_EQ(run.status, 2) << arguments;
    EXPECT_EQ(run.err.rfind("usage: vnl-dump FILE.vnl\n", 0), 0u) << arguments;
  }
}

TEST(VnlDump, HelpGoesToStandardOutput) {
  DumpRun run = RunDump("--help");
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.out.rfind("usage: vnl-dump FILE.vnl\n", 0), 0u);
}

}  // namespace

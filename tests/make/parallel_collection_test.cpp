// The pictures of a Make loaded and converted on several threads: the same log, in the same
// order, and the same files as on one thread.

#include <gtest/gtest.h>

#include "make/build_case.h"

namespace {

using namespace build_test;

struct MakeRun {
  std::vector<std::string> lines;
  std::vector<std::string> files;  // the bytes of the outputs and of every PNG
};

// A song with pictures of several sizes, a missing and a 24-bit one, and two files of the same
// name in different folders (one PNG for both: the first converts it, the second finds it new).
void WriteSong(BuildCase& build) {
  fs::create_directory(build.Folder().Path() / "other");
  for (int i = 0; i < 10; ++i) {
    const std::string name = "p" + std::to_string(i) + ".bmp";
    test_bmp::WriteFile(build.Folder().Path() / name,
                        test_bmp::Bmp8(8 + 5 * i, 4 + 3 * i, [i](int x, int y) {
                          return uint8_t((x * (i + 1) + y) % (i == 3 ? 256 : 200));
                        }));
    build.Add(name, i, name);
  }
  test_bmp::WriteFile(build.Folder().Path() / "deep.bmp", test_bmp::Bmp24(4, 4));
  build.Picture("same.bmp", 8, 8, 1);
  build.Picture("other/same.bmp", 16, 16, 2);
  for (const char* name : {"same.bmp", "missing.bmp", "deep.bmp", "other/same.bmp", "p2.bmp"}) {
    build.Add(name, 20, name);
  }
}

// A Make from scratch.
MakeRun MakeWith(BuildCase& build, int threads) {
  for (const auto& entry : fs::directory_iterator(build.Folder().Path())) {
    if (entry.path().extension() == ".png") fs::remove(entry.path());
  }
  RecordingLog log;
  MakeWrdFiles(build.Table(), log, MakeOptions{threads});
  MakeRun run{log.lines, {}};
  for (const char* name : {"song.vnl", "song.evn", "same.png", "p0.png", "p3.png", "p9.png"}) {
    run.files.push_back(ReadFile(build.Folder().Path() / name));
  }
  return run;
}

TEST(ParallelCollectionTest, SeveralThreadsLogAndWriteExactlyAsOne) {
  BuildCase build;
  WriteSong(build);
  const MakeRun one = MakeWith(build, 1);
  ASSERT_EQ(std::count(one.lines.begin(), one.lines.end(), kConverting), 11);
  for (int threads : {2, 4, 16}) {
    const MakeRun many = MakeWith(build, threads);
    EXPECT_EQ(many.lines, one.lines) << threads;
    EXPECT_EQ(many.files, one.files) << threads;
  }
}

}  // namespace

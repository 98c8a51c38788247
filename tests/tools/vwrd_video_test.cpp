// vwrd-video as a program: its command line, its exit status and what it leaves in the folder.
#include <gtest/gtest.h>

#include <algorithm>

#include "document/project_file.h"
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

}  // namespace

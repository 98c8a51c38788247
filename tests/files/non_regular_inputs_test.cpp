// Every reader of a user's file facing what is no regular file: a named pipe (opening it would
// wait for a writer for ever), a folder, devices (/dev/zero never ends), a link to nothing and a
// missing name. Each refuses at once and says why; none waits.

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cerrno>

#include "checks/check.h"
#include "checks/problem_lines.h"
#include "make/build_case.h"
#include "picture/png_reader.h"
#include "song/midi_file_reader.h"
#include "text/cp932.h"
#include "wrdplayer/glyph_font.h"
#include "wrdplayer/png_folder_source.h"

namespace {

namespace fs = std::filesystem;

TEST(NonRegularInputs, EveryReaderRefusesAtOnceAndSaysWhy) {
  build_test::BuildCase build;
  const fs::path& dir = build.Folder().Path();
  ASSERT_EQ(::mkfifo((dir / "pipe").c_str(), 0600), 0);
  fs::create_directory(dir / "folder");
  fs::create_symlink("/dev/null", dir / "null");
  fs::create_symlink("/dev/zero", dir / "zero");
  fs::create_symlink(dir / "gone", dir / "dangling");
  const struct {
    std::string name, kind;
    int system_reason;
  } cases[] = {{"pipe", "名前付きパイプ", 0}, {"folder", "フォルダ", EISDIR},
               {"null", "デバイス", 0},       {"zero", "デバイス", 0},
               {"dangling", "", ENOENT},      {"missing", "", ENOENT}};
  std::vector<std::string> lines;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string path = (dir / c.name).string();
    const std::string not_regular = "通常のファイルではありません (" + c.kind + ")";
    try {
      ReadMidiFile(path);
      ADD_FAILURE() << "read as a song";
    } catch (const MidiFileError& error) {
      EXPECT_EQ(error.what(), c.kind.empty() ? "開けません (ファイルがありません)"
                              : c.system_reason == EISDIR ? "フォルダーです"
                                                          : not_regular);
      EXPECT_EQ(error.SystemReason(), c.system_reason);
    }
    EXPECT_FALSE(ReadPalettePngFile(path));
    EXPECT_FALSE(PngFolderSource(dir.string()).Load(0, c.name));
    EXPECT_EQ(GlyphFont(path).Find("A"), nullptr);
    build.Add("m", 16 * static_cast<int32_t>(lines.size() + 1), c.name);
    lines.push_back(c.kind.empty() ? " がありません" : " を開けません: " + not_regular);
  }
  // A NUL in a picture's name would end the problem line that shows it.
  build.Picture("night.bmp", 8, 8);
  build.Add("m", 16 * 7, std::string("night.bmp\0x.bmp", 15));
  lines.push_back(" を開けません: 名前にNULバイトが含まれています");
  std::vector<std::string> expected;
  for (size_t i = 0; i < lines.size(); ++i) {
    const std::string name = i < std::size(cases) ? cases[i].name : "night.bmp<00>x.bmp";
    expected.push_back("#" + std::to_string(i + 1) + " エラー: 画像ファイル " + dir.string() + "/" +
                       name + lines[i] + " [missing-picture]");
  }
  std::vector<std::string> found;
  for (const Problem& problem : Check(build.Table(), std::nullopt)) {
    if (problem.Id == "missing-picture") found.push_back(Cp932ToUtf8(ProblemLine(problem)));
  }
  EXPECT_EQ(found, expected);
}

}  // namespace

// vnl-render run as a program: exit statuses and the pixels of the PNG file it writes.
#include <gtest/gtest.h>
#include <png.h>

#include <algorithm>
#include <filesystem>
#include <string>

#include <sys/stat.h>

#include "support/temp_folder.h"
#include "tests/support/program_run.h"
#include "wrd/vbinary_out.h"

namespace {

namespace fs = std::filesystem;

// A show whose page -1 is filled with index 3 at tick 100 and shown with entry 3 = (10, 20, 30).
void WriteShow(const fs::path& path) {
  VBinaryOut out(path.c_str());
  out.EndBlock();
  VBinaryOut::PageDescriptor screen{-1, 640, 480, 0};
  out.AllocatePage(screen);
  out.AllocatePalette(-1);
  const uint8_t entry[] = {3, 10, 20, 30};
  out.SetPalette(-1, entry, 1);
  out.Start();
  out.SetTick(100);
  out.FillRect(-1, 255, {0, 0, 319, 479}, 3);
  out.DisplayPage(-1, {0, 0});
  out.ChangePalette(-1);
}

// The RGB pixel (x, y) of a PNG file through libpng's simplified API.
std::vector<uint8_t> ReadRgb(const fs::path& path, int& width, int& height) {
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_file(&image, path.c_str())) return {};
  image.format = PNG_FORMAT_RGB;
  std::vector<uint8_t> rgb(PNG_IMAGE_SIZE(image));
  if (!png_image_finish_read(&image, nullptr, rgb.data(), 0, nullptr)) return {};
  width = int(image.width);
  height = int(image.height);
  return rgb;
}

// A folder with the show; runs vnl-render there.
class VnlRender : public testing::Test {
 protected:
  void SetUp() override { WriteShow(show_); }
  test_support::ProgramRun Render(const std::string& arguments) {
    return test_support::RunCommandLine(std::string(VNL_RENDER_EXE) + " " + arguments,
                                        folder_.Path() / "run");
  }
  test_support::ProgramRun RenderAt(int tick) {
    return Render(show_.string() + " --tick " + std::to_string(tick) + " -o " + png_.string());
  }

  TempFolder folder_;
  const fs::path show_ = folder_.Path() / "show.vnl";
  const fs::path png_ = folder_.Path() / "out.png";
};

TEST_F(VnlRender, WritesTheScreenAtTheTick) {
  const test_support::ProgramRun run = RenderAt(100);
  ASSERT_EQ(run.status, 0) << run.err;
  int width = 0, height = 0;
  const std::vector<uint8_t> rgb = ReadRgb(png_, width, height);
  ASSERT_EQ(width, 640);
  ASSERT_EQ(height, 480);
  std::vector<uint8_t> expected(640 * 480 * 3, 0);  // the left half filled, the rest black
  for (size_t i = 0; i < expected.size(); i += 3) {
    if (i / 3 % 640 < 320) expected[i] = 10, expected[i + 1] = 20, expected[i + 2] = 30;
  }
  EXPECT_EQ(rgb, expected);

  ASSERT_EQ(RenderAt(99).status, 0);
  EXPECT_EQ(ReadRgb(png_, width, height), std::vector<uint8_t>(640 * 480 * 3, 0));
}

TEST_F(VnlRender, ADamagedFileGivesOneLineAndStatusOne) {
  fs::resize_file(show_, fs::file_size(show_) - 3);
  const test_support::ProgramRun run = RenderAt(0);
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
  EXPECT_NE(run.err.find("バイト位置"), std::string::npos) << run.err;
  EXPECT_FALSE(fs::exists(png_));
}

TEST_F(VnlRender, WrongCommandLinesGiveStatusTwo) {
  for (const std::string arguments : {"", "a.vnl", "a.vnl --tick x -o b.png", "a.vnl --tick 1",
                                      "a.vnl -o b.png", "a.vnl --tick 1 -o b.png --what"}) {
    EXPECT_EQ(Render(arguments).status, 2) << arguments;
  }
  EXPECT_EQ(Render("--help >/dev/null").status, 0);
  EXPECT_EQ(Render("a.vnl --tick 1 -o " + (folder_.Path() / "b.png").string()).status, 1);
}

TEST_F(VnlRender, TheSheetOfASongHoldsEachEventsTileWithItsTick) {
  const fs::path song = folder_.Path() / "show.MID";  // stands for show.vnl beside it
  const test_support::ProgramRun run = Render(song.string() + " --sheet -o " + png_.string());
  ASSERT_EQ(run.status, 0) << run.err;
  int width = 0, height = 0;
  const std::vector<uint8_t> rgb = ReadRgb(png_, width, height);
  ASSERT_EQ(width, 8 + 160 + 8);
  ASSERT_EQ(height, 8 + 120 + 4 + 16 + 8);
  const auto pixel = [&](int x, int y) {
    const uint8_t* at = &rgb[(size_t(y) * size_t(width) + size_t(x)) * 3];
    return std::vector<uint8_t>(at, at + 3);
  };
  // The event at tick 100: its left half filled, the rest black.
  EXPECT_EQ(pixel(8, 8), (std::vector<uint8_t>{10, 20, 30}));
  EXPECT_EQ(pixel(87, 127), (std::vector<uint8_t>{10, 20, 30}));
  EXPECT_EQ(pixel(88, 8), (std::vector<uint8_t>{0, 0, 0}));
  int white = 0;  // the caption "100"
  for (int y = 132; y < 148; ++y) {
    for (int x = 8; x < 8 + 24; ++x) white += pixel(x, y) == std::vector<uint8_t>{255, 255, 255};
    EXPECT_EQ(pixel(8 + 24, y), (std::vector<uint8_t>{40, 40, 40}));
  }
  EXPECT_GT(white, 10);
}

TEST_F(VnlRender, ANamedPipeIsRefusedAtOnce) {
  const fs::path pipe = folder_.Path() / "pipe.vnl";
  ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
  const test_support::ProgramRun run =
      test_support::RunCommandLine("timeout 20 " + std::string(VNL_RENDER_EXE) + " " +
                                       pipe.string() + " --tick 0 -o " + png_.string(),
                                   folder_.Path() / "run");
  EXPECT_EQ(run.status, 1) << run.err;
  EXPECT_NE(run.err.find("pipe.vnl"), std::string::npos) << run.err;
}

TEST_F(VnlRender, EachWrongArgumentIsNamedWithWhatIsAllowed) {
  const struct {
    const char* arguments;
    const char* named;
  } cases[] = {
      {"a.vnl --tick 1 --bogus -o b.png", "\"--bogus\" (使えるのは --tick、--sheet"},
      {"a.vnl --sheet --columns 0 -o b.png", "\"0\" (1から64の整数"},
      {"a.vnl --tick 1.5 -o b.png", "--tick の値が正しくありません: \"1.5\""},
      {"a.vnl --tick 1", "-o OUT.png"},
      {"a.vnl --tick 1 --sheet -o b.png", "--tick と --sheet"},
      {"a.vnl -o b.png --columns", "--columns の後に値がありません"},
  };
  for (const auto& c : cases) {
    const test_support::ProgramRun run = Render(c.arguments);
    EXPECT_EQ(run.status, 2) << c.arguments;
    EXPECT_NE(run.err.find(c.named), std::string::npos) << run.err;
  }
}

}  // namespace

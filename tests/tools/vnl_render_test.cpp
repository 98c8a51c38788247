// vnl-render run as a program: exit statuses and the pixels of the PNG file it writes.
#include <gtest/gtest.h>
#include <png.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "support/temp_folder.h"
#include "tests/support/program_run.h"
#include "wrd/vbinary_out.h"

namespace {

namespace fs = std::filesystem;

test_support::ProgramRun Render(const fs::path& folder, const std::string& arguments) {
  return test_support::RunCommandLine(std::string(VNL_RENDER_EXE) + " " + arguments,
                                      folder / "run");
}

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

TEST(VnlRender, WritesTheScreenAtTheTick) {
  TempFolder folder;
  WriteShow(folder.Path() / "show.vnl");
  const fs::path png = folder.Path() / "out.png";
  const test_support::ProgramRun run = Render(
      folder.Path(), (folder.Path() / "show.vnl").string() + " --tick 100 -o " + png.string());
  ASSERT_EQ(run.status, 0) << run.err;
  int width = 0, height = 0;
  const std::vector<uint8_t> rgb = ReadRgb(png, width, height);
  ASSERT_EQ(width, 640);
  ASSERT_EQ(height, 480);
  auto at = [&](int x, int y) {
    const size_t i = (size_t(y) * 640 + size_t(x)) * 3;
    return std::vector<uint8_t>{rgb[i], rgb[i + 1], rgb[i + 2]};
  };
  EXPECT_EQ(at(0, 0), (std::vector<uint8_t>{10, 20, 30}));
  EXPECT_EQ(at(319, 479), (std::vector<uint8_t>{10, 20, 30}));
  EXPECT_EQ(at(320, 0), (std::vector<uint8_t>{0, 0, 0}));

  ASSERT_EQ(
      Render(folder.Path(), (folder.Path() / "show.vnl").string() + " --tick 99 -o " + png.string())
          .status,
      0);
  EXPECT_EQ(ReadRgb(png, width, height), std::vector<uint8_t>(640 * 480 * 3, 0));
}

TEST(VnlRender, ADamagedFileGivesOneLineAndStatusOne) {
  TempFolder folder;
  WriteShow(folder.Path() / "show.vnl");
  fs::resize_file(folder.Path() / "show.vnl", fs::file_size(folder.Path() / "show.vnl") - 3);
  const fs::path png = folder.Path() / "out.png";
  const test_support::ProgramRun run =
      Render(folder.Path(), (folder.Path() / "show.vnl").string() + " --tick 0 -o " + png.string());
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
  EXPECT_NE(run.err.find("バイト位置"), std::string::npos) << run.err;
  EXPECT_FALSE(fs::exists(png));
}

TEST(VnlRender, WrongCommandLinesGiveStatusTwo) {
  TempFolder folder;
  for (const std::string arguments : {"", "a.vnl", "a.vnl --tick x -o b.png", "a.vnl --tick 1",
                                      "a.vnl -o b.png", "a.vnl --tick 1 -o b.png --what"}) {
    EXPECT_EQ(Render(folder.Path(), arguments).status, 2) << arguments;
  }
  EXPECT_EQ(Render(folder.Path(), "--help >/dev/null").status, 0);
  EXPECT_EQ(Render(folder.Path(), "a.vnl --tick 1 -o " + (folder.Path() / "b.png").string()).status,
            1);
}

}  // namespace

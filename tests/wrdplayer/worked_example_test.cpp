// The build's event "intro" (a 320 x 240 picture centred, "Hello" in green, fading in through
// white at tick 768 after fading out from 576) played back: the screen at the ticks where it
// changes, to the pixel and palette entry.

#include <gtest/gtest.h>

#include "make/build_case.h"
#include "player_test_support.h"
#include "wrdplayer/png_folder_source.h"
#include "wrdplayer/show_player.h"

namespace {

using namespace player_test;

uint8_t PicturePixel(int x, int y) { return uint8_t(1 + (x / 40 + y / 30) % 9); }
uint32_t PictureEntry(int i) {
  return uint32_t(i) << 16 | uint32_t(255 - i) << 8 | uint32_t(i / 2);
}
Rgb PictureColour(int i) { return {uint8_t(i), uint8_t(255 - i), uint8_t(i / 2)}; }

class WorkedExample : public testing::Test {
 protected:
  void SetUp() override {
    test_bmp::WriteFile(build_.Folder().Path() / "sky.bmp",
                        test_bmp::Bmp8(320, 240, PicturePixel, PictureEntry));
    build_test::SetWorkedExampleEvent(build_.Add("intro", 64, "sky.bmp"));
    build_.Make();
    const std::string vnl = build_test::ReadFile(build_.Folder().Path() / "song.vnl");
    player_ = std::make_unique<ShowPlayer>(
        Bytes(vnl.begin(), vnl.end()),
        std::make_unique<PngFolderSource>(build_.Folder().Path().string()));
  }

  // The indices the screen shows once the event has drawn: the picture centred, "Hello" from
  // (300, 400) in index 255, 0 elsewhere.
  static std::vector<uint8_t> DrawnIndices() {
    std::vector<uint8_t> indices(640 * 480, 0);
    for (int y = 0; y < 240; ++y) {
      for (int x = 0; x < 320; ++x)
        indices[size_t(y + 120) * 640 + size_t(x + 160)] = PicturePixel(x, y);
    }
    const std::string text = "Hello";
    for (size_t i = 0; i < text.size(); ++i) {
      PutGlyph(indices, 640, 480, 300 + 8 * int(i), 400, uint8_t(text[i]), 255);
    }
    return indices;
  }

  build_test::BuildCase build_;
  std::unique_ptr<ShowPlayer> player_;
};

Palette Uniform(uint8_t value) {
  Palette palette;
  palette.fill(Rgb{value, value, value});
  return palette;
}

TEST_F(WorkedExample, BeforeTheFadeOutTheScreenIsBlack) {
  const Screen& screen = player_->ScreenAt(575);
  EXPECT_EQ(screen.palette, Palette{});
  EXPECT_EQ(screen.shown, Screen::Area{});
  EXPECT_EQ(screen.PixelAt(320, 240), Rgb{});
}

TEST_F(WorkedExample, FadeOutStartsFromTheBlackDisplayPalette) {
  EXPECT_EQ(player_->ScreenAt(576).palette, Palette{});
  EXPECT_EQ(player_->ScreenAt(576).shown, Screen::Area{});
}

TEST_F(WorkedExample, HalfwayThroughTheFadeOutThePaletteIsHalfWhite) {
  // Step 9 of the fade-out: weights 50, 50 of black and white.
  const Screen& screen = player_->ScreenAt(648);
  EXPECT_EQ(screen.palette, Uniform(127));
  EXPECT_EQ(screen.shown, Screen::Area{});  // nothing displayed yet
}

TEST_F(WorkedExample, AtTheEventThePageIsDrawnAndShownWhite) {
  const Screen& screen = player_->ScreenAt(768);
  EXPECT_EQ(screen.indices, DrawnIndices());
  EXPECT_EQ(screen.shown, (Screen::Area{0, 0, 640, 480}));
  EXPECT_EQ(screen.palette, Uniform(255));  // first fade-in step: all white
}

TEST_F(WorkedExample, HalfwayThroughTheFadeInWhiteAndPictureMix) {
  const Screen& screen = player_->ScreenAt(840);
  EXPECT_EQ(screen.indices, DrawnIndices());
  for (int i = 0; i < 255; ++i) {
    const Rgb c = PictureColour(i);
    auto mix = [](int channel) { return uint8_t((255 * 50 + channel * 50) / 100); };
    EXPECT_EQ(screen.palette[size_t(i)], (Rgb{mix(c.r), mix(c.g), mix(c.b)})) << i;
  }
  EXPECT_EQ(screen.palette[255], (Rgb{127, 255, 127}));
}

TEST_F(WorkedExample, AfterTheFadeInThePictureAndGreenTextShow) {
  const Screen& screen = player_->ScreenAt(912);
  EXPECT_EQ(screen.indices, DrawnIndices());
  for (int i = 0; i < 255; ++i) EXPECT_EQ(screen.palette[size_t(i)], PictureColour(i)) << i;
  EXPECT_EQ(screen.palette[255], (Rgb{0, 255, 0}));
  EXPECT_EQ(screen.PixelAt(160, 120), PictureColour(PicturePixel(0, 0)));
  EXPECT_EQ(screen.PixelAt(159, 120), PictureColour(0));  // the fill's index 0
  EXPECT_EQ(player_->LastTick(), 912);
}

TEST_F(WorkedExample, SeekingBackAndForthGivesTheSameScreens) {
  const std::vector<uint8_t> at768 = player_->ScreenAt(768).indices;
  const Palette at840 = player_->ScreenAt(840).palette;
  player_->ScreenAt(912);
  EXPECT_EQ(player_->ScreenAt(648).palette, Uniform(127));
  EXPECT_EQ(player_->ScreenAt(840).palette, at840);
  EXPECT_EQ(player_->ScreenAt(768).indices, at768);
  EXPECT_EQ(player_->ScreenAt(-1).palette, Palette{});
}

}  // namespace

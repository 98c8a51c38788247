#include "preview/invert_rect.h"
#include "preview_fixture.h"

namespace {

// True when exactly the pixels x1 .. x2 - 1, y1 .. y2 - 1 of `shown` differ from `before`,
// each inverted.
testing::AssertionResult InvertedExactly(const QImage& before, const QImage& shown, int x1, int y1,
                                         int x2, int y2) {
  for (int y = 0; y < 480; ++y) {
    for (int x = 0; x < 640; ++x) {
      const bool inside = x >= x1 && x < x2 && y >= y1 && y < y2;
      const QRgb expected = inside ? before.pixel(x, y) ^ 0x00FFFFFFu : before.pixel(x, y);
      if (shown.pixel(x, y) != expected) {
        return testing::AssertionFailure() << "pixel " << x << ", " << y;
      }
    }
  }
  return testing::AssertionSuccess();
}

}  // namespace

TEST_F(PreviewTest, RectangleInvertsTheAreaUpToButNotIncludingTheFarCorner) {
  preview_.SetPicture(WritePicture("picture.bmp", 320, 240), false);
  const QImage before = Shown();
  preview_.SetRect(150, 100, 200, 130);
  EXPECT_TRUE(InvertedExactly(before, Shown(), 150, 100, 200, 130));
  EXPECT_EQ(preview_.CommittedRect(), (PreviewRect{150, 100, 200, 130}));
  EXPECT_EQ(preview_.WorkingRect(), (PreviewRect{150, 100, 200, 130}));
  preview_.SetRect(300, 200, 310, 400);  // a second one erases the first
  EXPECT_TRUE(InvertedExactly(before, Shown(), 300, 200, 310, 400));
  preview_.SetRect(0, 0, 0, 0);
  EXPECT_EQ(Shown(), before);
}

TEST_F(PreviewTest, RectangleWithCornersReversedIsKeptAsGivenAndDrawnBetweenThem) {
  const QImage before = Shown();
  preview_.SetRect(200, 130, 150, 100);
  EXPECT_EQ(preview_.CommittedRect(), (PreviewRect{200, 130, 150, 100}));
  EXPECT_TRUE(InvertedExactly(before, Shown(), 150, 100, 200, 130));
}

TEST_F(PreviewTest, EmptyAndOutOfRangeRectangles) {
  const QImage before = Shown();
  preview_.SetRect(10, 10, 10, 10);
  EXPECT_EQ(Shown(), before);
  preview_.SetRect(10, 10, 50, 10);
  EXPECT_EQ(Shown(), before);
  preview_.SetRect(-100, -50, 20, 30);
  EXPECT_TRUE(InvertedExactly(before, Shown(), 0, 0, 20, 30));
  preview_.SetRect(630, 470, 5000, 9000);
  EXPECT_TRUE(InvertedExactly(before, Shown(), 630, 470, 640, 480));
  preview_.SetRect(700, 10, 800, 20);
  EXPECT_EQ(Shown(), before);
}

TEST_F(PreviewTest, NewPictureKeepsTheRectangle) {
  preview_.SetRect(10, 20, 30, 40);
  preview_.SetPicture(WritePicture("picture.bmp", 640, 480), false);
  const QImage shown = Shown();
  EXPECT_EQ(shown.pixel(10, 20), Inverted(PixelColour(10, 20)));
  EXPECT_EQ(shown.pixel(30, 40), PixelColour(30, 40));
}

TEST(InvertRectTest, ReturnsTheClippedAreaItChanged) {
  QImage image(64, 48, QImage::Format_RGB32);
  image.fill(qRgb(1, 2, 3));
  EXPECT_EQ(InvertRect(image, {60, 40, 70, 50}), QRect(60, 40, 4, 8));
  EXPECT_EQ(image.pixel(63, 47), qRgb(254, 253, 252));
  EXPECT_TRUE(InvertRect(image, {5, 5, 5, 9}).isEmpty());
  EXPECT_TRUE(InvertRect(image, {-9, -9, -1, -1}).isEmpty());
}

#include <string>
#include <vector>

#include "preview_fixture.h"
#include "text/cp932.h"

namespace {

// The bounding box of the pixels of one colour; empty when there are none.
QRect PixelsOf(const QImage& image, QRgb colour) {
  QRect box;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      if (image.pixel(x, y) == colour) {
        box = box.united(QRect(x, y, 1, 1));
      }
    }
  }
  return box;
}

}  // namespace

TEST_F(PreviewTest, LyricsAreDrawnInTheirCellsInTheEventsColour) {
  // A rectangle of no height inverts nothing, so the text shows in its own colour.
  preview_.SetRect(100, 200, 300, 200);
  preview_.SetLyrics("abc\r\n\r\nxyz", 1, 0x00FF0000);
  const QImage shown = Shown();
  const QRgb blue = qRgb(0, 0, 255);
  for (int top : {200, 232}) {  // the first and the third line, right-aligned
    const QRect line = PixelsOf(shown.copy(0, top, 640, 16), blue);
    ASSERT_FALSE(line.isEmpty()) << top;
    EXPECT_GE(line.left(), 276);
    EXPECT_LT(line.right(), 300);
  }
  EXPECT_TRUE(PixelsOf(shown.copy(0, 216, 640, 16), blue).isEmpty());
  const QRect all = PixelsOf(shown, blue);
  EXPECT_GE(all.top(), 200);
  EXPECT_LT(all.bottom(), 248);
}

TEST_F(PreviewTest, JapaneseLyricsUseSixteenPixelCells) {
  preview_.SetRect(0, 100, 640, 100);
  preview_.SetLyrics(Utf8ToCp932("あい"), 0, 0x000000FF);
  const QImage shown = Shown();
  const QRgb red = qRgb(255, 0, 0);
  EXPECT_FALSE(PixelsOf(shown.copy(0, 100, 16, 16), red).isEmpty());
  EXPECT_FALSE(PixelsOf(shown.copy(16, 100, 16, 16), red).isEmpty());
  const QRect all = PixelsOf(shown, red);
  EXPECT_GE(all.top(), 100);
  EXPECT_LT(all.right(), 32);
  EXPECT_LT(all.bottom(), 116);
}

TEST_F(PreviewTest, LyricsLieBeneathTheInvertedRectangleAndMoveWithIt) {
  preview_.SetLyrics("abc", 0, 0x000000FF);
  preview_.SetRect(10, 10, 200, 100);
  QImage shown = Shown();
  EXPECT_FALSE(PixelsOf(shown, Inverted(qRgb(255, 0, 0))).isEmpty());
  EXPECT_TRUE(PixelsOf(shown, qRgb(255, 0, 0)).isEmpty());
  preview_.SetRect(300, 300, 300, 300);
  shown = Shown();
  const QRect moved = PixelsOf(shown, qRgb(255, 0, 0));
  ASSERT_FALSE(moved.isEmpty());
  EXPECT_GE(moved.left(), 300);
  EXPECT_GE(moved.top(), 300);
  preview_.SetLyrics("", 0, 0x000000FF);
  EXPECT_TRUE(PixelsOf(Shown(), qRgb(255, 0, 0)).isEmpty());
}

TEST_F(PreviewTest, LyricsOverAPictureTakeItsFreeIndexInTheirRealColour) {
  preview_.SetPicture(WritePicture("small.bmp", 64, 8), true);
  preview_.SetRect(0, 100, 640, 100);
  preview_.SetLyrics("abc", 0, 0x00FF00FF);
  const QImage shown = Shown();
  const QRect text = PixelsOf(shown.copy(0, 100, 24, 16), qRgb(255, 0, 255));
  EXPECT_FALSE(text.isEmpty());
  EXPECT_EQ(shown.pixel(30, 100), PixelColour(30, 100 % 8));  // the tiles around the text
}

#include <QFile>
#include <QtEndian>
#include <stdexcept>

#include "preview_fixture.h"

namespace {

struct Placement {
  int w;
  int h;
  int x0;
  int y0;
};

void PrintTo(const Placement& p, std::ostream* out) { *out << p.w << " x " << p.h; }

class CentredPictureTest : public PreviewTest, public testing::WithParamInterface<Placement> {};

}  // namespace

TEST_F(PreviewTest, WindowIsAFixedScreenSizedPreview) {
  EXPECT_EQ(preview_.windowTitle(), QStringLiteral("プレビュー"));
  EXPECT_EQ(preview_.size(), QSize(640, 480));
  EXPECT_EQ(preview_.minimumSize(), QSize(640, 480));
  EXPECT_EQ(preview_.maximumSize(), QSize(640, 480));
  EXPECT_EQ(preview_.pos(), QPoint(350, 324));
  EXPECT_EQ(preview_.PaintBox1()->objectName(), QStringLiteral("PaintBox1"));
  EXPECT_EQ(preview_.PaintBox1()->geometry(), QRect(0, 0, 640, 480));
  EXPECT_FALSE(preview_.HasPicture());
  EXPECT_FALSE(preview_.testAttribute(Qt::WA_QuitOnClose));
}

TEST_P(CentredPictureTest, PictureIsCentredWithTruncatedOffsets) {
  const Placement p = GetParam();
  preview_.SetPicture(WritePicture("centred.bmp", p.w, p.h), false);
  const QImage shown = Shown();
  auto expected = [&](int x, int y) {
    const int px = x - p.x0;
    const int py = y - p.y0;
    const bool inside = px >= 0 && px < p.w && py >= 0 && py < p.h;
    return inside ? PixelColour(px, py) : Surround();
  };
  for (int y = 0; y < 480; y += 7) {
    for (int x = 0; x < 640; x += 5) {
      ASSERT_EQ(shown.pixel(x, y), expected(x, y)) << "at " << x << ", " << y;
    }
  }
  EXPECT_EQ(shown.pixel(639, 479), expected(639, 479));
  EXPECT_EQ(shown.pixel(std::max(p.x0, 0), std::max(p.y0, 0)),
            PixelColour(std::max(-p.x0, 0), std::max(-p.y0, 0)));
}

INSTANTIATE_TEST_SUITE_P(Sizes, CentredPictureTest,
                         testing::Values(Placement{320, 240, 160, 120}, Placement{641, 480, 0, 0},
                                         Placement{700, 500, -30, -10}, Placement{1, 1, 319, 239},
                                         Placement{2000, 1200, -680, -360}));

TEST_F(PreviewTest, TiledPictureRepeatsFromTheCornerAndIsCutOffAtTheEdges) {
  preview_.SetPicture(WritePicture("tile.bmp", 200, 200), true);
  const QImage shown = Shown();
  int copies = 0;
  for (int x0 = 0; x0 < 640; x0 += 200) {
    for (int y0 = 0; y0 < 480; y0 += 200) {
      EXPECT_EQ(shown.pixel(x0, y0), PixelColour(0, 0)) << x0 << ", " << y0;
      EXPECT_EQ(shown.pixel(std::min(x0 + 150, 639), std::min(y0 + 70, 479)),
                PixelColour(std::min(x0 + 150, 639) - x0, std::min(y0 + 70, 479) - y0));
      ++copies;
    }
  }
  EXPECT_EQ(copies, 12);
  EXPECT_EQ(shown.pixel(639, 479), PixelColour(39, 79));
  EXPECT_TRUE(preview_.Tile());
  preview_.SetPicture(WritePicture("dot.bmp", 1, 1), true);  // a tiny one fills the screen
  EXPECT_EQ(Shown().pixel(0, 0), PixelColour(0, 0));
  EXPECT_EQ(Shown().pixel(639, 479), PixelColour(0, 0));
}

TEST_F(PreviewTest, EmptyPathClearsThePictureButKeepsTheTileFlagAndTheRectangle) {
  preview_.SetPicture(WritePicture("tile.bmp", 200, 200), true);
  preview_.SetRect(10, 10, 20, 20);
  preview_.SetPicture(QString(), false);
  EXPECT_FALSE(preview_.HasPicture());
  EXPECT_TRUE(preview_.Tile());
  const QImage shown = Shown();
  EXPECT_EQ(shown.pixel(0, 0), Background());
  EXPECT_EQ(shown.pixel(15, 15), Inverted(Background()));
}

// Neither bytes that are no picture nor a picture of another format are taken for a bitmap.
TEST_F(PreviewTest, UnreadablePictureThrowsAndLeavesNoPicture) {
  QImage png(8, 8, QImage::Format_RGB32);
  png.fill(Qt::red);
  ASSERT_TRUE(png.save(folder_.filePath("disguised.bmp"), "PNG"));
  for (const QString& bad :
       {WriteBytes("bad.bmp", "this is not a bitmap at all"), folder_.filePath("disguised.bmp")}) {
    preview_.SetPicture(WritePicture("good.bmp", 320, 240), true);
    EXPECT_THROW(preview_.SetPicture(bad, false), std::runtime_error);
    EXPECT_FALSE(preview_.HasPicture());
    EXPECT_TRUE(preview_.Tile());
    EXPECT_EQ(Shown().pixel(320, 240), Background());
  }
}

TEST_F(PreviewTest, MissingPictureThrowsWithThePathInTheMessage) {
  const QString missing = folder_.filePath("missing.bmp");
  try {
    preview_.SetPicture(missing, false);
    FAIL() << "no error";
  } catch (const std::runtime_error& error) {
    EXPECT_NE(std::string(error.what()).find(missing.toStdString()), std::string::npos);
  }
}

TEST_F(PreviewTest, APictureTheBuildRefusesIsShownAsRefusedWithTheReason) {
  preview_.SetPicture(WriteTrueColourPicture("deep.bmp", 64, 64), false);
  EXPECT_TRUE(preview_.HasPicture());
  EXPECT_TRUE(preview_.Refusal().contains("deep.bmp"));
  EXPECT_TRUE(preview_.Refusal().contains("24ビットの画像です"));
  EXPECT_EQ(Shown().pixel(320, 240), Background());  // the player draws nothing of it
  EXPECT_EQ(Shown().pixel(320, 470), qRgb(128, 0, 0));
  preview_.SetPicture(WritePicture("good.bmp", 8, 8), false);
  EXPECT_TRUE(preview_.Refusal().isEmpty());
}

// The headers of an 8-bit BMP that claims the given size, without its pixels.
static QByteArray HugeBmpHeader(qint32 width, qint32 height) {
  QByteArray bytes(54 + 1024, '\0');
  auto put32 = [&](int at, quint32 value) { qToLittleEndian(value, bytes.data() + at); };
  auto put16 = [&](int at, quint16 value) { qToLittleEndian(value, bytes.data() + at); };
  bytes[0] = 'B';
  bytes[1] = 'M';
  put32(2, 54 + 1024 + 16);
  put32(10, 54 + 1024);
  put32(14, 40);
  put32(18, static_cast<quint32>(width));
  put32(22, static_cast<quint32>(height));
  put16(26, 1);
  put16(28, 8);
  put32(34, 0);
  put32(46, 256);
  return bytes + QByteArray(16, '\x11');
}

TEST_F(PreviewTest, HugePicturesAreRefusedBeforeDecoding) {
  const struct {
    qint32 w;
    qint32 h;
  } sizes[] = {{100000, 100000}, {20000, 2}, {2, 20000}, {5000, 5000}, {30000, -30000}};
  for (const auto& size : sizes) {
    const QString path = WriteBytes("huge.bmp", HugeBmpHeader(size.w, size.h));
    EXPECT_THROW(preview_.SetPicture(path, true), std::runtime_error) << size.w << " x " << size.h;
    EXPECT_FALSE(preview_.HasPicture());
  }
}

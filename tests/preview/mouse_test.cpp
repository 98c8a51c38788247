#include <QWindow>
#include <optional>
#include <vector>

#include "preview_fixture.h"

namespace {

class MouseTest : public PreviewTest {
 protected:
  MouseTest() {
    QObject::connect(&preview_, &TForm2::TextRectChosen, [this](int x1, int y1, int x2, int y2) {
      chosen_.push_back({x1, y1, x2, y2});
    });
  }

  QList<int> Chosen() const { return chosen_.front(); }

  // Every rectangle the window reported, in order.
  std::vector<QList<int>> chosen_;
};

}  // namespace

TEST_F(MouseTest, DragUpAndLeftGivesTheOrderedRectangle) {
  Press(100, 50);
  EXPECT_TRUE(preview_.Dragging());
  Move(60, 200);
  Move(20, 300);
  Release(20, 300);
  EXPECT_FALSE(preview_.Dragging());
  ASSERT_EQ(chosen_.size(), 1u);
  EXPECT_EQ(Chosen(), (QList<int>{20, 50, 100, 300}));
  EXPECT_EQ(preview_.CommittedRect(), (PreviewRect{20, 50, 100, 300}));
  EXPECT_EQ(preview_.WorkingRect(), (PreviewRect{20, 50, 100, 300}));
  const QImage shown = Shown();
  EXPECT_EQ(shown.pixel(20, 50), Inverted(Background()));
  EXPECT_EQ(shown.pixel(99, 299), Inverted(Background()));
  EXPECT_EQ(shown.pixel(100, 300), Background());
  EXPECT_EQ(shown.pixel(61, 201), Inverted(Background()));
}

TEST_F(MouseTest, RectangleFollowsThePointerDuringTheDrag) {
  Press(100, 50);
  Move(150, 80);
  EXPECT_EQ(preview_.WorkingRect(), (PreviewRect{100, 50, 150, 80}));
  const QImage shown = Shown();
  EXPECT_EQ(shown.pixel(120, 60), Inverted(Background()));
  EXPECT_EQ(shown.pixel(150, 80), Background());
  EXPECT_TRUE(chosen_.empty());
}

// A gesture reports the rectangle from the press to the last movement (not the release point),
// with any button, unclamped; one that ends where it began, or has no press, changes nothing.
TEST_F(MouseTest, GesturesReportTheirRectangleOrChangeNothing) {
  struct Row {
    const char* what;
    Qt::MouseButton button;      // Qt::NoButton: no press
    std::vector<QPoint> points;  // the press (or first point), the movements, the release
    std::optional<QList<int>> chosen;
  };
  const Row rows[] = {
      {"click", Qt::LeftButton, {{300, 300}, {300, 300}}, std::nullopt},
      {"back to the start",
       Qt::LeftButton,
       {{300, 300}, {400, 350}, {300, 300}, {410, 360}},
       std::nullopt},
      {"no press", Qt::NoButton, {{0, 0}, {100, 100}, {100, 100}}, std::nullopt},
      {"release elsewhere",
       Qt::LeftButton,
       {{10, 10}, {50, 60}, {90, 90}},
       QList<int>{10, 10, 50, 60}},
      {"middle button", Qt::MiddleButton, {{5, 6}, {7, 8}, {7, 8}}, QList<int>{5, 6, 7, 8}},
      {"straight line",
       Qt::LeftButton,
       {{100, 100}, {100, 300}, {100, 300}},
       QList<int>{100, 100, 100, 300}},
      {"outside",
       Qt::LeftButton,
       {{600, 400}, {700, -20}, {700, -20}},
       QList<int>{600, -20, 700, 400}},
  };
  preview_.SetRect(10, 20, 30, 40);
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    chosen_.clear();
    const PreviewRect committed = preview_.CommittedRect();
    const QImage before = Shown();
    const QPoint start = row.points.front(), end = row.points.back();
    if (row.button != Qt::NoButton) Press(start.x(), start.y(), row.button);
    for (size_t i = 1; i + 1 < row.points.size(); ++i) Move(row.points[i].x(), row.points[i].y());
    Release(end.x(), end.y(), row.button == Qt::NoButton ? Qt::LeftButton : row.button);
    EXPECT_FALSE(preview_.Dragging());
    if (row.chosen) {
      ASSERT_EQ(chosen_.size(), 1u);
      EXPECT_EQ(Chosen(), *row.chosen);
    } else {
      EXPECT_TRUE(chosen_.empty());
      EXPECT_EQ(preview_.WorkingRect(), committed);
      EXPECT_EQ(preview_.CommittedRect(), committed);
      EXPECT_EQ(Shown(), before);
    }
  }
  // The last rectangle, outside the window, is drawn clipped to it.
  const QImage shown = Shown();
  EXPECT_EQ(shown.pixel(639, 0), Inverted(Background()));
  EXPECT_EQ(shown.pixel(599, 0), Background());
}

TEST_F(MouseTest, SecondButtonDuringADragIsIgnoredAndTheFirstReleaseEndsIt) {
  Press(10, 10);
  Move(50, 60);
  Press(200, 200, Qt::RightButton);
  EXPECT_EQ(preview_.WorkingRect(), (PreviewRect{10, 10, 50, 60}));
  Move(70, 80);
  Release(70, 80, Qt::RightButton);
  ASSERT_EQ(chosen_.size(), 1u);
  EXPECT_EQ(Chosen(), (QList<int>{10, 10, 70, 80}));
  Release(70, 80, Qt::LeftButton);
  EXPECT_EQ(chosen_.size(), 1u);
  EXPECT_FALSE(preview_.Dragging());
}

TEST_F(MouseTest, DraggingNeverDrawsThePictureAgain) {
  preview_.SetPicture(WritePicture("picture.bmp", 200, 200), true);
  const int renders = preview_.PictureRenderCount();
  Press(10, 10);
  for (int step = 0; step < 100; ++step) {
    Move(10 + 6 * step, 10 + 4 * step);
  }
  Release(600, 400);
  preview_.SetRect(1, 2, 3, 4);
  EXPECT_EQ(preview_.PictureRenderCount(), renders);
  ASSERT_EQ(chosen_.size(), 1u);
  // The picture is intact under the final rectangle.
  const QImage shown = Shown();
  EXPECT_EQ(shown.pixel(100, 100), PixelColour(100, 100));
  EXPECT_EQ(shown.pixel(2, 3), Inverted(PixelColour(2, 3)));
}

TEST_F(MouseTest, DraggingOverLyricsDrawsThemAgainOnlyWhenTheDragEnds) {
  preview_.SetLyrics("abc", 0, 0x0000FF);
  preview_.SetRect(10, 10, 100, 100);
  const int renders = preview_.PictureRenderCount();
  Press(50, 50);
  for (int step = 0; step < 20; ++step) {
    Move(60 + step, 70 + step);
  }
  EXPECT_EQ(preview_.PictureRenderCount(), renders);
  Release(0, 0);
  EXPECT_EQ(preview_.PictureRenderCount(), renders + 1);
}

// Through the shown window, as the platform delivers them: Qt's implicit grab sends the
// movement and the release outside the window to the box where the button went down.
TEST_F(MouseTest, ShownWindowKeepsTheDragWhenThePointerLeavesIt) {
  preview_.show();
  QWindow* window = preview_.windowHandle();
  ASSERT_NE(window, nullptr);
  auto send = [&](QEvent::Type type, Qt::MouseButton button, Qt::MouseButtons held, int x, int y) {
    const QPointF at(x, y);
    QMouseEvent event(type, at, window->mapToGlobal(at), button, held, Qt::NoModifier);
    QCoreApplication::sendEvent(window, &event);
  };
  send(QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton, 600, 400);
  send(QEvent::MouseMove, Qt::NoButton, Qt::LeftButton, 650, 420);
  send(QEvent::MouseMove, Qt::NoButton, Qt::LeftButton, 700, -20);
  send(QEvent::MouseButtonRelease, Qt::LeftButton, Qt::NoButton, 700, -20);
  preview_.hide();
  ASSERT_EQ(chosen_.size(), 1u);
  EXPECT_EQ(Chosen(), (QList<int>{600, -20, 700, 400}));
}

#include <QWindow>
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

TEST_F(MouseTest, ClickWithoutMovingRestoresTheCommittedRectangle) {
  preview_.SetRect(10, 20, 30, 40);
  const QImage before = Shown();
  Press(300, 300);
  Release(300, 300);
  EXPECT_TRUE(chosen_.empty());
  EXPECT_EQ(preview_.WorkingRect(), (PreviewRect{10, 20, 30, 40}));
  EXPECT_EQ(preview_.CommittedRect(), (PreviewRect{10, 20, 30, 40}));
  EXPECT_EQ(Shown(), before);
}

TEST_F(MouseTest, DragBackToTheStartingPointChangesNothing) {
  preview_.SetRect(10, 20, 30, 40);
  const QImage before = Shown();
  Press(300, 300);
  Move(400, 350);
  Move(300, 300);
  Release(410, 360);
  EXPECT_TRUE(chosen_.empty());
  EXPECT_EQ(Shown(), before);
}

TEST_F(MouseTest, ReleasePointIsNotUsedOnlyTheLastMovement) {
  Press(10, 10);
  Move(50, 60);
  Release(90, 90);
  ASSERT_EQ(chosen_.size(), 1u);
  EXPECT_EQ(Chosen(), (QList<int>{10, 10, 50, 60}));
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

TEST_F(MouseTest, AnyButtonStartsADrag) {
  Press(5, 6, Qt::MiddleButton);
  Move(7, 8);
  Release(7, 8, Qt::MiddleButton);
  ASSERT_EQ(chosen_.size(), 1u);
  EXPECT_EQ(Chosen(), (QList<int>{5, 6, 7, 8}));
}

TEST_F(MouseTest, PointerOutsideTheWindowIsPassedOnUnclamped) {
  Press(600, 400);
  Move(700, -20);
  Release(700, -20);
  ASSERT_EQ(chosen_.size(), 1u);
  EXPECT_EQ(Chosen(), (QList<int>{600, -20, 700, 400}));
  const QImage shown = Shown();
  EXPECT_EQ(shown.pixel(639, 0), Inverted(Background()));
  EXPECT_EQ(shown.pixel(599, 0), Background());
}

TEST_F(MouseTest, StraightLineDragIsAccepted) {
  Press(100, 100);
  Move(100, 300);
  Release(100, 300);
  ASSERT_EQ(chosen_.size(), 1u);
  EXPECT_EQ(Chosen(), (QList<int>{100, 100, 100, 300}));
}

TEST_F(MouseTest, MovementWithoutADragDoesNothing) {
  const QImage before = Shown();
  Move(100, 100);
  Release(100, 100);
  EXPECT_TRUE(chosen_.empty());
  EXPECT_EQ(Shown(), before);
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
  EXPECT_EQ(shown.pixel(100, 100), PixelColor(100, 100));
  EXPECT_EQ(shown.pixel(2, 3), Inverted(PixelColor(2, 3)));
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

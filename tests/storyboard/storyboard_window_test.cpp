// The storyboard window: tiles in rows that follow its width, a click choosing its event, the
// corners and the frame, and the contact sheet written from the context menu's command.

#include "storyboard/storyboard_window.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QMouseEvent>
#include <QScrollArea>
#include <filesystem>

#include "make/build_case.h"
#include "showmodel/storyboard_model.h"
#include "storyboard/storyboard_view.h"

namespace {

using namespace build_test;

class StoryboardWindowTest : public testing::Test {
 protected:
  StoryboardWindowTest() : window_(std::make_shared<PictureCache>()) {
    build_.Picture("grey.bmp", 640, 480, 90);
    // Entered out of time order: the storyboard goes by time.
    for (int count : {80, 0, 16, 32, 48, 64})
      build_.Add("e" + std::to_string(count), count, "grey.bmp");
    window_.SetDocument(build_.Table());
    window_.resize(StoryboardView::WidthFor(3) + 30, 400);
    window_.show();
    QApplication::processEvents();
  }

  void Click(int index, QEvent::Type type = QEvent::MouseButtonPress) {
    const QPointF at = window_.View().TileRect(index).center();
    QMouseEvent event(type, at, window_.View().mapToGlobal(at), Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QCoreApplication::sendEvent(&window_.View(), &event);
  }

  QRgb ViewPixel(const QPoint& point) { return window_.View().grab().toImage().pixel(point); }

  BuildCase build_;
  StoryboardWindow window_;
};

TEST_F(StoryboardWindowTest, TilesFollowTheWidthAndAClickChoosesTheTilesEvent) {
  EXPECT_EQ(window_.View().Columns(), 3);
  EXPECT_EQ(window_.View().TileRect(4).topLeft(),
            QPoint(8 + 168, window_.View().TileRect(3).top()));
  int selected = -1, shown = -1;
  QObject::connect(&window_, &StoryboardWindow::EventSelected, [&](int e) { selected = e; });
  QObject::connect(&window_, &StoryboardWindow::ShowRequested, [&](int e) { shown = e; });
  Click(5);
  EXPECT_EQ(selected, 0);  // the latest event is the table's first
  EXPECT_EQ(window_.View().Selected(), 0);
  EXPECT_EQ(shown, -1);
  Click(1, QEvent::MouseButtonDblClick);
  EXPECT_EQ(shown, 2);

  window_.resize(StoryboardView::WidthFor(5) + 30, 400);
  QApplication::processEvents();
  EXPECT_EQ(window_.View().Columns(), 5);
  // After an edit reaching every tile, those out of view are made while the program is idle.
  window_.resize(StoryboardView::WidthFor(5) + 30, 60);
  build_.Table().events[1].Lyrics = "x\r\n";
  window_.SetDocument(build_.Table());
  EXPECT_TRUE(window_.Model().IsStale(5));
  for (int i = 0; i < 100 && window_.Model().IsStale(5); ++i) QApplication::processEvents();
  EXPECT_FALSE(window_.Model().IsStale(5));
}

TEST_F(StoryboardWindowTest, TheSelectedTileIsFramedAndProblemsMarkTheCorner) {
  window_.SelectEvent(3);  // the tile at index 2
  window_.SetProblems(
      {{"x", 4, Problem::Severity::kError, ""}, {"y", 5, Problem::Severity::kWarning, ""}});
  const QImage view = window_.View().grab().toImage();
  const QRect framed = window_.View().TileRect(2);
  EXPECT_EQ(QColor(view.pixel(framed.topLeft() - QPoint(2, 2))), QColor(80, 160, 255));
  EXPECT_EQ(QColor(view.pixel(framed.center())), QColor(90, 90, 90));
  EXPECT_EQ(QColor(view.pixel(window_.View().TileRect(2).topRight() - QPoint(1, -1))),
            QColor(220, 40, 40));
  EXPECT_EQ(QColor(view.pixel(window_.View().TileRect(3).topRight() - QPoint(1, -1))),
            QColor(240, 200, 40));
  EXPECT_EQ(QColor(view.pixel(window_.View().TileRect(1).topRight() - QPoint(1, -1))),
            QColor(90, 90, 90));
}

TEST_F(StoryboardWindowTest, TheContextMenusSheetHoldsEveryTileOrSaysWhyNot) {
  const std::filesystem::path sheet = build_.Folder().Path() / "シート.png";
  window_.SetSheetPathChooser([&] { return QString::fromStdString(sheet.string()); });
  QString failure;
  QObject::connect(&window_, &StoryboardWindow::Failed, [&](const QString& m) { failure = m; });
  window_.WriteSheetAsked();
  const QImage written(QString::fromStdString(sheet.string()));
  EXPECT_EQ(written.size(), QSize(8 + 4 * 168, 8 + 2 * 148));
  EXPECT_EQ(QColor(written.pixel(8, 8)), QColor(90, 90, 90));
  EXPECT_TRUE(failure.isEmpty());

  window_.SetSheetPathChooser([&] { return QString::fromStdString((sheet / "x.png").string()); });
  window_.WriteSheetAsked();
  EXPECT_FALSE(failure.isEmpty());
}

}  // namespace

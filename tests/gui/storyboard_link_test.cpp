// The storyboard beside the main window: Ctrl+B, a tile's click, the working document.
#include <QAction>
#include <QApplication>
#include <QMouseEvent>
#include <QPlainTextEdit>

#include "main_window_fixture.h"
#include "show/show_window.h"
#include "showmodel/storyboard_model.h"
#include "storyboard/storyboard_view.h"
#include "storyboard/storyboard_window.h"
#include "test_files.h"

namespace {

class StoryboardLinkTest : public MainWindowTest {
 protected:
  void ClickTile(StoryboardWindow& window, int index, QEvent::Type type) {
    const QPointF at = window.View().TileRect(index).center();
    QMouseEvent event(type, at, window.View().mapToGlobal(at), Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QCoreApplication::sendEvent(&window.View(), &event);
  }
};

TEST_F(StoryboardLinkTest, ATileSelectsAndSeeksAndAnEditRedrawsItAtOnce) {
  WriteBmp8(dir.filePath("表.bmp"), 640, 480, 40);
  WriteBmp8(dir.filePath("b.bmp"), 640, 480, 90);
  OpenSong(640);
  Combo("Picture")->setEditText(QStringLiteral("表.bmp"));
  form->AddClick();  // at 0, as the first
  Edit("Count")->setText("96");
  form->CountEnter();
  Combo("Picture")->setEditText(QStringLiteral("b.bmp"));
  ClickLine(0);

  auto* action = form->findChild<QAction*>("StoryboardAction");
  ASSERT_NE(action, nullptr);
  EXPECT_EQ(action->shortcut(), QKeySequence(QStringLiteral("Ctrl+B")));
  action->trigger();
  auto* window = form->findChild<StoryboardWindow*>();
  ASSERT_NE(window, nullptr);
  ASSERT_TRUE(window->isVisible());
  ASSERT_EQ(window->Model().Count(), 2);
  EXPECT_EQ(window->View().Selected(), 0);  // the event list's selection

  // A click on the later tile: its event is selected in the window, the song is there.
  ClickTile(*window, 1, QEvent::MouseButtonPress);
  EXPECT_EQ(form->Selection(), 1);
  EXPECT_EQ(List()->currentRow(), 1);
  EXPECT_EQ(player.position, 96);
  EXPECT_EQ(window->View().Selected(), 1);

  // An edit still in the controls reaches the tile, and only that one.
  const auto first = window->Model().Tile(0);
  const auto before = window->Model().Tile(1);
  Combo("Picture")->setEditText(QString());
  QApplication::processEvents();
  EXPECT_EQ(window->Model().Tile(0), first);
  const auto after = window->Model().Tile(1);
  EXPECT_NE(after->rgb, before->rgb);
  EXPECT_TRUE(form->Modified());

  // A double click also shows the show window at that moment.
  ClickTile(*window, 0, QEvent::MouseButtonDblClick);
  EXPECT_EQ(form->Selection(), 0);
  EXPECT_EQ(player.position, 0);
  auto* show = form->findChild<ShowWindow*>();
  ASSERT_NE(show, nullptr);
  EXPECT_TRUE(show->isVisible());
}

}  // namespace

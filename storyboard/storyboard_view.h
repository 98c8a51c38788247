#pragma once

#include <QImage>
#include <QWidget>
#include <memory>
#include <vector>

#include "wrdplayer/screen_tile.h"

class StoryboardModel;

// The tiles of a storyboard in rows as many as the width takes, each with its time and mark
// under it, a red corner for an event with an error and a yellow one for a warning, and a frame
// around the selected event's tile. Tiles are computed and turned into images only when they
// come into view, and again only when the model gives a new tile. It draws and reports; the
// owner decides what a click does.
class StoryboardView : public QWidget {
  Q_OBJECT

 public:
  static constexpr int kMargin = 8;
  static constexpr int kCornerSize = 16;

  // `model` must outlive the view.
  explicit StoryboardView(StoryboardModel& model, QWidget* parent = nullptr);

  // After the model has changed: sizes the view again and draws what may have changed.
  void ModelChanged();
  // The selected event (table order, from 0), or -1.
  void SetSelected(int event);
  int Selected() const { return selected_; }

  // The layout for the width the view has.
  int Columns() const;
  QRect TileRect(int index) const;
  // The storyboard position under a point, or -1.
  int IndexAt(const QPoint& point) const;
  // The width the view asks for at `columns` tiles per row.
  static int WidthFor(int columns);

  QSize sizeHint() const override;
  bool hasHeightForWidth() const override { return true; }
  int heightForWidth(int width) const override;

 signals:
  // A tile was clicked: its event (table order, from 0).
  void EventClicked(int event);
  void EventDoubleClicked(int event);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  int CellHeight() const;
  int ColumnsFor(int width) const;
  const QImage& ImageAt(int index);

  StoryboardModel& model_;
  int selected_ = -1;
  // The images of the tiles as drawn, and the tiles they were made from.
  std::vector<QImage> images_;
  std::vector<std::shared_ptr<const ScreenTile>> madeFrom_;
};

#pragma once

#include <QWidget>

class QPainter;

// The preview's drawing surface. It draws nothing itself: every paint and mouse event is
// passed on as a signal, so that the window owning it decides what is shown.
class PaintBox : public QWidget {
  Q_OBJECT

 public:
  explicit PaintBox(QWidget* parent = nullptr);

 signals:
  // Emitted from the paint event; `area` is the part of the box to be drawn.
  void Paint(QPainter& painter, const QRect& area);
  void MouseDown(Qt::MouseButton button, int x, int y);
  void MouseMove(int x, int y);
  void MouseUp(Qt::MouseButton button, int x, int y);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
};

#include "preview/paint_box.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>

PaintBox::PaintBox(QWidget* parent) : QWidget(parent) {
  // Every pixel is drawn by the owner: no background fill of our own.
  setAttribute(Qt::WA_OpaquePaintEvent);
}

void PaintBox::paintEvent(QPaintEvent* event) {
  QPainter painter(this);
  emit Paint(painter, event->rect());
}

void PaintBox::mousePressEvent(QMouseEvent* event) {
  const QPoint at = event->position().toPoint();
  emit MouseDown(event->button(), at.x(), at.y());
}

void PaintBox::mouseMoveEvent(QMouseEvent* event) {
  const QPoint at = event->position().toPoint();
  emit MouseMove(at.x(), at.y());
}

void PaintBox::mouseReleaseEvent(QMouseEvent* event) {
  const QPoint at = event->position().toPoint();
  emit MouseUp(event->button(), at.x(), at.y());
}

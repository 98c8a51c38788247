#include "widgets/double_click_relay.h"

#include <QEvent>
#include <QWidget>

DoubleClickRelay::DoubleClickRelay(QWidget* widget) : QObject(widget) {
  widget->installEventFilter(this);
}

bool DoubleClickRelay::eventFilter(QObject* /*watched*/, QEvent* event) {
  if (event->type() == QEvent::MouseButtonDblClick) emit DoubleClicked();
  return false;
}

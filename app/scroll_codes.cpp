#include "app/scroll_codes.h"

#include <QEvent>
#include <QMetaObject>
#include <QScrollBar>

ScrollCodes::ScrollCodes(QScrollBar* bar) : QObject(bar), bar_(bar) {
  bar_->installEventFilter(this);
  connect(bar_, &QAbstractSlider::actionTriggered, this, &ScrollCodes::ActionTriggered);
  connect(bar_, &QAbstractSlider::sliderReleased, this, &ScrollCodes::SliderReleased);
}

bool ScrollCodes::eventFilter(QObject* watched, QEvent* event) {
  if (watched == bar_) {
    if (event->type() == QEvent::MouseButtonPress) {
      mouse_down_ = true;
    } else if (event->type() == QEvent::MouseButtonRelease) {
      mouse_down_ = false;
      if (end_pending_) {
        end_pending_ = false;
        // The bar stops its repeat on this release; the position is already taken.
        EndScrollLater();
      }
    }
  }
  return QObject::eventFilter(watched, event);
}

void ScrollCodes::ActionTriggered(int action) {
  int code = -1;
  switch (action) {
    case QAbstractSlider::SliderSingleStepSub:
      code = kLineLeft;
      break;
    case QAbstractSlider::SliderSingleStepAdd:
      code = kLineRight;
      break;
    case QAbstractSlider::SliderPageStepSub:
      code = kPageLeft;
      break;
    case QAbstractSlider::SliderPageStepAdd:
      code = kPageRight;
      break;
    case QAbstractSlider::SliderToMinimum:
      code = kLeftmost;
      break;
    case QAbstractSlider::SliderToMaximum:
      code = kRightmost;
      break;
    case QAbstractSlider::SliderMove:
      if (bar_->isSliderDown()) {
        emit Scroll(kThumbTrack);
      } else {
        // A wheel turn: the thumb jumps without a drag.
        emit Scroll(kThumbPosition);
        EndScrollLater();
      }
      return;
    default:
      return;
  }
  emit Scroll(code);
  if (mouse_down_) {
    end_pending_ = true;
  } else {
    EndScrollLater();
  }
}

void ScrollCodes::SliderReleased() {
  // With tracking on, the bar already holds the released position.
  emit Scroll(kThumbPosition);
  emit Scroll(kEndScroll);
}

void ScrollCodes::EndScrollLater() {
  // Queued, so that the bar has taken the step's position when 8 arrives.
  QMetaObject::invokeMethod(
      this, [this] { emit Scroll(kEndScroll); }, Qt::QueuedConnection);
}

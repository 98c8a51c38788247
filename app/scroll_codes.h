#pragma once

#include <QObject>

class QScrollBar;

// Turns a QScrollBar's signals into the scroll codes of a Windows scroll-bar notification,
// which the time-bar handlers are written against:
//   0 line left, 1 line right, 2 page left, 3 page right, 4 thumb position (end of a drag),
//   5 thumb track, 6 leftmost, 7 rightmost, 8 end of scroll.
//
// A code is reported before the bar takes its new position, as on Windows. A line, page or
// end step is followed by 8 once the action is over: when the mouse button that caused it is
// released, or (keyboard, wheel, a step triggered by the program) as soon as control returns
// to the event loop. A thumb drag reports 5 for every move and 4, then 8, on release. A wheel
// turn over the bar moves the thumb without a drag; it reports 4 and then 8.
class ScrollCodes : public QObject {
  Q_OBJECT

 public:
  enum Code {
    kLineLeft = 0,
    kLineRight = 1,
    kPageLeft = 2,
    kPageRight = 3,
    kThumbPosition = 4,
    kThumbTrack = 5,
    kLeftmost = 6,
    kRightmost = 7,
    kEndScroll = 8,
  };

  // Watches `bar`; the adapter is a child of the bar and lives as long as it does.
  explicit ScrollCodes(QScrollBar* bar);

 signals:
  void Scroll(int code);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void ActionTriggered(int action);
  void SliderReleased();
  void EndScrollLater();

  QScrollBar* bar_;
  bool mouse_down_ = false;   // a mouse button is held on the bar
  bool end_pending_ = false;  // a step happened under the held button: 8 on its release
};

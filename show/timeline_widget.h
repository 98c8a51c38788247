#pragma once

#include <QString>
#include <QWidget>
#include <cstdint>
#include <vector>

#include "song/meter.h"

class QPainter;

// One event on the timeline: where it happens, its mark and its fades, in sixteenth notes.
struct TimelineMarker {
  int index = 0;  // the event's slot in the table
  int32_t count = 0;
  QString mark;
  int32_t fade_out_from = -1;  // the fade-out before the event, or -1: none
  int32_t fade_out_to = -1;
  int32_t fade_in_to = -1;  // the fade-in after the event ends here, or -1: none
};

// A strip of the song: bars and beats from its time signatures, every event as a marker with
// its mark and fades, the loop and the playing position. A click seeks, dragging a marker
// retimes its event by whole sixteenths, a double click on a marker chooses its event. While
// the song plays the strip scrolls with it; the wheel zooms. It draws and reports; the owner
// decides what the requests do.
class TimelineWidget : public QWidget {
  Q_OBJECT

 public:
  explicit TimelineWidget(QWidget* parent = nullptr);

  // The song's meter, its ticks per quarter note and its length in sixteenths.
  void SetSong(const Meter& meter, int64_t division, int32_t length);
  void SetMarkers(std::vector<TimelineMarker> markers);
  // The song's syllables (MIDI ticks), drawn as small ticks under the markers.
  void SetSyllables(std::vector<int64_t> ticks);
  void SetSelected(int index);
  // The playing position (fractions of a sixteenth move smoothly); `follow` scrolls the strip
  // so that the position stays in view.
  void SetPosition(double sixteenth, bool follow);
  // from >= to: no loop.
  void SetLoop(int32_t from, int32_t to);

  // The sixteenth nearest to a point of the strip, clamped into the song.
  int32_t SixteenthAt(int x) const;
  double XOf(double sixteenth) const;
  QSize sizeHint() const override { return {640, 96}; }

 signals:
  void SeekRequested(int32_t sixteenth);
  void MarkerMoved(int index, int32_t sixteenth);
  void MarkerActivated(int index);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;

 private:
  // The marker drawn under a point, or -1.
  int MarkerAt(int x) const;
  void PaintGrid(QPainter& painter) const;
  void PaintMarkers(QPainter& painter) const;
  void PaintSyllables(QPainter& painter) const;
  double SixteenthOfTick(int64_t tick) const { return double(tick) * 4 / double(division_); }
  void PaintMarks(QPainter& painter, int lane_height) const;

  Meter meter_;
  int64_t division_ = 96;
  int32_t length_ = 0;
  std::vector<TimelineMarker> markers_;
  std::vector<int64_t> syllables_;
  int selected_ = -1;
  double position_ = 0;
  int32_t loop_from_ = 0, loop_to_ = 0;
  double left_ = 0;    // the sixteenth at the left edge
  double pixels_ = 8;  // per sixteenth
  int dragging_ = -1;  // the marker (its place in markers_) being dragged
  int32_t drag_to_ = 0;
  bool dragged_ = false;
};

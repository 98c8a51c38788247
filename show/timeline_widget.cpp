#include "show/timeline_widget.h"

#include <QFontMetrics>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>
#include <utility>

namespace {

constexpr int kRulerHeight = 16;
constexpr int kMarkerGrab = 4;      // pixels either side of a marker that pick it up
constexpr int kSyllableTick = 5;    // the height of a syllable's tick at the foot
constexpr int kLanes = 3;           // rows for the marks, so that close marks do not overlap
constexpr double kFollowAt = 0.25;  // where the playing position stays while following

}  // namespace

TimelineWidget::TimelineWidget(QWidget* parent) : QWidget(parent) {
  setMinimumHeight(72);
  setFocusPolicy(Qt::ClickFocus);
}

void TimelineWidget::SetSong(const Meter& meter, int64_t division, int32_t length) {
  meter_ = meter;
  division_ = std::max<int64_t>(division, 1);
  length_ = std::max(length, 0);
  left_ = 0;
  update();
}

void TimelineWidget::SetMarkers(std::vector<TimelineMarker> markers) {
  markers_ = std::move(markers);
  if (dragging_ >= static_cast<int>(markers_.size())) dragging_ = -1;
  update();
}

void TimelineWidget::SetSelected(int index) {
  if (selected_ == index) return;
  selected_ = index;
  update();
}

void TimelineWidget::SetPosition(double sixteenth, bool follow) {
  if (sixteenth == position_ && !follow) return;  // nothing moved: no repaint
  position_ = sixteenth;
  const double visible = width() / pixels_;
  if (follow) {
    left_ = std::max(0.0, position_ - visible * kFollowAt);
  } else if (position_ < left_ || position_ > left_ + visible) {
    left_ = std::max(0.0, position_ - visible * kFollowAt);  // a seek out of view
  }
  update();
}

void TimelineWidget::SetLoop(int32_t from, int32_t to) {
  loop_from_ = from;
  loop_to_ = to;
  update();
}

double TimelineWidget::XOf(double sixteenth) const { return (sixteenth - left_) * pixels_; }

int32_t TimelineWidget::SixteenthAt(int x) const {
  const double at = std::round(left_ + x / pixels_);
  return static_cast<int32_t>(std::clamp<double>(at, 0, length_));
}

int TimelineWidget::MarkerAt(int x) const {
  int best = -1;
  double best_distance = kMarkerGrab + 1;
  for (size_t i = 0; i < markers_.size(); ++i) {
    const double distance = std::abs(XOf(markers_[i].count) - x);
    if (distance < best_distance) {
      best = static_cast<int>(i);
      best_distance = distance;
    }
  }
  return best;
}

void TimelineWidget::PaintGrid(QPainter& painter) const {
  const double first = left_, last = left_ + width() / pixels_ + 1;
  // Beats in ticks: a sixteenth is division / 4 ticks.
  const auto to_tick = [this](double s) { return static_cast<int64_t>(s * division_ / 4); };
  const std::vector<Meter::Beat> beats = meter_.Beats(to_tick(first), to_tick(last) + 1);
  const bool every_beat_numbered = pixels_ >= 6;
  for (const Meter::Beat& beat : beats) {
    const double x = XOf(SixteenthOfTick(beat.tick));
    if (beat.tick * 4 > int64_t(length_) * division_) break;
    const bool bar = beat.beat == 1;
    painter.setPen(bar ? QColor(90, 90, 90) : QColor(200, 200, 200));
    painter.drawLine(QPointF(x, bar ? 0 : kRulerHeight), QPointF(x, height()));
    if (bar || every_beat_numbered) {
      painter.setPen(bar ? Qt::black : Qt::gray);
      const QString label =
          bar ? QString::number(beat.bar) : QStringLiteral("%1:%2").arg(beat.bar).arg(beat.beat);
      painter.drawText(QPointF(x + 2, kRulerHeight - 4), label);
    }
  }
  painter.setPen(Qt::gray);
  painter.drawLine(0, kRulerHeight, width(), kRulerHeight);
}

void TimelineWidget::SetSyllables(std::vector<int64_t> ticks) {
  syllables_ = std::move(ticks);
  update();
}

void TimelineWidget::PaintSyllables(QPainter& painter) const {
  painter.setPen(QPen(QColor(200, 110, 0), 1));
  const double bottom = height() - 1;
  for (const int64_t tick : syllables_) {
    const double x = XOf(SixteenthOfTick(tick));
    if (x < 0 || x > width()) continue;
    painter.drawLine(QPointF(x, bottom - kSyllableTick), QPointF(x, bottom));
  }
}

void TimelineWidget::PaintMarkers(QPainter& painter) const {
  const int lane_height = (height() - kRulerHeight) / (kLanes + 1);
  for (size_t i = 0; i < markers_.size(); ++i) {
    const TimelineMarker& marker = markers_[i];
    const int32_t count = static_cast<int>(i) == dragging_ ? drag_to_ : marker.count;
    const double x = XOf(count);
    const int shift = count - marker.count;
    const double bottom = height() - 2;
    const double top = kRulerHeight + lane_height * kLanes;
    // Fades as ramps: the picture fades out before the event and in after it.
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(120, 120, 200, 90));
    if (marker.fade_out_from >= 0) {
      QPainterPath ramp;
      ramp.moveTo(XOf(marker.fade_out_from + shift), bottom);
      ramp.lineTo(XOf(marker.fade_out_to + shift), top);
      ramp.lineTo(XOf(marker.fade_out_to + shift), bottom);
      painter.drawPath(ramp);
    }
    if (marker.fade_in_to >= 0) {
      QPainterPath ramp;
      ramp.moveTo(x, top);
      ramp.lineTo(XOf(marker.fade_in_to + shift), bottom);
      ramp.lineTo(x, bottom);
      painter.drawPath(ramp);
    }
    if (x < -200 || x > width() + 2) continue;
    const bool selected = marker.index == selected_;
    painter.setPen(QPen(selected ? QColor(0, 90, 220) : QColor(0, 140, 0), selected ? 3 : 2));
    painter.drawLine(QPointF(x, kRulerHeight), QPointF(x, height()));
  }
  PaintMarks(painter, lane_height);
}

void TimelineWidget::PaintMarks(QPainter& painter, int lane_height) const {
  // Lanes go by time, so that neighbours on the strip never share one; each mark sits on a
  // light ground so that the lines it crosses do not cut through it.
  std::vector<std::pair<int32_t, size_t>> order;
  for (size_t i = 0; i < markers_.size(); ++i) {
    order.push_back({static_cast<int>(i) == dragging_ ? drag_to_ : markers_[i].count, i});
  }
  std::stable_sort(order.begin(), order.end(),
                   [](const auto& a, const auto& b) { return a.first < b.first; });
  const QFontMetrics metrics = painter.fontMetrics();
  for (size_t rank = 0; rank < order.size(); ++rank) {
    const auto [count, i] = order[rank];
    const double x = XOf(count);
    if (x < -200 || x > width() + 2) continue;
    const TimelineMarker& marker = markers_[i];
    const int lane = static_cast<int>(rank % kLanes);
    const QPointF at(x + 3, kRulerHeight + lane_height * (lane + 1) - 3);
    const QRectF ground(at.x() - 1, at.y() - metrics.ascent(),
                        metrics.horizontalAdvance(marker.mark) + 2, metrics.height());
    painter.fillRect(ground, QColor(255, 255, 255, 200));
    painter.setPen(marker.index == selected_ ? QColor(0, 60, 170) : Qt::black);
    painter.drawText(at, marker.mark);
  }
}

void TimelineWidget::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), Qt::white);
  if (length_ > 0) {
    painter.fillRect(QRectF(QPointF(XOf(length_), 0), QPointF(width(), height())),
                     QColor(230, 230, 230));
  }
  if (loop_from_ < loop_to_) {
    painter.fillRect(QRectF(QPointF(XOf(loop_from_), 0), QPointF(XOf(loop_to_), height())),
                     QColor(255, 230, 150));
  }
  PaintGrid(painter);
  PaintMarkers(painter);
  PaintSyllables(painter);
  painter.setPen(QPen(Qt::red, 2));
  const double x = XOf(position_);
  painter.drawLine(QPointF(x, 0), QPointF(x, height()));
}

void TimelineWidget::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  const int x = static_cast<int>(event->position().x());
  dragging_ = MarkerAt(x);
  dragged_ = false;
  if (dragging_ >= 0) {
    drag_to_ = markers_[dragging_].count;
    return;
  }
  emit SeekRequested(SixteenthAt(x));
}

void TimelineWidget::mouseMoveEvent(QMouseEvent* event) {
  if (dragging_ < 0) return;
  const int32_t to = SixteenthAt(static_cast<int>(event->position().x()));
  if (to == drag_to_) return;
  drag_to_ = to;
  dragged_ = true;
  update();
}

void TimelineWidget::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton || dragging_ < 0) return;
  const TimelineMarker marker = markers_[dragging_];
  dragging_ = -1;
  update();
  if (dragged_ && drag_to_ != marker.count) emit MarkerMoved(marker.index, drag_to_);
}

void TimelineWidget::mouseDoubleClickEvent(QMouseEvent* event) {
  const int marker = MarkerAt(static_cast<int>(event->position().x()));
  if (marker >= 0) emit MarkerActivated(markers_[marker].index);
}

void TimelineWidget::wheelEvent(QWheelEvent* event) {
  // Zooms about the point under the pointer.
  const double x = event->position().x();
  const double at = left_ + x / pixels_;
  pixels_ = std::clamp(event->angleDelta().y() > 0 ? pixels_ * 1.25 : pixels_ / 1.25, 1.0, 64.0);
  left_ = std::max(0.0, at - x / pixels_);
  update();
}

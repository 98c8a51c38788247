#include "show/show_window.h"

#include <QAction>
#include <QKeyEvent>
#include <QPainter>
#include <QScreen>
#include <QTimer>
#include <algorithm>

#include "show/timeline_widget.h"
#include "show/video_export_dialog.h"
#include "song/media_player.h"
#include "song/wrd_time.h"
#include "video/show_video.h"
#include "widgets/refusal_banner.h"

namespace {

// A frame of a 60 Hz display; the timer keeps to it as closely as the system lets it.
constexpr int kFrameMillis = 16;
constexpr int kTimelineHeight = 96;
constexpr int kGap = 8;  // between the owner's frame and this window, for the window's frame

}  // namespace

ShowWindow::ShowWindow(MediaPlayer& player, DocumentReader document, BarReader bar,
                       std::shared_ptr<PictureCache> cache, QWidget* parent)
    : QWidget(parent, Qt::Window),
      player_(player),
      document_(std::move(document)),
      bar_(std::move(bar)),
      model_(std::move(cache)),
      reading_(std::make_unique<EventTable>()),
      image_(Screen::kWidth, Screen::kHeight, QImage::Format_RGB888) {
  setWindowTitle(QStringLiteral("テスト表示"));
  setAttribute(Qt::WA_QuitOnClose, false);
  setAttribute(Qt::WA_OpaquePaintEvent);
  // The focus stays where the user taps along (the main window) until the user clicks here.
  setAttribute(Qt::WA_ShowWithoutActivating);
  image_.fill(Qt::black);
  timer_ = new QTimer(this);
  timer_->setTimerType(Qt::PreciseTimer);
  timer_->setInterval(kFrameMillis);
  connect(timer_, &QTimer::timeout, this, &ShowWindow::Step);
  exportVideo_ = new QAction(QStringLiteral("動画を書き出す"), this);
  connect(exportVideo_, &QAction::triggered, this, &ShowWindow::ExportVideoClick);
  addAction(exportVideo_);
  showTimeline_ = new QAction(QStringLiteral("タイムライン"), this);
  showTimeline_->setCheckable(true);
  showTimeline_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_T));
  connect(showTimeline_, &QAction::triggered, this, &ShowWindow::ShowTimeline);
  addAction(showTimeline_);
  setContextMenuPolicy(Qt::ActionsContextMenu);
  timeline_ = new TimelineWidget(this);
  timeline_->setObjectName(QStringLiteral("Timeline"));
  timeline_->hide();
  SetScale(1);
}

ShowWindow::~ShowWindow() = default;

int64_t ShowWindow::SongTick() const {
  const TempoMap& tempo = player_.Tempo();
  const int64_t micros = player_.IsPlaying()
                             ? player_.SongMicros()
                             : tempo.MicrosAtSixteenth(std::max<int32_t>(bar_(), 0));
  return WrdTickAtMicros(tempo, micros);
}

void ShowWindow::Step() {
  document_(*reading_);
  exportVideo_->setEnabled(!reading_->MidiPath.empty());
  const bool rebuilt = model_.Update(*reading_);
  const int64_t tick = SongTick();
  if (!rebuilt && tick == tick_) return;
  tick_ = tick;
  const QString refusal = QString::fromStdString(model_.RefusalAt(tick));
  const Screen& screen = model_.ScreenAt(tick);
  const bool same = screen.indices == shown_.indices && screen.palette == shown_.palette &&
                    screen.shown == shown_.shown;
  if (same && refusal == refusal_) return;
  refusal_ = refusal;
  if (!same) {
    shown_ = screen;
    screen.ToRgb(image_.bits());
  }
  update();
}

void ShowWindow::ExportVideoClick() {
  if (exporting_ != nullptr) {
    exporting_->raise();
    exporting_->activateWindow();
    return;
  }
  auto table = std::make_unique<EventTable>();
  document_(*table);
  if (table->MidiPath.empty()) return;
  const std::string path = DefaultVideoPath(*table);
  exporting_ = new VideoExportDialog(std::move(table), path, {}, this);
  exporting_->show();
}

void ShowWindow::PlaceBeside(const QWidget& owner) {
  const QScreen* screen = owner.screen();
  if (screen == nullptr) return;
  const std::optional<QPoint> at =
      BesideOwner(owner.frameGeometry(), size(), screen->availableGeometry());
  if (at) move(*at);
}

std::optional<QPoint> ShowWindow::BesideOwner(const QRect& owner, const QSize& size,
                                              const QRect& room) {
  const int top = std::max(room.top(), std::min(owner.top(), room.bottom() + 1 - size.height()));
  const int right = owner.right() + 1 + kGap;
  if (right + size.width() <= room.right() + 1) return QPoint(right, top);
  const int left = owner.left() - kGap - size.width();
  if (left >= room.left()) return QPoint(left, top);
  return std::nullopt;
}

void ShowWindow::SetScale(int scale) {
  scale_ = std::clamp(scale, 1, 2);
  Arrange();
}

void ShowWindow::ShowTimeline(bool shown) {
  timeline_->setVisible(shown);
  showTimeline_->setChecked(shown);
  Arrange();
}

// isHidden, not isVisible: the strip counts while the window itself is still hidden.
bool ShowWindow::TimelineShown() const { return !timeline_->isHidden(); }

QRect ShowWindow::ScreenRect() const {
  return QRect(0, 0, Screen::kWidth * scale_, Screen::kHeight * scale_);
}

void ShowWindow::Arrange() {
  const QRect screen = ScreenRect();
  const int strip = TimelineShown() ? kTimelineHeight : 0;
  timeline_->setGeometry(0, screen.height(), screen.width(), kTimelineHeight);
  setFixedSize(screen.width(), screen.height() + strip);
  update();
}

void ShowWindow::paintEvent(QPaintEvent* /*event*/) {
  QPainter painter(this);
  const QRect screen = ScreenRect();
  painter.drawImage(screen, image_);
  DrawRefusalBanner(painter, screen, refusal_);
}

void ShowWindow::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_1 || event->key() == Qt::Key_2) {
    SetScale(event->key() == Qt::Key_2 ? 2 : 1);
    return;
  }
  QWidget::keyPressEvent(event);
}

void ShowWindow::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  Step();
  timer_->start();
}

void ShowWindow::hideEvent(QHideEvent* event) {
  // Nothing to follow while nobody looks.
  timer_->stop();
  QWidget::hideEvent(event);
}

#pragma once

#include <QImage>
#include <QPointer>
#include <QRect>
#include <QString>
#include <QWidget>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

#include "document/event_table.h"
#include "make/picture_cache.h"
#include "showmodel/show_model.h"

class MediaPlayer;
class QAction;
class QTimer;
class TimelineWidget;
class VideoExportDialog;

// The show window ("テスト表示"): the screen the player will show at the song position, for
// the document as it stands. Every frame of the display it reads the document (the edit
// controls' working copy included), builds it again when it changed, and shows the screen at
// the heard song time while the song plays, or at the time bar's position while it is stopped.
// Key 2 shows the screen at 2:1, key 1 at 1:1. Below the screen it can show a timeline strip of
// the song (the window owns it; its owner fills it); Ctrl+T and the context menu's "タイムライン"
// show and hide it. Closing the window only hides it.
class ShowWindow : public QWidget {
  Q_OBJECT

 public:
  // Fills the table with the document as it stands.
  using DocumentReader = std::function<void(EventTable&)>;
  // The time bar's position in sixteenths.
  using BarReader = std::function<int32_t()>;

  ShowWindow(MediaPlayer& player, DocumentReader document, BarReader bar,
             std::shared_ptr<PictureCache> cache, QWidget* parent = nullptr);
  ~ShowWindow() override;

  // Follows the document and the song by one frame; the display timer calls it while the
  // window is shown.
  void Step();
  // "動画を書き出す" (the context menu): exports the document as it stands to SONG.mp4 beside
  // the song, on a worker thread, with a progress dialog that can cancel it.
  void ExportVideoClick();
  // Moves the window beside its owner (right, else left) where the screen has room, so that
  // it does not cover the controls the user taps with; elsewhere the window system decides.
  void PlaceBeside(const QWidget& owner);
  // Where a window of `size` goes beside `owner` (a frame) within `room`, or nothing.
  static std::optional<QPoint> BesideOwner(const QRect& owner, const QSize& size,
                                           const QRect& room);
  // 1 or 2 screen pixels per player pixel.
  void SetScale(int scale);
  int Scale() const { return scale_; }
  // The timeline strip below the screen; hidden until ShowTimeline.
  TimelineWidget* Timeline() const { return timeline_; }
  void ShowTimeline(bool shown);
  bool TimelineShown() const;
  // The screen shown (640 x 480, RGB) and its tick.
  const QImage& ScreenImage() const { return image_; }
  int64_t ShownTick() const { return tick_; }
  // Why the picture shown is refused by the build; empty when it is not.
  const QString& Refusal() const { return refusal_; }
  const ShowModel& Model() const { return model_; }

 protected:
  void paintEvent(QPaintEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void hideEvent(QHideEvent* event) override;

 private:
  int64_t SongTick() const;
  // Sizes the window to the screen at its scale and the strip (when shown) below it.
  void Arrange();
  QRect ScreenRect() const;

  MediaPlayer& player_;
  DocumentReader document_;
  BarReader bar_;
  ShowModel model_;
  std::unique_ptr<EventTable> reading_;  // the document of this frame
  QTimer* timer_ = nullptr;
  QImage image_;
  Screen shown_;  // what image_ shows, to skip frames that change nothing
  QString refusal_;
  int64_t tick_ = -1;
  int scale_ = 1;
  QAction* exportVideo_ = nullptr;
  QAction* showTimeline_ = nullptr;
  TimelineWidget* timeline_ = nullptr;  // a child: the window owns it
  QPointer<VideoExportDialog> exporting_;
};

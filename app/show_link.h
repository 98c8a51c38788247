#pragma once

#include <QObject>
#include <QString>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "document/event_table.h"

class SongTransport;
class PictureCache;
class QTimer;
class QWidget;
class ShowWindow;
class TForm2;
class TimelineWidget;

// What the main window shows beside itself: the show window with its timeline strip (made on
// first use) and the preview, fed with the selected event as the controls hold it. The
// timeline's gestures come out as this object's signals.
class ShowLink : public QObject {
  Q_OBJECT

 public:
  // The working document (the table with the edits in the controls) and the position the show
  // follows; `owner` is the main window, which the windows open beside. `table` (the document as
  // stored) and the transport must outlive the link.
  using DocumentReader = std::function<void(EventTable& into)>;
  using PositionReader = std::function<int32_t()>;
  ShowLink(QWidget& owner, SongTransport& transport, const EventTable& table,
           DocumentReader document, PositionReader position);
  ~ShowLink() override;

  void AttachPreview(TForm2* preview);
  TForm2* Preview() const { return preview_; }
  // Shows the preview and activates it.
  void ShowPreview();
  // The picture `picture` (CP932, a bare name in the song's folder) when the file exists, and
  // the tile flag.
  void FeedPicture(const std::string& picture, bool tile);
  void FeedLyrics(const std::string& cp932_lyrics, int align, uint32_t colour);
  void FeedRect(const EventItem& item);

  // The show window, made on first use.
  ShowWindow* Show();
  // Shows the show window without activating it: the tapping keys keep working in the main
  // window.
  void ShowShow();
  // Shows the show window with its strip, or hides the strip when both are shown.
  void ToggleTimeline();
  TimelineWidget* Timeline();
  // The pictures the show builds from, for the windows that show the same document.
  const std::shared_ptr<PictureCache>& Pictures() const { return pictures_; }

  // The timeline follows the song (meter, length, loop), the events (as the controls show the
  // selected one) and the position.
  void UpdateSong(int32_t loop_from, int32_t loop_to);
  void UpdateLoop(int32_t loop_from, int32_t loop_to);
  void UpdateMarkers(int selection, const EventItem& controls);
  void UpdatePosition();
  // The open song's syllables (MIDI ticks) for the strip.
  void SetSyllables(std::vector<int64_t> ticks);

  // The program ends with the main window: the windows beside it close.
  void CloseAll();

 signals:
  // The show window was made: its strip waits to be filled.
  void ShowMade();
  void SeekRequested(int32_t sixteenth);
  void MarkerMoved(int index, int32_t sixteenth);
  void MarkerActivated(int index);

 private:
  QWidget& owner_;
  SongTransport& transport_;
  const EventTable& table_;
  std::vector<int64_t> syllables_;
  DocumentReader document_;
  PositionReader position_;
  std::shared_ptr<PictureCache> pictures_;
  TForm2* preview_ = nullptr;
  ShowWindow* show_ = nullptr;
  TimelineWidget* timeline_ = nullptr;
  QTimer* timeline_timer_ = nullptr;
};

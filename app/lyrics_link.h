#pragma once

#include <QObject>
#include <QString>
#include <cstdint>
#include <memory>
#include <vector>

#include "document/event_table.h"
#include "editing/retime_events_command.h"
#include "lyrics/lyric_page.h"
#include "lyrics/lyric_queue.h"

class Dialogs;
class EditingModel;
class EventEditing;
class QListWidget;
class QWidget;
class ShowLink;
class SongTransport;

// The lyrics in the main window: "歌詞の取り込み" (Ctrl+I) applies the song's own lyrics as one
// step or queues a lyric sheet; while pages wait, each Insert adds the next one at the tapped
// moment, and undoing that step gives its page back. "ここから打ち直す" times the selected event
// and every later one anew, one per Insert, until Esc or the last one. It also keeps the open
// song's syllable times for the timeline and for snapping.
class LyricsLink : public QObject {
  Q_OBJECT

 public:
  // `events` makes the steps on the document `editing` keeps; `list` is the event list whose
  // menu gets the two entries; `widget` is the window's own, which takes Ctrl+I and Esc. All
  // must outlive the link.
  LyricsLink(EventEditing& events, const EditingModel& editing, SongTransport& transport,
             ShowLink& show, QWidget& widget, Dialogs& dialogs, QListWidget& list);

  // The dialog for the working document and the open song.
  void ImportClick();
  // The sheet's pages wait for Insert. Throws FileReadError when it cannot be read.
  void QueueSheetFile(const QString& path);
  void QueuePages(std::vector<LyricPage> pages);
  const LyricQueue& Queue() const { return queue_; }

  void RetimeFromHereClick();
  bool Retiming() const { return !retime_.empty(); }
  // Ends retiming and empties nothing else.
  void StopRetiming();

  // An Insert: takes the next page or retimes the next event at `tap`. False when neither waits
  // (the Insert then adds an event as always).
  bool TapIn(int32_t tap);
  // A page or an event waits for an Insert.
  bool Waiting() const;

  // A song was opened: its syllables are read for the timeline and snapping; retiming ends.
  void SongOpened();
  // The song's syllable times in MIDI ticks, in order, without repeats.
  const std::vector<int64_t>& SyllableTicks() const { return syllable_ticks_; }
  // The status line follows the queue (after a step, its undo or its redo).
  void ShowNext();

 signals:
  // The status line's text: the next page or event, or nothing.
  void Status(const QString& text);

 private:
  EventEditing& events_;
  const EditingModel& editing_;
  SongTransport& transport_;
  ShowLink& show_;
  QWidget& widget_;
  Dialogs& dialogs_;
  LyricQueue queue_;
  std::vector<int> retime_;  // the events still to retime, the next one first
  size_t retime_next_ = 0;
  std::vector<int64_t> syllable_ticks_;
};

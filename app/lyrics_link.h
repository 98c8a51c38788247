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
class EditCommand;
class QListWidget;
class QWidget;
class ShowLink;
class SongTransport;

// What the lyrics need of the main window (which keeps the document, its steps and the song).
class LyricsWindow {
 public:
  virtual const EventTable& Document() const = 0;
  virtual int32_t Selection() const = 0;
  // Commits the edit controls and selects `index`.
  virtual void SelectEvent(int index) = 0;
  // Each one step, with the edits in the controls a step before it.
  virtual void ReplaceEvents(const EventTable& replacement, int selection) = 0;
  virtual void RetimeEvents(const std::vector<EventTime>& times) = 0;
  virtual void ApplyStep(std::unique_ptr<EditCommand> command, int selection) = 0;
  virtual void ShowStatus(const QString& text) = 0;
  virtual SongTransport& Transport() = 0;
  virtual ShowLink& Show() = 0;

 protected:
  ~LyricsWindow() = default;
};

// The lyrics in the main window: "歌詞の取り込み" (Ctrl+I) applies the song's own lyrics as one
// step or queues a lyric sheet; while pages wait, each Insert adds the next one at the tapped
// moment, and undoing that step gives its page back. "ここから打ち直す" times the selected event
// and every later one anew, one per Insert, until Esc or the last one. It also keeps the open
// song's syllable times for the timeline and for snapping.
class LyricsLink : public QObject {
  Q_OBJECT

 public:
  // `list` is the event list whose menu gets the two entries; `widget` is the window's own,
  // which takes Ctrl+I and Esc.
  LyricsLink(LyricsWindow& window, QWidget& widget, Dialogs& dialogs, QListWidget& list);

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

 private:
  LyricsWindow& window_;
  QWidget& widget_;
  Dialogs& dialogs_;
  LyricQueue queue_;
  std::vector<int> retime_;  // the events still to retime, the next one first
  size_t retime_next_ = 0;
  std::vector<int64_t> syllable_ticks_;
};

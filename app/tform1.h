#pragma once

#include <QString>
#include <QWidget>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/checks_runner.h"
#include "app/event_controls.h"
#include "app/event_list_view.h"
#include "app/handler_guard.h"
#include "app/lyrics_link.h"
#include "app/project_file_link.h"
#include "app/show_link.h"
#include "app/song_panel.h"
#include "app/timing_settings.h"
#include "editing/editing_model.h"
#include "transport/song_transport.h"

class Dialogs;
class EventEditing;
class MediaPlayer;
class QAction;
class QLabel;
class QTimer;
class StoryboardLink;
class TimelineWidget;
class WindowPlaces;
class TForm2;
class TForm3;
namespace Ui {
class TForm1;
}

// The main window: its controls and the wiring from their handlers to the objects that hold
// the jobs. The editing model keeps the document (the event table and the names of the open
// MIDI file) and every change as a step that can be undone; the project session reads and
// writes its file; the transport plays the song; the show link feeds the show window, its
// timeline and the preview; the checks runner lists problems and makes the files. The edit
// controls are the working copy of the selected event, and SelectEvent is the only path
// between them and the table. Every modal box and dialog goes through `dialogs`; the song plays
// through `player`. Both must outlive the window.
class TForm1 : public QWidget {
  Q_OBJECT

 public:
  using Item = EventItem;

  TForm1(MediaPlayer& player, Dialogs& dialogs, QWidget* parent = nullptr);
  ~TForm1() override;

  // The preview and log windows, created after this one. Either may stay unattached (tests);
  // the window then has no preview to feed or no log to show.
  void AttachPreview(TForm2* preview);
  void AttachLog(TForm3* log);

  // Opens a MIDI file (UTF-8 path) and its project, as the Open button does after its
  // dialog. Throws (MediaError with the player's reason) when the song cannot be opened; the
  // previous song, its names and its table then stay as they were.
  void OpenMidiFile(const QString& path);

  const EventTable& Document() const { return doc_; }
  // The document as it stands, the edit controls' working copy in the selected event, without
  // committing anything.
  void ReadWorkingDocument(EventTable& into) const;
  const EditingModel& Editing() const { return editing_; }
  // The selected event (-1: none).
  int32_t Selection() const { return editing_.Selection(); }
  // Unsaved changes: the history away from its clean state, or edits still in the controls.
  bool Modified() const { return modified_; }
  // The position bar's thumb is being dragged: the song position is not shown meanwhile.
  bool Dragging() const { return song_->Dragging(); }

  // Gives events new times as one step (a nudge, a marker dragged on a timeline). The edits in
  // the controls are committed first; the controls and the list then show the new times.
  void RetimeEvents(const std::vector<EventTime>& times);
  // Makes the live events those of `replacement` as one step (a lyric import, a storyboard's
  // rearrangement) and selects `selection`; the controls' edits are a step before it.
  void ReplaceEvents(const EventTable& replacement, int selection);
  // Makes `command` one step (the edits in the controls a step before it) and selects
  // `selection`.
  void ApplyStep(std::unique_ptr<EditCommand> command, int selection);
  // The position a tap (Add, Time, Insert) takes, shown in Counter.
  int32_t TapPosition();

  // Where recovery copies are kept (by default RecoveryStore::DefaultFolder()).
  void SetRecoveryFolder(const std::string& folder) {
    project_->Session().SetRecoveryFolder(folder);
  }
  const RecoveryStore& Recovery() const { return project_->Session().Recovery(); }
  // The jobs' objects, for the windows and tools that work beside this one.
  SongTransport& Transport() { return transport_; }
  ShowLink& Show() { return *show_link_; }
  StoryboardLink& Storyboard() { return *storyboard_; }
  LyricsLink& Lyrics() { return *lyrics_; }

  // The timing settings (reaction delay, snapping, speed), kept nowhere until UseSettingsFile
  // reads them from an INI file and keeps every change there; the playback speed follows them.
  TimingSettings& Settings() { return settings_; }
  void UseSettingsFile(const QString& path);

  // A notice in the window's status line (not a box: it must not take the focus while the
  // user taps along); empty clears it.
  void ShowStatus(const QString& text);
  // The timeline strip of the show window (both made on first use; whoever shows the strip,
  // it is filled).
  TimelineWidget* Timeline();

  // Commits the edit controls into the selected event (when there is one), selects `index`
  // (0 .. 1023) and loads it into the controls. Leaves Modified as it was.
  void SelectEvent(int index);
  // Rebuilds the event list's lines ("%08d %s" of time and mark), keeping the top line and
  // the highlighted line by position.
  void RefreshEventList();
  // Hands the picture the Picture text names (when the file exists) and the tile flag to the
  // preview.
  void UpdatePreviewPicture();
  // A rectangle dragged in the preview: fills the four rectangle edits (which marks the
  // document modified); the event takes it at its next commit.
  void SetTextRect(int x1, int y1, int x2, int y2);

  // Asks whether to save unsaved changes. True: go ahead (nothing to save, saved, or declined).
  // False: cancelled, or the changes could not be saved (no MIDI file open yet). A failed
  // save throws and leaves Modified set.
  bool QuerySave();
  // Commits the controls and writes the project file beside the MIDI file. Throws
  // ProjectFileError when it cannot be written; Modified is cleared only on success.
  void SaveProject();

 signals:
  // The table, the selection or the names changed (a step made, undone or redone, a song
  // opened); views of the document (the show, the checks) follow it.
  void DocumentChanged();

 public slots:
  void FormCreate();

  // Playback and time controls.
  void OpenClick();
  void PlayClick();
  void Button1Click();
  void Timer1Timer();
  void TimeBarScroll(int code);
  void TimeBar2Scroll(int code);
  void TimeClick();
  // A time typed into Count and Enter (or leaving the field): one step, within the song.
  void CountEnter();

  // Event editing.
  void EventListClick();
  // Seeks the song to the event of the line.
  void EventListDoubleClick();
  void AddClick();
  void DeleteClick();
  void MarkChange();
  void CountChange();
  void LyricsChange();
  void EffectChange();
  void AlignChange();
  void X1Change();
  void PictureChange();
  void PictureButtonClick();
  void ColorClick();
  void PreviewClick();
  void TestClick();
  void SaveClick();
  void MakeClick();

  // The history: Ctrl+Z, Ctrl+Y and Ctrl+Shift+Z, and the event list's menu.
  void UndoClick();
  void RedoClick();
  // Writes the recovery copy while there are unsaved changes (removes it when there are none).
  void RecoveryTimerTimer();

  // Keyboard shortcuts beyond the buttons.
  void PlayKey();
  void RewindKey();
  void AddKey();
  void StepKey(int direction);
  // Ctrl+Up / Ctrl+Down: the next playback speed of 25, 50, 75, 100 %.
  void SpeedKey(int direction);
  // L: loops from the selected event to the next one in time, or ends the loop.
  void LoopKey();
  // Ctrl+Left / Ctrl+Right (with Shift: also every later event) by one sixteenth.
  void NudgeKey(int direction, bool with_later);
  // Ctrl+K: the timing settings and the calibration.
  void TimingKey();
  // Ctrl+T: shows the show window with its timeline strip, or hides the strip when it is
  // shown.
  void TimelineKey();

  // The checks: F7 lists the problems in the log window; F8 and Shift+F8 (direction 1 and -1)
  // go to the event of the next and previous problem, checking the table again first.
  void CheckKey();
  void NextProblemKey(int direction);
  // Selects the event (from 0) as a click in the list does and seeks the song to it.
  void JumpToEvent(int index);

 protected:
  // FormCloseQuery: the window closes (and the program ends) only when QuerySave agrees.
  void closeEvent(QCloseEvent* event) override;

 private:
  void ConnectHandlers();
  void CreateShortcuts();
  void CreateUndoActions();
  void CreateStatusLine();
  // A handler as a slot: its errors go to the error box instead of through Qt.
  template <typename... Args>
  auto Guard(void (TForm1::*handler)(Args...));

  // Selects `index` (-1: none) and loads it into the controls, dropping what they held.
  void ShowEvent(int index);
  // Shows the table after a step: the selected event, the list with its highlight on it, the
  // preview and the unsaved-changes mark.
  void ShowDocument();
  // A control changed: the unsaved-changes mark and the recovery copy follow.
  void EditChanged();
  void UpdateModified();
  void UpdateCaption();
  void SendLyricsToPreview();
  void UpdateTimelineSong();
  void UpdateTimelineMarkers();
  void TimelineSeek(int32_t position);
  void TimelineActivate(int index);
  // A marker dragged to a new time.
  void TimelineMove(int index, int32_t count);
  bool FocusInTextEdit() const;
  // The folder of the open MIDI file as a file-system path, or empty.
  QString MidiFolderPath() const;

  std::unique_ptr<Ui::TForm1> ui_;
  Dialogs& dialogs_;
  EditingModel editing_;
  EventTable& doc_ = editing_.Table();
  ProjectFileLink* project_ = nullptr;
  SongTransport transport_;
  std::unique_ptr<EventControls> controls_;
  std::unique_ptr<SongPanel> song_;
  std::unique_ptr<EventListView> list_;
  EventEditing* events_ = nullptr;  // the event edits as steps
  ShowLink* show_link_ = nullptr;
  StoryboardLink* storyboard_ = nullptr;
  LyricsLink* lyrics_ = nullptr;
  WindowPlaces* places_ = nullptr;
  ChecksRunner checks_;
  TimingSettings settings_;
  QTimer* timer_ = nullptr;
  QAction* undo_action_ = nullptr;
  QAction* redo_action_ = nullptr;
  QLabel* status_ = nullptr;
  QString caption_;  // the window caption without the unsaved-changes mark
  bool modified_ = false;
};

template <typename... Args>
auto TForm1::Guard(void (TForm1::*handler)(Args...)) {
  return
      [this, handler](Args... args) { RunHandler(dialogs_, [&] { (this->*handler)(args...); }); };
}

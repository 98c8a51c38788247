#pragma once

#include <QString>
#include <QWidget>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "app/document/event_table.h"
#include "app/timing_settings.h"

class Dialogs;
class MediaPlayer;
class QLabel;
class QTimer;
class TimelineWidget;
class TForm2;
class TForm3;
namespace Ui {
class TForm1;
}

// The main window. It owns the document (the event table and the names of the open MIDI
// file); its edit controls are the working copy of the selected event, and SelectEvent is the
// only path between them and the table. Every modal box and dialog goes through `dialogs`;
// the song plays through `player`. Both must outlive the window.
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

  // The timing settings (reaction delay, snapping, speed); until UseSettingsFile they are
  // kept nowhere.
  TimingSettings& Settings() { return settings_; }
  // Reads the timing settings from an INI file and keeps every change there; the playback
  // speed follows them.
  void UseSettingsFile(const QString& path);

  // One change of event times: each named event (table slot) moves to its new Count.
  struct Retiming {
    int index = 0;
    int32_t count = 0;
  };
  // Applies a retiming as one edit (nudges and timeline drags come here).
  void Retime(const std::vector<Retiming>& changes);
  // A notice in the window's status line (not a box: it must not take the focus while the
  // user taps along); empty clears it.
  void ShowStatus(const QString& text);
  // The timeline window, created on first use.
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
  // Reads the project file into the emptied table; false when it cannot be opened.
  bool LoadProject();

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

  // Event editing.
  void EventListClick();
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
  // Ctrl+T: shows the timeline window.
  void TimelineKey();

 protected:
  // FormCloseQuery: the window closes (and the program ends) only when QuerySave agrees.
  void closeEvent(QCloseEvent* event) override;

 private:
  void ConnectHandlers();
  void CreateShortcuts();
  void SetModified(bool modified);
  void UpdateCaption();
  void SetCounterText(int32_t position);
  // Status line, timeline and the keys of the playback controls.
  void CreatePlaybackExtras();
  // The position a tap (Add, Time) takes: the song position heard at the press, less the
  // reaction delay while playing, at the nearest sixteenth (or note start); shown in Counter.
  int32_t TapPosition();
  // The selected event's Count as the controls hold it.
  int32_t SelectedCount() const;
  void UpdateTimelineSong();
  void UpdateTimelineMarkers();
  void UpdateTimelinePosition();
  void TimelineSeek(int32_t position);
  void TimelineActivate(int index);
  void SetColorSwatch(uint32_t color);
  void SendLyricsToPreview();
  bool FocusInTextEdit() const;
  // The folder of the open MIDI file as a file-system path, or empty.
  QString MidiFolderPath() const;

  std::unique_ptr<Ui::TForm1> ui_;
  MediaPlayer& player_;
  Dialogs& dialogs_;
  TForm2* preview_ = nullptr;
  TForm3* log_ = nullptr;
  QTimer* timer_ = nullptr;
  EventTable doc_;
  uint32_t working_color_ = 0;  // the colour dialog's current colour: the working copy of Color
  QString caption_;             // the window caption without the unsaved-changes mark
  bool refreshing_list_ = false;
  bool building_ = false;  // a Make is running (its log lets window events through)
  bool sound_notice_checked_ = false;
  TimingSettings settings_;
  QLabel* status_ = nullptr;
  bool looping_ = false;
  int32_t loop_from_ = 0, loop_to_ = 0;
  std::unique_ptr<TimelineWidget> timeline_;  // a window of its own
  QTimer* timeline_timer_ = nullptr;
};

#pragma once

#include <QString>
#include <QWidget>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/document/event_table.h"
#include "checks/problem.h"

class Dialogs;
class MediaPlayer;
class QTimer;
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
  void SetModified(bool modified);
  void UpdateCaption();
  void SetCounterText(int32_t position);
  void SetColorSwatch(uint32_t color);
  void SendLyricsToPreview();
  bool FocusInTextEdit() const;
  // The folder of the open MIDI file as a file-system path, or empty.
  QString MidiFolderPath() const;
  // The open song's length in sixteenth notes, when known.
  std::optional<int32_t> SongLength() const;

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
};

#pragma once

#include <QDialog>
#include <memory>
#include <vector>

#include "document/event_table.h"
#include "lyrics/lyric_import_session.h"
#include "song/midi_song.h"

class QComboBox;
class QDialogButtonBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QSpinBox;
class QTableWidget;

// "歌詞の取り込み": the source (the song's own lyrics, a text file or pasted text), the pages as
// they will become events (time, song time, lyrics), the lead, the lines per page and where the
// events go. The dialog only wires its controls to a LyricImportSession; after OK the caller
// takes Session().PlacedEvents() (the song's lyrics) or Session().Pages() (a sheet, for the
// queue) and applies them as one step.
class LyricsImportDialog : public QDialog {
  Q_OBJECT

 public:
  // `table` and `song` (nullptr: no song open) must outlive the dialog.
  LyricsImportDialog(const EventTable& table, int selection, const MidiSong* song,
                     QWidget* parent = nullptr);
  ~LyricsImportDialog() override;

  const LyricImportSession& Session() const { return session_; }

  QComboBox* SourceBox() const { return source_; }
  QLineEdit* FileEdit() const { return file_; }
  QPlainTextEdit* PasteEdit() const { return paste_; }
  QSpinBox* LeadEdit() const { return lead_; }
  QSpinBox* LinesEdit() const { return lines_; }
  QComboBox* PlacementBox() const { return placement_; }
  QTableWidget* PageList() const { return pages_; }
  QLabel* NoticeLabel() const { return notices_; }
  QPushButton* OkButton() const;

 public slots:
  void SourceChange();
  void FileChange();
  void BrowseClick();
  void PasteChange();
  void LeadChange();
  void LinesChange();
  void PlacementChange();

 private:
  void ShowPages();

  const MidiSong* song_;
  LyricImportSession session_;
  QComboBox* source_;
  QLineEdit* file_;
  QPushButton* browse_;
  QPlainTextEdit* paste_;
  QSpinBox* lead_;
  QSpinBox* lines_;
  QComboBox* placement_;
  QTableWidget* pages_;
  QLabel* notices_;
  QDialogButtonBox* buttons_;
  QString file_problem_;  // why the text file could not be read; empty when it was
};

#include "lyricsdialog/lyrics_import_dialog.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <memory>

#include "lyrics/lyric_song_builder.h"
#include "song/midi_file_reader.h"

namespace {

class LyricsImportDialogTest : public testing::Test {
 protected:
  QStringList Row(const LyricsImportDialog& dialog, int row) const {
    QStringList cells;
    for (int column = 0; column < 3; ++column)
      cells << dialog.PageList()->item(row, column)->text();
    return cells;
  }

  std::unique_ptr<EventTable> table_ = std::make_unique<EventTable>();
  MidiSong song_ = ParseMidi(LyricSong(
      {TextTrack(0x01, Sjis({{96, "\\ほし"}, {120, "が"}, {192, "/ひかる"}, {480, "\\よる"}}))}));
};

TEST_F(LyricsImportDialogTest, ShowsTheSongsPagesAndFollowsTheLead) {
  LyricsImportDialog dialog(*table_, -1, &song_);
  EXPECT_EQ(dialog.windowTitle(), QStringLiteral("歌詞の取り込み"));
  ASSERT_EQ(dialog.PageList()->rowCount(), 2);
  EXPECT_EQ(Row(dialog, 0), (QStringList{"0", "0:00.00", "ほしが / ひかる"}));
  EXPECT_EQ(Row(dialog, 1), (QStringList{"16", "0:02.00", "よる"}));
  dialog.LeadEdit()->setValue(0);
  EXPECT_EQ(Row(dialog, 1), (QStringList{"20", "0:02.50", "よる"}));
  EXPECT_TRUE(dialog.OkButton()->isEnabled());
  size_t left_out = 0;
  EXPECT_EQ(dialog.Session().PlacedEvents(&left_out).size(), 2u);
}

TEST_F(LyricsImportDialogTest, PastedTextBecomesUntimedPagesAndNoSongNoLyricsDisablesOk) {
  LyricsImportDialog dialog(*table_, -1, nullptr);
  EXPECT_EQ(dialog.PageList()->rowCount(), 0);
  EXPECT_FALSE(dialog.OkButton()->isEnabled());
  dialog.SourceBox()->setCurrentIndex(2);
  dialog.PasteEdit()->setPlainText(QStringLiteral("ほしが\nひかる\n\nよる\n"));
  ASSERT_EQ(dialog.PageList()->rowCount(), 2);
  EXPECT_EQ(Row(dialog, 0), (QStringList{"打って決める", "", "ほしが / ひかる"}));
  EXPECT_FALSE(dialog.LeadEdit()->isEnabled());
  EXPECT_TRUE(dialog.OkButton()->isEnabled());
  EXPECT_EQ(dialog.Session().Pages().size(), 2u);
}

}  // namespace

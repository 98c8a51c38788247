#include "lyricsdialog/lyrics_import_dialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QVBoxLayout>

#include "files/file_errors.h"
#include "lyrics/lyric_list_text.h"
#include "widgets/cp932_text.h"

namespace {

// The rows of the source box, in this order.
enum SourceRow { kSongRow, kFileRow, kPasteRow };

}  // namespace

LyricsImportDialog::LyricsImportDialog(const EventTable& table, int selection, const MidiSong* song,
                                       QWidget* parent)
    : QDialog(parent),
      song_(song),
      session_(table, selection, song),
      source_(new QComboBox(this)),
      file_(new QLineEdit(this)),
      browse_(new QPushButton(QStringLiteral("参照..."), this)),
      paste_(new QPlainTextEdit(this)),
      lead_(new QSpinBox(this)),
      lines_(new QSpinBox(this)),
      placement_(new QComboBox(this)),
      pages_(new QTableWidget(0, 3, this)),
      notices_(new QLabel(this)),
      buttons_(new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this)) {
  setWindowTitle(QStringLiteral("歌詞の取り込み"));
  source_->addItems({QStringLiteral("曲の歌詞"), QStringLiteral("テキストファイル"),
                     QStringLiteral("貼り付けたテキスト")});
  lead_->setRange(0, kMaxLead);
  lead_->setValue(session_.Settings().lead);
  lead_->setSuffix(QStringLiteral(" (16分音符)"));
  lines_->setRange(1, kMaxLinesPerPage);
  lines_->setValue(session_.Settings().lines_per_page);
  placement_->addItems({QStringLiteral("すべてのイベントを置き換える"),
                        QStringLiteral("選択したイベントの時刻から置き換える"),
                        QStringLiteral("追加する")});
  pages_->setHorizontalHeaderLabels(
      {QStringLiteral("タイム"), QStringLiteral("時刻"), QStringLiteral("歌詞")});
  pages_->horizontalHeader()->setStretchLastSection(true);
  pages_->verticalHeader()->setVisible(false);
  pages_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  notices_->setWordWrap(true);
  paste_->setPlaceholderText(QStringLiteral("歌詞を貼り付けてください (空行でページを分けます)"));

  auto* fileRow = new QHBoxLayout;
  fileRow->addWidget(file_);
  fileRow->addWidget(browse_);
  auto* form = new QFormLayout;
  form->addRow(QStringLiteral("歌詞の元"), source_);
  form->addRow(QStringLiteral("ファイル"), fileRow);
  form->addRow(QStringLiteral("リード"), lead_);
  form->addRow(QStringLiteral("1 ページの行数"), lines_);
  form->addRow(QStringLiteral("取り込み先"), placement_);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(form);
  layout->addWidget(paste_);
  layout->addWidget(pages_, 1);
  layout->addWidget(notices_);
  layout->addWidget(buttons_);
  resize(560, 520);

  connect(source_, &QComboBox::currentIndexChanged, this, &LyricsImportDialog::SourceChange);
  connect(file_, &QLineEdit::editingFinished, this, &LyricsImportDialog::FileChange);
  connect(browse_, &QPushButton::clicked, this, &LyricsImportDialog::BrowseClick);
  connect(paste_, &QPlainTextEdit::textChanged, this, &LyricsImportDialog::PasteChange);
  connect(lead_, &QSpinBox::valueChanged, this, &LyricsImportDialog::LeadChange);
  connect(lines_, &QSpinBox::valueChanged, this, &LyricsImportDialog::LinesChange);
  connect(placement_, &QComboBox::currentIndexChanged, this, &LyricsImportDialog::PlacementChange);
  connect(buttons_, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons_, &QDialogButtonBox::rejected, this, &QDialog::reject);
  SourceChange();
}

LyricsImportDialog::~LyricsImportDialog() = default;

QPushButton* LyricsImportDialog::OkButton() const { return buttons_->button(QDialogButtonBox::Ok); }

void LyricsImportDialog::SourceChange() {
  const int row = source_->currentIndex();
  file_->setEnabled(row == kFileRow);
  browse_->setEnabled(row == kFileRow);
  paste_->setVisible(row == kPasteRow);
  // A sheet's pages wait for taps: they replace nothing.
  lead_->setEnabled(row == kSongRow);
  placement_->setEnabled(row == kSongRow);
  file_problem_.clear();
  if (row == kSongRow) {
    session_.UseSong();
  } else if (row == kFileRow) {
    FileChange();
    return;
  } else {
    PasteChange();
    return;
  }
  ShowPages();
}

void LyricsImportDialog::FileChange() {
  if (source_->currentIndex() != kFileRow) return;
  file_problem_.clear();
  try {
    if (file_->text().isEmpty()) {
      session_.UseSheet({});
    } else {
      session_.UseSheetFile(file_->text().toStdString());
    }
  } catch (const FileReadError& error) {
    session_.UseSheet({});
    file_problem_ = QString::fromStdString(error.what());
  }
  ShowPages();
}

void LyricsImportDialog::BrowseClick() {
  const QString path = QFileDialog::getOpenFileName(
      this, QStringLiteral("歌詞のテキストファイル"), file_->text(),
      QStringLiteral("テキストファイル (*.txt);;すべてのファイル (*)"));
  if (path.isEmpty()) return;
  file_->setText(path);
  FileChange();
}

void LyricsImportDialog::PasteChange() {
  if (source_->currentIndex() != kPasteRow) return;
  session_.UseSheet(paste_->toPlainText().toStdString());
  ShowPages();
}

void LyricsImportDialog::LeadChange() {
  session_.SetLead(lead_->value());
  ShowPages();
}

void LyricsImportDialog::LinesChange() {
  session_.SetLinesPerPage(lines_->value());
  ShowPages();
}

void LyricsImportDialog::PlacementChange() {
  session_.SetPlacement(static_cast<LyricPlacement>(placement_->currentIndex()));
  ShowPages();
}

void LyricsImportDialog::ShowPages() {
  const bool timed = session_.CurrentSource() == LyricImportSession::Source::kSong;
  const std::vector<LyricPage>& pages = session_.Pages();
  const std::vector<EventItem>& events = session_.Events();
  const int rows = static_cast<int>(timed ? events.size() : pages.size());
  pages_->setUpdatesEnabled(false);
  pages_->setRowCount(rows);
  for (int row = 0; row < rows; ++row) {
    QString count = QStringLiteral("打って決める");
    QString time;
    QString text;
    if (timed) {
      const EventItem& event = events[row];
      count = QString::number(event.Count);
      time = QString::fromStdString(SongTimeText(song_->tempo.MicrosAtSixteenth(event.Count)));
      text = FromCp932(LyricsOnOneLine(event.Lyrics));
    } else {
      std::string lines;
      for (const std::string& line : pages[row].lines) lines += (lines.empty() ? "" : " / ") + line;
      text = FromCp932(lines);
    }
    const QString cells[] = {count, time, text};
    for (int column = 0; column < 3; ++column) {
      QTableWidgetItem* item = pages_->item(row, column);
      if (!item) {
        item = new QTableWidgetItem;
        pages_->setItem(row, column, item);
      }
      item->setText(cells[column]);
    }
  }
  pages_->setUpdatesEnabled(true);
  QStringList notices;
  if (!file_problem_.isEmpty()) notices << file_problem_;
  for (const std::string& notice : session_.Notices()) notices << QString::fromStdString(notice);
  size_t left_out = 0;
  if (timed) session_.PlacedEvents(&left_out);
  if (left_out > 0) {
    notices << QStringLiteral("イベント表に入りきらない %1 ページは取り込みません").arg(left_out);
  }
  if (rows == 0 && notices.isEmpty()) {
    notices << (timed ? QStringLiteral("曲に歌詞がありません")
                      : QStringLiteral("歌詞がありません"));
  }
  notices_->setText(notices.join(QLatin1Char('\n')));
  OkButton()->setEnabled(rows > 0);
}

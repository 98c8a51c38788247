// The main window: construction, the selection between table and controls, the event list,
// the unsaved-changes mark and closing.
#include "app/tform1.h"

#include <QCloseEvent>
#include <QFileInfo>
#include <QGuiApplication>
#include <QKeySequence>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QShortcut>
#include <QTimer>
#include <cstdio>
#include <exception>

#include "app/cp932_text.h"
#include "app/dialogs.h"
#include "app/document/names.h"
#include "app/document/number_text.h"
#include "app/tform1_scroll_codes.h"
#include "build/gui/tform3.h"
#include "preview/tform2.h"
#include "ui_tform1.h"

namespace {

constexpr int kTimerInterval = 300;  // ms between two polls of the song position
constexpr int kListItemHeight = 12;

QString Decimal(int32_t value) { return QString::number(value); }

// Lyrics hold CR LF between lines; the memo holds LF.
QString LyricsToMemo(const std::string& cp932) {
  return FromCp932(cp932).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

std::string MemoToLyrics(const QString& memo) {
  QString text = memo;
  return ToCp932(text.replace(QLatin1Char('\n'), QStringLiteral("\r\n")));
}

}  // namespace

TForm1::TForm1(MediaPlayer& player, Dialogs& dialogs, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint),
      ui_(std::make_unique<Ui::TForm1>()),
      player_(player),
      dialogs_(dialogs) {
  ui_->setupUi(this);
  setFixedSize(684, 414);
  // "ＭＳ Ｐゴシック" is not installed here; the proportional Japanese Gothic fonts of the
  // system stand in for it, in this order, before fontconfig's own choice.
  QFont font;
  font.setFamilies({QStringLiteral("ＭＳ Ｐゴシック"), QStringLiteral("IPAPGothic"),
                    QStringLiteral("VL PGothic"), QStringLiteral("Noto Sans CJK JP")});
  font.setPixelSize(12);
  setFont(font);
  // Labels sit at their left and top and are as wide as their text.
  for (QLabel* label : findChildren<QLabel*>()) {
    if (label != ui_->Label6) label->adjustSize();
  }
  caption_ = windowTitle();

  timer_ = new QTimer(this);
  timer_->setObjectName(QStringLiteral("Timer1"));
  timer_->setInterval(kTimerInterval);

  ConnectHandlers();
  CreateShortcuts();
  FormCreate();
  timer_->start();
}

TForm1::~TForm1() = default;

void TForm1::AttachPreview(TForm2* preview) {
  preview_ = preview;
  if (preview_ == nullptr) return;
  connect(preview_, &TForm2::TextRectChosen, this, &TForm1::SetTextRect);
}

void TForm1::AttachLog(TForm3* log) {
  log_ = log;
  if (log_ == nullptr) return;
  connect(log_, &TForm3::ProblemChosen, this, &TForm1::JumpToEvent);
}

void TForm1::ConnectHandlers() {
  Ui::TForm1& ui = *ui_;
  connect(ui.Open, &QPushButton::clicked, this, &TForm1::OpenClick);
  connect(ui.Save, &QPushButton::clicked, this, &TForm1::SaveClick);
  connect(ui.Make, &QPushButton::clicked, this, &TForm1::MakeClick);
  connect(ui.Button1, &QPushButton::clicked, this, &TForm1::Button1Click);
  connect(ui.Play, &QPushButton::clicked, this, &TForm1::PlayClick);
  connect(ui.Test, &QPushButton::clicked, this, &TForm1::TestClick);
  connect(ui.Add, &QPushButton::clicked, this, &TForm1::AddClick);
  connect(ui.Delete, &QPushButton::clicked, this, &TForm1::DeleteClick);
  connect(ui.Time, &QPushButton::clicked, this, &TForm1::TimeClick);
  connect(ui.PictureButton, &QPushButton::clicked, this, &TForm1::PictureButtonClick);
  connect(ui.Preview, &QPushButton::clicked, this, &TForm1::PreviewClick);
  connect(ui.Color, &QPushButton::clicked, this, &TForm1::ColorClick);
  connect(timer_, &QTimer::timeout, this, &TForm1::Timer1Timer);

  connect(new ScrollCodes(ui.TimeBar), &ScrollCodes::Scroll, this, &TForm1::TimeBarScroll);
  connect(new ScrollCodes(ui.TimeBar2), &ScrollCodes::Scroll, this, &TForm1::TimeBar2Scroll);

  // A mouse click (also on the line already highlighted) and a keyboard move of the
  // highlight both count as a click in the list; the refresh's own changes do not.
  connect(ui.EventList, &QListWidget::itemClicked, this, &TForm1::EventListClick);
  connect(ui.EventList, &QListWidget::currentRowChanged, this, [this] {
    if (!refreshing_list_ && QGuiApplication::mouseButtons() == Qt::NoButton &&
        ui_->EventList->hasFocus()) {
      EventListClick();
    }
  });

  connect(ui.Mark, &QLineEdit::textChanged, this, &TForm1::MarkChange);
  connect(ui.Count, &QLineEdit::textChanged, this, &TForm1::CountChange);
  connect(ui.Lyrics, &QPlainTextEdit::textChanged, this, &TForm1::LyricsChange);
  connect(ui.Effect, &QComboBox::currentIndexChanged, this, &TForm1::EffectChange);
  connect(ui.Align, &QComboBox::currentIndexChanged, this, &TForm1::AlignChange);
  for (QLineEdit* edit : {ui.X1, ui.Y1, ui.X2, ui.Y2}) {
    connect(edit, &QLineEdit::textChanged, this, &TForm1::X1Change);
  }
  connect(ui.Picture, &QComboBox::editTextChanged, this, &TForm1::PictureChange);
  connect(ui.Naraberu, &QCheckBox::clicked, this, &TForm1::PictureChange);
}

void TForm1::CreateShortcuts() {
  auto add = [this](const QKeySequence& keys, auto slot) {
    auto* shortcut = new QShortcut(keys, this);
    shortcut->setContext(Qt::WindowShortcut);
    connect(shortcut, &QShortcut::activated, this, slot);
  };
  add(QKeySequence(Qt::CTRL | Qt::Key_S), &TForm1::SaveClick);
  add(QKeySequence(Qt::Key_Space), &TForm1::PlayKey);
  add(QKeySequence(Qt::Key_Home), &TForm1::RewindKey);
  add(QKeySequence(Qt::Key_Insert), &TForm1::AddKey);
  add(QKeySequence(Qt::ALT | Qt::Key_Right), [this] { StepKey(1); });
  add(QKeySequence(Qt::ALT | Qt::Key_Left), [this] { StepKey(-1); });
  add(QKeySequence(Qt::Key_F7), &TForm1::CheckKey);
  add(QKeySequence(Qt::Key_F8), [this] { NextProblemKey(1); });
  add(QKeySequence(Qt::SHIFT | Qt::Key_F8), [this] { NextProblemKey(-1); });
}

void TForm1::FormCreate() {
  ui_->Effect->addItems({QStringLiteral("なし"), QStringLiteral("フェードイン／アウト(白)"),
                         QStringLiteral("フェードイン／アウト(黒)")});
  ui_->Effect->setCurrentIndex(-1);
  ui_->Align->addItems(
      {QStringLiteral("左詰め"), QStringLiteral("右詰め"), QStringLiteral("中央寄せ")});
  ui_->Align->setCurrentIndex(-1);
  ui_->Lyrics->clear();
  doc_.Dragging = false;
  doc_.Selection = -1;
  doc_.EventCount = 0;
  SetModified(false);
}

void TForm1::SelectEvent(int index) {
  if (index < 0 || index >= EventTable::kCapacity) return;
  const bool modified = doc_.Modified;
  Ui::TForm1& ui = *ui_;
  if (doc_.Selection >= 0) {
    Item& item = doc_.events[doc_.Selection];
    item.Mark = ToCp932(ui.Mark->text());
    item.Count = ui.TimeBar2->value();
    item.Lyrics = MemoToLyrics(ui.Lyrics->toPlainText());
    item.Effect = ui.Effect->currentIndex();
    item.Picture = ToCp932(ui.Picture->currentText());
    item.X1 = ReadNumber(ToCp932(ui.X1->text()));
    item.X2 = ReadNumber(ToCp932(ui.X2->text()));
    item.Y1 = ReadNumber(ToCp932(ui.Y1->text()));
    item.Y2 = ReadNumber(ToCp932(ui.Y2->text()));
    item.Naraberu = ui.Naraberu->isChecked() ? 1 : 0;
    item.Align = ui.Align->currentIndex();
    item.Color = working_color_;
  }
  doc_.Selection = index;
  const Item& item = doc_.events[index];
  ui.Mark->setText(FromCp932(item.Mark));
  ui.Lyrics->setPlainText(LyricsToMemo(item.Lyrics));
  ui.Effect->setCurrentIndex(item.Effect >= 0 && item.Effect < ui.Effect->count() ? item.Effect
                                                                                  : -1);
  ui.Picture->setEditText(FromCp932(item.Picture));
  ui.Count->setText(Decimal(item.Count));
  ui.TimeBar2->setValue(item.Count);
  ui.X1->setText(Decimal(item.X1));
  ui.X2->setText(Decimal(item.X2));
  ui.Y1->setText(Decimal(item.Y1));
  ui.Y2->setText(Decimal(item.Y2));
  ui.Naraberu->setChecked(item.Naraberu != 0);
  ui.Align->setCurrentIndex(item.Align >= 0 && item.Align < ui.Align->count() ? item.Align : -1);
  working_color_ = item.Color;
  SetColorSwatch(item.Color);
  if (preview_ != nullptr) {
    preview_->SetRect(item.X1, item.Y1, item.X2, item.Y2);
  }
  SendLyricsToPreview();
  SetModified(modified);
}

void TForm1::RefreshEventList() {
  QListWidget* list = ui_->EventList;
  const int top = list->verticalScrollBar()->value();
  const int selected = list->currentRow();
  refreshing_list_ = true;
  list->clear();
  for (int i = 0; i < doc_.EventCount; ++i) {
    const Item& item = doc_.events[i];
    char time[16];
    std::snprintf(time, sizeof time, "%08d ", item.Count);
    // The whole mark, however long: the line is not cut at a fixed buffer size.
    auto* line = new QListWidgetItem(FromCp932(time + item.Mark), list);
    line->setSizeHint(
        QSize(list->fontMetrics().horizontalAdvance(line->text()) + 4, kListItemHeight));
  }
  list->doItemsLayout();  // the scroll range follows the new lines at once
  if (list->verticalScrollBar()->value() != top) list->verticalScrollBar()->setValue(top);
  if (list->currentRow() != selected && selected < list->count()) list->setCurrentRow(selected);
  refreshing_list_ = false;
}

void TForm1::UpdatePreviewPicture() {
  if (preview_ == nullptr) return;
  const std::string picture = ToCp932(ui_->Picture->currentText());
  const bool tile = ui_->Naraberu->isChecked();
  if (picture.empty()) {
    preview_->SetPicture(QString(), tile);
    return;
  }
  // A bare name lies in the song's folder, as the build takes it.
  const std::string file = ResolvePicturePath(doc_, picture);
  const QString path = QString::fromStdString(Cp932ToUtf8(file));
  preview_->SetPicture(QFileInfo(path).isFile() ? path : QString(), tile);
}

void TForm1::SetTextRect(int x1, int y1, int x2, int y2) {
  ui_->X1->setText(Decimal(x1));
  ui_->X2->setText(Decimal(x2));
  ui_->Y1->setText(Decimal(y1));
  ui_->Y2->setText(Decimal(y2));
  // The edits do not signal a change when a value stays the same; a drag still counts.
  SetModified(true);
}

void TForm1::SetModified(bool modified) {
  doc_.Modified = modified;
  UpdateCaption();
}

void TForm1::UpdateCaption() {
  const QString title = doc_.Modified ? QStringLiteral("*") + caption_ : caption_;
  if (windowTitle() != title) setWindowTitle(title);
}

void TForm1::SetColorSwatch(uint32_t color) {
  QPalette palette = ui_->Panel2->palette();
  palette.setColor(QPalette::Window,
                   QColor(color & 0xFF, (color >> 8) & 0xFF, (color >> 16) & 0xFF));
  ui_->Panel2->setPalette(palette);
}

void TForm1::SendLyricsToPreview() {
  if (preview_ == nullptr) return;
  preview_->SetLyrics(MemoToLyrics(ui_->Lyrics->toPlainText()), ui_->Align->currentIndex(),
                      working_color_);
}

bool TForm1::FocusInTextEdit() const {
  QWidget* focus = focusWidget();
  return qobject_cast<QLineEdit*>(focus) != nullptr ||
         qobject_cast<QPlainTextEdit*>(focus) != nullptr;
}

void TForm1::closeEvent(QCloseEvent* event) {
  if (building_) {
    // The build is still writing; the window can close once it has ended.
    event->ignore();
    return;
  }
  bool go_ahead = false;
  try {
    go_ahead = QuerySave();
  } catch (const std::exception& error) {
    // A save that failed keeps the window (and the changes) open.
    dialogs_.ShowError(QString::fromUtf8(error.what()));
  }
  if (!go_ahead) {
    event->ignore();
    return;
  }
  event->accept();
  // The program ends with the main window, even while the preview or the log is open.
  if (preview_ != nullptr) preview_->close();
  if (log_ != nullptr) log_->close();
  QCoreApplication::quit();
}

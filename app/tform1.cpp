// The main window: construction, the selection between table and controls, the event list,
// the unsaved-changes mark and closing.
#include "app/tform1.h"

#include <QAction>
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

#include "app/dialogs.h"
#include "app/tform1_scroll_codes.h"
#include "app/tform1_undo_keys.h"
#include "document/names.h"
#include "document/number_text.h"
#include "editing/working_copy.h"
#include "logwindow/tform3.h"
#include "make/picture_cache.h"
#include "preview/tform2.h"
#include "show/show_window.h"
#include "show/timeline_widget.h"
#include "ui_tform1.h"
#include "widgets/cp932_text.h"
#include "widgets/double_click_relay.h"

namespace {

constexpr int kTimerInterval = 300;  // ms between two polls of the song position
// A recovery copy is written this long after the first change that it does not hold yet, so it
// is never more than ten seconds behind.
constexpr int kRecoveryDelay = 5000;
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
      dialogs_(dialogs),
      pictures_(std::make_shared<PictureCache>()) {
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
  recovery_timer_ = new QTimer(this);
  recovery_timer_->setObjectName(QStringLiteral("RecoveryTimer"));
  recovery_timer_->setSingleShot(true);
  recovery_timer_->setInterval(kRecoveryDelay);

  ConnectHandlers();
  CreateShortcuts();
  CreateUndoActions();
  CreatePlaybackExtras();
  FormCreate();
  timer_->start();
}

TForm1::~TForm1() = default;

void TForm1::AttachPreview(TForm2* preview) {
  preview_ = preview;
  if (preview_ == nullptr) return;
  preview_->SetPictureCache(pictures_);
  connect(preview_, &TForm2::TextRectChosen, this, Guard(&TForm1::SetTextRect));
}

void TForm1::AttachLog(TForm3* log) {
  log_ = log;
  if (log_ == nullptr) return;
  connect(log_, &TForm3::ProblemChosen, this, Guard(&TForm1::JumpToEvent));
}

void TForm1::ConnectHandlers() {
  Ui::TForm1& ui = *ui_;
  connect(ui.Open, &QPushButton::clicked, this, Guard(&TForm1::OpenClick));
  connect(ui.Save, &QPushButton::clicked, this, Guard(&TForm1::SaveClick));
  connect(ui.Make, &QPushButton::clicked, this, Guard(&TForm1::MakeClick));
  connect(ui.Button1, &QPushButton::clicked, this, Guard(&TForm1::Button1Click));
  connect(ui.Play, &QPushButton::clicked, this, Guard(&TForm1::PlayClick));
  connect(ui.Test, &QPushButton::clicked, this, Guard(&TForm1::TestClick));
  // The two tap buttons act when pressed: the song position of the press is the one meant.
  connect(ui.Add, &QPushButton::pressed, this, Guard(&TForm1::AddClick));
  connect(ui.Delete, &QPushButton::clicked, this, Guard(&TForm1::DeleteClick));
  connect(ui.Time, &QPushButton::pressed, this, Guard(&TForm1::TimeClick));
  connect(ui.PictureButton, &QPushButton::clicked, this, Guard(&TForm1::PictureButtonClick));
  connect(ui.Preview, &QPushButton::clicked, this, Guard(&TForm1::PreviewClick));
  connect(ui.Color, &QPushButton::clicked, this, Guard(&TForm1::ColorClick));
  connect(timer_, &QTimer::timeout, this, Guard(&TForm1::Timer1Timer));
  connect(recovery_timer_, &QTimer::timeout, this, Guard(&TForm1::RecoveryTimerTimer));

  connect(new ScrollCodes(ui.TimeBar), &ScrollCodes::Scroll, this, Guard(&TForm1::TimeBarScroll));
  connect(new ScrollCodes(ui.TimeBar2), &ScrollCodes::Scroll, this, Guard(&TForm1::TimeBar2Scroll));

  // A mouse click (also on the line already highlighted) and a keyboard move of the
  // highlight both count as a click in the list; the refresh's own changes do not.
  connect(ui.EventList, &QListWidget::itemClicked, this, Guard(&TForm1::EventListClick));
  connect(new DoubleClickRelay(ui.EventList->viewport()), &DoubleClickRelay::DoubleClicked, this,
          Guard(&TForm1::EventListDoubleClick));
  connect(ui.EventList, &QListWidget::currentRowChanged, this, [this] {
    if (!refreshing_list_ && QGuiApplication::mouseButtons() == Qt::NoButton &&
        ui_->EventList->hasFocus()) {
      RunHandler(dialogs_, [this] { EventListClick(); });
    }
  });

  connect(ui.Mark, &QLineEdit::textChanged, this, Guard(&TForm1::MarkChange));
  connect(ui.Count, &QLineEdit::textChanged, this, Guard(&TForm1::CountChange));
  connect(ui.Lyrics, &QPlainTextEdit::textChanged, this, Guard(&TForm1::LyricsChange));
  connect(ui.Effect, &QComboBox::currentIndexChanged, this, Guard(&TForm1::EffectChange));
  connect(ui.Align, &QComboBox::currentIndexChanged, this, Guard(&TForm1::AlignChange));
  for (QLineEdit* edit : {ui.X1, ui.Y1, ui.X2, ui.Y2}) {
    connect(edit, &QLineEdit::textChanged, this, Guard(&TForm1::X1Change));
  }
  connect(ui.Picture, &QComboBox::editTextChanged, this, Guard(&TForm1::PictureChange));
  connect(ui.Naraberu, &QCheckBox::clicked, this, Guard(&TForm1::PictureChange));
}

void TForm1::CreateShortcuts() {
  auto add = [this](const QKeySequence& keys, std::function<void()> handler) {
    auto* shortcut = new QShortcut(keys, this);
    shortcut->setContext(Qt::WindowShortcut);
    connect(shortcut, &QShortcut::activated, this,
            [this, handler] { RunHandler(dialogs_, handler); });
  };
  add(QKeySequence(Qt::CTRL | Qt::Key_S), [this] { SaveClick(); });
  add(QKeySequence(Qt::Key_Space), [this] { PlayKey(); });
  add(QKeySequence(Qt::Key_Home), [this] { RewindKey(); });
  add(QKeySequence(Qt::Key_Insert), [this] { AddKey(); });
  add(QKeySequence(Qt::ALT | Qt::Key_Right), [this] { StepKey(1); });
  add(QKeySequence(Qt::ALT | Qt::Key_Left), [this] { StepKey(-1); });
  add(QKeySequence(Qt::Key_F7), [this] { CheckKey(); });
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
  dragging_ = false;
  editing_.Select(-1);
  doc_.EventCount = 0;
  SetModified(false);
}

void TForm1::SelectEvent(int index) {
  if (index < 0 || index >= EventTable::kCapacity) return;
  // Redoing the commit comes back to the event the user went on to.
  CommitWorkingCopy(index);
  ShowEvent(index);
  UpdateModified();
}

EventItem TForm1::ReadControls() const {
  const Ui::TForm1& ui = *ui_;
  EventItem item;
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
  item.Color = working_colour_;
  return item;
}

void TForm1::LoadControls(const EventItem& item) {
  Ui::TForm1& ui = *ui_;
  loading_ = true;
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
  working_colour_ = item.Color;
  SetColourSwatch(item.Color);
  loading_ = false;
  if (preview_ != nullptr) {
    preview_->SetRect(item.X1, item.Y1, item.X2, item.Y2);
  }
  SendLyricsToPreview();
}

void TForm1::ShowEvent(int index) {
  editing_.Select(index >= 0 && index < EventTable::kCapacity ? index : -1);
  LoadControls(editing_.Selection() >= 0 ? doc_.events[editing_.Selection()] : EventItem());
  loaded_ = ReadControls();
}

void TForm1::ShowDocument() {
  ShowEvent(editing_.Selection());
  RefreshEventList();
  // The highlight names the event in the controls.
  if (editing_.Selection() >= 0 && editing_.Selection() < ui_->EventList->count() &&
      ui_->EventList->currentRow() != editing_.Selection()) {
    refreshing_list_ = true;
    ui_->EventList->setCurrentRow(editing_.Selection());
    refreshing_list_ = false;
  }
  UpdatePreviewPicture();
  UpdateModified();
  emit DocumentChanged();
}

bool TForm1::CommitWorkingCopy(std::optional<int> next) {
  const int index = editing_.Selection();
  if (index < 0 || index >= doc_.EventCount) return false;
  const EventItem edited = ReadControls();
  if (edited == loaded_) return false;
  const bool changed =
      editing_.ChangeEvent(index, ApplyEdits(doc_.events[index], loaded_, edited), next);
  loaded_ = edited;
  if (changed) emit DocumentChanged();
  return changed;
}

void TForm1::CommitGesture(const std::function<void(EventItem&)>& change) {
  CommitWorkingCopy();
  const int index = editing_.Selection();
  if (index < 0 || index >= doc_.EventCount) {
    // No event to change: the controls alone take the change, as a working copy does.
    EventItem item = ReadControls();
    change(item);
    LoadControls(item);
    UpdateModified();
    return;
  }
  EventItem item = doc_.events[index];
  change(item);
  if (editing_.ChangeEvent(index, item)) {
    ShowEvent(index);
    RefreshEventList();
    emit DocumentChanged();
  }
  UpdateModified();
}

void TForm1::RetimeEvents(const std::vector<EventTime>& times) {
  CommitWorkingCopy();
  if (editing_.RetimeEvents(times)) ShowDocument();
}

void TForm1::ReadWorkingDocument(EventTable& into) const {
  into = doc_;
  const int index = editing_.Selection();
  if (index >= 0 && index < doc_.EventCount) {
    into.events[index] = ApplyEdits(doc_.events[index], loaded_, ReadControls());
  }
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
  // The highlight first: setting it scrolls the list, and the top line is then put back.
  if (list->currentRow() != selected && selected < list->count()) list->setCurrentRow(selected);
  if (list->verticalScrollBar()->value() != top) list->verticalScrollBar()->setValue(top);
  refreshing_list_ = false;
  UpdateTimelineMarkers();
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
  // A dragged rectangle is one step of its own.
  CommitGesture([&](EventItem& item) {
    item.X1 = x1;
    item.X2 = x2;
    item.Y1 = y1;
    item.Y2 = y2;
  });
}

void TForm1::EditChanged() {
  if (loading_) return;
  UpdateModified();
}

void TForm1::UpdateModified() {
  const int index = editing_.Selection();
  const bool editing = index >= 0 && index < doc_.EventCount && ReadControls() != loaded_;
  SetModified(editing || !editing_.IsClean());
  if (undo_action_ != nullptr) {
    undo_action_->setEnabled(editing || editing_.CanUndo());
    redo_action_->setEnabled(editing_.CanRedo());
  }
  // A recovery copy follows unsaved changes within the delay; it goes once they are saved.
  if (!recovery_timer_->isActive() && !doc_.MidiPath.empty()) recovery_timer_->start();
}

void TForm1::SetModified(bool modified) {
  modified_ = modified;
  UpdateCaption();
}

void TForm1::UpdateCaption() {
  const QString title = modified_ ? QStringLiteral("*") + caption_ : caption_;
  if (windowTitle() != title) setWindowTitle(title);
}

void TForm1::SetColourSwatch(uint32_t colour) {
  QPalette palette = ui_->Panel2->palette();
  palette.setColor(QPalette::Window,
                   QColor(colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF));
  ui_->Panel2->setPalette(palette);
}

void TForm1::SendLyricsToPreview() {
  if (preview_ == nullptr) return;
  preview_->SetLyrics(MemoToLyrics(ui_->Lyrics->toPlainText()), ui_->Align->currentIndex(),
                      working_colour_);
}

void TForm1::CreateUndoActions() {
  // Window-wide keys; the text fields let their own typing undo go first (UndoKeys). The same
  // actions make the event list's menu.
  undo_action_ = new QAction(QStringLiteral("元に戻す"), this);
  undo_action_->setObjectName(QStringLiteral("UndoAction"));
  undo_action_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
  redo_action_ = new QAction(QStringLiteral("やり直し"), this);
  redo_action_->setObjectName(QStringLiteral("RedoAction"));
  redo_action_->setShortcuts(
      {QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)});
  for (QAction* action : {undo_action_, redo_action_}) {
    action->setShortcutContext(Qt::WindowShortcut);
    action->setEnabled(false);
    addAction(action);
    ui_->EventList->addAction(action);
  }
  ui_->EventList->setContextMenuPolicy(Qt::ActionsContextMenu);
  connect(undo_action_, &QAction::triggered, this, Guard(&TForm1::UndoClick));
  connect(redo_action_, &QAction::triggered, this, Guard(&TForm1::RedoClick));

  const Ui::TForm1& ui = *ui_;
  auto* keys = new UndoKeys(this);
  for (QWidget* field :
       std::initializer_list<QWidget*>{ui.Mark, ui.Count, ui.Lyrics, ui.X1, ui.Y1, ui.X2, ui.Y2,
                                       ui.Picture, ui.Picture->lineEdit()}) {
    if (field != nullptr) field->installEventFilter(keys);
  }
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
  // A save that failed keeps the window (and the changes) open.
  bool go_ahead = false;
  RunHandler(dialogs_, [&] { go_ahead = QuerySave(); });
  if (!go_ahead) {
    event->ignore();
    return;
  }
  event->accept();
  // The changes were saved, declined or never made: no recovery copy is left behind.
  RemoveRecoveryCopy();
  // The program ends with the main window, even while the preview or the log is open.
  if (preview_ != nullptr) preview_->close();
  if (log_ != nullptr) log_->close();
  if (show_ != nullptr) show_->close();
  QCoreApplication::quit();
}

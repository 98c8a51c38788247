// The main window: its controls, and the wiring from their handlers to the objects that hold
// the jobs (the editing model, the project session, the transport, the show link, the checks
// runner and the working copy in the controls).
#include "app/tform1.h"

#include <QAction>
#include <QCloseEvent>
#include <QFileInfo>
#include <QGuiApplication>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QShortcut>
#include <QTimer>
#include <algorithm>

#include "app/bmp_file_names.h"
#include "app/dialogs.h"
#include "app/event_editing.h"
#include "app/project_file_link.h"
#include "app/scroll_codes.h"
#include "app/storyboard_link.h"
#include "app/timing_dialog.h"
#include "app/undo_keys.h"
#include "app/window_places.h"
#include "checks/problem_lines.h"
#include "document/names.h"
#include "logwindow/tform3.h"
#include "preview/tform2.h"
#include "show/show_window.h"
#include "song/media_player.h"
#include "ui_tform1.h"
#include "widgets/cp932_text.h"
#include "widgets/double_click_relay.h"

namespace {

constexpr int kTimerInterval = 300;  // ms between two polls of the song position

}  // namespace

TForm1::TForm1(MediaPlayer& player, Dialogs& dialogs, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint),
      ui_(std::make_unique<Ui::TForm1>()),
      dialogs_(dialogs),
      transport_(player) {
  ui_->setupUi(this);
  controls_ = std::make_unique<EventControls>(*ui_, editing_);
  song_ = std::make_unique<SongPanel>(*ui_, transport_);
  places_ = new WindowPlaces(*this, this);
  list_ = std::make_unique<EventListView>(*ui_->EventList);
  events_ = new EventEditing(*ui_, editing_, *controls_, dialogs_, this);
  show_link_ = new ShowLink(
      *this, transport_, doc_, [this](EventTable& into) { ReadWorkingDocument(into); },
      [this] { return song_->ShownPosition(); });
  storyboard_ = new StoryboardLink(*this, *places_, *show_link_, dialogs_,
                                   [this](EventTable& into) { ReadWorkingDocument(into); });
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
  project_ = new ProjectFileLink(editing_, dialogs_, this);

  ConnectHandlers();
  CreateShortcuts();
  CreateUndoActions();
  CreateStatusLine();
  // After the undo actions: the event list's menu lists them first.
  lyrics_ =
      new LyricsLink(*events_, editing_, transport_, *show_link_, *this, dialogs_, *ui_->EventList);
  connect(this, &TForm1::DocumentChanged, lyrics_, &LyricsLink::ShowNext);
  connect(lyrics_, &LyricsLink::Status, this, &TForm1::ShowStatus);
  FormCreate();
  timer_->start();
}

TForm1::~TForm1() = default;

void TForm1::AttachPreview(TForm2* preview) {
  show_link_->AttachPreview(preview);
  if (preview == nullptr) return;
  places_->Track(*preview, QStringLiteral("Preview"));
  connect(preview, &TForm2::TextRectChosen, this, Guard(&TForm1::SetTextRect));
}

void TForm1::AttachLog(TForm3* log) {
  checks_.AttachLog(log);
  if (log == nullptr) return;
  places_->Track(*log, QStringLiteral("Log"));
  connect(log, &TForm3::ProblemChosen, this, Guard(&TForm1::JumpToEvent));
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
  connect(project_->RecoveryTimer(), &QTimer::timeout, this, Guard(&TForm1::RecoveryTimerTimer));
  connect(project_, &ProjectFileLink::StatusChanged, this, &TForm1::ShowStatus);
  connect(events_, &EventEditing::Status, this, &TForm1::ShowStatus);
  connect(events_, &EventEditing::StepMade, this, &TForm1::ShowDocument);
  connect(events_, &EventEditing::Committed, this, &TForm1::DocumentChanged);
  connect(events_, &EventEditing::StateChanged, this, &TForm1::UpdateModified);
  connect(events_, &EventEditing::EventChanged, this, [this](int index) {
    ShowEvent(index);
    RefreshEventList();
    emit DocumentChanged();
  });
  connect(events_, &EventEditing::WorkingCopyChanged, this, [this](const EventItem& item) {
    show_link_->FeedRect(item);
    SendLyricsToPreview();
  });

  connect(new ScrollCodes(ui.TimeBar), &ScrollCodes::Scroll, this, Guard(&TForm1::TimeBarScroll));
  connect(new ScrollCodes(ui.TimeBar2), &ScrollCodes::Scroll, this, Guard(&TForm1::TimeBar2Scroll));

  // A mouse click (also on the line already highlighted) and a keyboard move of the
  // highlight both count as a click in the list; the refresh's own changes do not.
  connect(ui.EventList, &QListWidget::itemClicked, this, Guard(&TForm1::EventListClick));
  connect(new DoubleClickRelay(ui.EventList->viewport()), &DoubleClickRelay::DoubleClicked, this,
          Guard(&TForm1::EventListDoubleClick));
  connect(ui.EventList, &QListWidget::currentRowChanged, this, [this] {
    if (!list_->Refreshing() && QGuiApplication::mouseButtons() == Qt::NoButton &&
        ui_->EventList->hasFocus()) {
      RunHandler(dialogs_, [this] { EventListClick(); });
    }
  });

  connect(ui.Mark, &QLineEdit::textChanged, this, Guard(&TForm1::MarkChange));
  connect(ui.Count, &QLineEdit::textChanged, this, Guard(&TForm1::CountChange));
  connect(ui.Count, &QLineEdit::editingFinished, this, Guard(&TForm1::CountEnter));
  connect(ui.Lyrics, &QPlainTextEdit::textChanged, this, Guard(&TForm1::LyricsChange));
  connect(ui.Effect, &QComboBox::currentIndexChanged, this, Guard(&TForm1::EffectChange));
  connect(ui.Align, &QComboBox::currentIndexChanged, this, Guard(&TForm1::AlignChange));
  for (QLineEdit* edit : {ui.X1, ui.Y1, ui.X2, ui.Y2}) {
    connect(edit, &QLineEdit::textChanged, this, Guard(&TForm1::X1Change));
  }
  connect(ui.Picture, &QComboBox::editTextChanged, this, Guard(&TForm1::PictureChange));
  connect(ui.Naraberu, &QCheckBox::clicked, this, Guard(&TForm1::PictureChange));

  connect(show_link_, &ShowLink::ShowMade, this, [this] {
    places_->Track(*show_link_->Show(), QStringLiteral("Show"));
    RunHandler(dialogs_, [this] { UpdateTimelineSong(); });
  });
  connect(show_link_, &ShowLink::SeekRequested, this, Guard(&TForm1::TimelineSeek));
  connect(show_link_, &ShowLink::MarkerMoved, this, Guard(&TForm1::TimelineMove));
  connect(show_link_, &ShowLink::MarkerActivated, this, Guard(&TForm1::TimelineActivate));
  connect(storyboard_, &StoryboardLink::EventSelected, this, Guard(&TForm1::JumpToEvent));
  checks_.OnProblemsFound(
      [this](const std::vector<Problem>& problems) { storyboard_->SetProblems(problems); });
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
  add(QKeySequence(Qt::CTRL | Qt::Key_Up), [this] { SpeedKey(1); });
  add(QKeySequence(Qt::CTRL | Qt::Key_Down), [this] { SpeedKey(-1); });
  add(QKeySequence(Qt::Key_L), [this] { LoopKey(); });
  add(QKeySequence(Qt::CTRL | Qt::Key_Right), [this] { NudgeKey(1, false); });
  add(QKeySequence(Qt::CTRL | Qt::Key_Left), [this] { NudgeKey(-1, false); });
  add(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Right), [this] { NudgeKey(1, true); });
  add(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Left), [this] { NudgeKey(-1, true); });
  add(QKeySequence(Qt::CTRL | Qt::Key_K), [this] { TimingKey(); });
  add(QKeySequence(Qt::CTRL | Qt::Key_T), [this] { TimelineKey(); });
}

void TForm1::CreateUndoActions() {
  // The text fields let their own typing undo go first.
  const Ui::TForm1& ui = *ui_;
  const UndoActions actions =
      ::CreateUndoActions(*this, *ui.EventList,
                          {ui.Mark, ui.Count, ui.Lyrics, ui.X1, ui.Y1, ui.X2, ui.Y2, ui.Picture,
                           ui.Picture->lineEdit()});
  undo_action_ = actions.undo;
  redo_action_ = actions.redo;
  connect(undo_action_, &QAction::triggered, this, Guard(&TForm1::UndoClick));
  connect(redo_action_, &QAction::triggered, this, Guard(&TForm1::RedoClick));
}

void TForm1::CreateStatusLine() {
  status_ = new QLabel(this);
  status_->setObjectName(QStringLiteral("Status"));
  status_->setGeometry(248, 392, 432, 14);
  status_->hide();
}

void TForm1::FormCreate() {
  ui_->Effect->addItems({QStringLiteral("なし"), QStringLiteral("フェードイン／アウト(白)"),
                         QStringLiteral("フェードイン／アウト(黒)")});
  ui_->Effect->setCurrentIndex(-1);
  ui_->Align->addItems(
      {QStringLiteral("左詰め"), QStringLiteral("右詰め"), QStringLiteral("中央寄せ")});
  ui_->Align->setCurrentIndex(-1);
  ui_->Lyrics->clear();
  editing_.Select(-1);
  doc_.EventCount = 0;
  modified_ = false;
  UpdateCaption();
}

// ---- The selection between the table and the controls.

void TForm1::SelectEvent(int index) {
  if (index < 0 || index >= EventTable::kCapacity) return;
  // Redoing the commit comes back to the event the user went on to.
  events_->CommitWorkingCopy(index);
  ShowEvent(index);
  UpdateModified();
}

void TForm1::ShowEvent(int index) {
  storyboard_->SelectEvent(index);
  show_link_->FeedRect(controls_->Select(index));
  SendLyricsToPreview();
}

void TForm1::ShowDocument() {
  ShowEvent(editing_.Selection());
  RefreshEventList();
  // The highlight names the event in the controls.
  list_->Highlight(editing_.Selection());
  UpdatePreviewPicture();
  UpdateModified();
  emit DocumentChanged();
}

void TForm1::RetimeEvents(const std::vector<EventTime>& times) { events_->RetimeEvents(times); }

void TForm1::ReplaceEvents(const EventTable& replacement, int selection) {
  events_->ReplaceEvents(replacement, selection);
}

void TForm1::ApplyStep(std::unique_ptr<EditCommand> command, int selection) {
  events_->ApplyStep(std::move(command), selection);
}

void TForm1::ReadWorkingDocument(EventTable& into) const { controls_->ReadWorkingDocument(into); }

void TForm1::RefreshEventList() {
  list_->Refresh(doc_);
  UpdateTimelineMarkers();
}

void TForm1::UpdatePreviewPicture() {
  show_link_->FeedPicture(ToCp932(ui_->Picture->currentText()), ui_->Naraberu->isChecked());
}

void TForm1::SendLyricsToPreview() {
  show_link_->FeedLyrics(controls_->Lyrics(), ui_->Align->currentIndex(), controls_->Colour());
}

void TForm1::SetTextRect(int x1, int y1, int x2, int y2) { events_->SetRect(x1, y1, x2, y2); }

void TForm1::EditChanged() {
  if (controls_->Loading()) return;
  UpdateModified();
}

void TForm1::UpdateModified() {
  const bool editing = controls_->Pending();
  modified_ = editing || !editing_.IsClean();
  UpdateCaption();
  undo_action_->setEnabled(editing || editing_.CanUndo());
  redo_action_->setEnabled(editing_.CanRedo());
  // A recovery copy follows unsaved changes within the delay; it goes once they are saved.
  project_->Changed();
  storyboard_->DocumentEdited();
}

void TForm1::UpdateCaption() {
  const QString title = modified_ ? QStringLiteral("*") + caption_ : caption_;
  if (windowTitle() != title) setWindowTitle(title);
}

bool TForm1::FocusInTextEdit() const {
  QWidget* focus = focusWidget();
  return qobject_cast<QLineEdit*>(focus) != nullptr ||
         qobject_cast<QPlainTextEdit*>(focus) != nullptr;
}

QString TForm1::MidiFolderPath() const {
  if (doc_.MidiFolder.empty()) return QString();
  return QString::fromStdString(Cp932ToUtf8(doc_.MidiFolder));
}

void TForm1::ShowStatus(const QString& text) {
  status_->setText(text);
  status_->setVisible(!text.isEmpty());
  ui_->Label6->setVisible(text.isEmpty());  // the version line shares the place
}

void TForm1::UseSettingsFile(const QString& path) {
  settings_ = TimingSettings(path);
  places_->UseSettingsFile(path);
  transport_.SetSpeed(settings_.Speed());
}

// ---- The project file.

void TForm1::OpenClick() {
  if (!doc_.MidiPath.empty() && !QuerySave()) return;
  const QString path = dialogs_.OpenFileName(
      QStringLiteral("MIDIファイル (*.mid *.MID *.rmi *.RMI)"), MidiFolderPath());
  if (path.isEmpty()) return;
  OpenMidiFile(path);
}

void TForm1::OpenMidiFile(const QString& path) {
  const QString absolute = QFileInfo(path).absoluteFilePath();
  const std::string cp932Path = ToCp932(absolute);
  if (FromCp932(cp932Path) != absolute) {
    // The document keeps paths in CP932; a name it cannot hold would name another file.
    throw std::runtime_error("ファイル名を Shift-JIS で表せません: " + absolute.toStdString());
  }
  // The new song opens first: when it fails, the previous song, names and table stay.
  transport_.Player().Open(absolute.toStdString());
  ShowStatus(QString::fromStdString(transport_.Player().RepairNotice()));
  transport_.SongOpened();

  // The previous song's changes were saved or declined.
  project_->RemoveRecoveryCopy();
  ui_->Picture->clear();
  ui_->Picture->addItems(BmpFileNames(QFileInfo(absolute).absolutePath()));
  transport_.Player().Seek(0);
  song_->SetLength(std::max<int32_t>(transport_.Length(), 0));
  caption_ = QStringLiteral("Varnel WRD Maker ") + QFileInfo(absolute).fileName();
  storyboard_->SongOpened(transport_.Player());
  project_->Open(cp932Path, song_->CounterNumber());
  ShowDocument();
  if (project_->OfferRecoveryCopy()) {
    ShowDocument();
  } else {
    UpdateModified();
  }
  UpdateTimelineSong();
  lyrics_->SongOpened();
}

bool TForm1::QuerySave() {
  if (!modified_) return true;
  const ProjectFileLink::Answer answer = project_->AskToSave();
  if (answer == ProjectFileLink::Answer::kSave) SaveProject();
  return answer != ProjectFileLink::Answer::kCancel;
}

void TForm1::SaveProject() {
  events_->CommitWorkingCopy();
  project_->Save();
  UpdateModified();
}

void TForm1::SaveClick() {
  if (doc_.MidiPath.empty()) return;
  SaveProject();
}

void TForm1::RecoveryTimerTimer() {
  // The table with the edits still in the controls.
  auto table = std::make_unique<EventTable>();
  ReadWorkingDocument(*table);
  project_->KeepRecoveryCopy(modified_, *table, editing_.Selection());
}

void TForm1::MakeClick() {
  if (doc_.MidiPath.empty()) return;
  if (editing_.Selection() >= 0) SelectEvent(editing_.Selection());
  checks_.Make(doc_, transport_.SongLength(), *this);
}

// ---- The song.

void TForm1::PlayClick() {
  if (!song_->PlayOrStop()) return;
  const std::string notice = transport_.TakeFirstSoundNotice();
  if (!notice.empty()) ShowStatus(QString::fromStdString(notice));
}

void TForm1::Button1Click() { transport_.Seek(0); }

void TForm1::Timer1Timer() {
  if (!doc_.MidiPath.empty()) song_->Poll();
}

void TForm1::TimeBarScroll(int code) {
  if (song_->PositionScrolled(code, !doc_.MidiPath.empty())) show_link_->UpdatePosition();
}

void TForm1::TimeBar2Scroll(int code) {
  if (code == ScrollCodes::kEndScroll) events_->TimeBarReleased();
}

int32_t TForm1::TapPosition() {
  if (doc_.MidiPath.empty()) return song_->CounterNumber();
  const bool syllables = settings_.SnapChannel() == TimingSettings::kSnapSyllables;
  const int32_t position =
      transport_.Tap({settings_.ReactionDelayMs(), syllables ? 0 : settings_.SnapChannel()},
                     syllables ? lyrics_->SyllableTicks() : std::vector<int64_t>());
  song_->ShowCounter(position);
  return position;
}

void TForm1::CountEnter() { events_->TypedTime(); }

void TForm1::TimeClick() { events_->SetTime(TapPosition()); }

void TForm1::EventListDoubleClick() {
  const int row = ui_->EventList->currentRow();
  if (doc_.MidiPath.empty() || row < 0 || row >= doc_.EventCount) return;
  transport_.Seek(doc_.events[row].Count);
  ui_->TimeBar->setValue(transport_.Position());
}

void TForm1::PlayKey() {
  if (!FocusInTextEdit()) PlayClick();
}

void TForm1::RewindKey() {
  if (!FocusInTextEdit()) Button1Click();
}

void TForm1::AddKey() {
  if (!lyrics_->Waiting() || !lyrics_->TapIn(TapPosition())) AddClick();
}

void TForm1::StepKey(int direction) {
  // Through the bar's own step, so that the position is clamped and sought at the end.
  ui_->TimeBar->triggerAction(direction > 0 ? QAbstractSlider::SliderSingleStepAdd
                                            : QAbstractSlider::SliderSingleStepSub);
}

void TForm1::SpeedKey(int direction) {
  settings_.SetSpeed(transport_.StepSpeed(direction));
  if (!doc_.MidiPath.empty()) song_->ShowCounter(transport_.Position());
}

void TForm1::LoopKey() {
  if (FocusInTextEdit() || doc_.MidiPath.empty()) return;
  if (transport_.Looping()) {
    transport_.EndLoop();
  } else if (editing_.Selection() < 0 ||
             !transport_.StartLoop(doc_, editing_.Selection(), ui_->TimeBar2->value())) {
    return;
  }
  show_link_->UpdateLoop(transport_.LoopFrom(), transport_.LoopTo());
  song_->ShowCounter(transport_.Position());
}

void TForm1::NudgeKey(int direction, bool with_later) {
  events_->Nudge(direction, with_later, transport_.Length());
}

void TForm1::TimingKey() {
  TimingDialog dialog(settings_, this);
  dialog.exec();
}

// ---- The show window, its timeline and the preview.

TimelineWidget* TForm1::Timeline() { return show_link_->Timeline(); }

void TForm1::TestClick() {
  // Not activated: the keys that tap (Insert, Space) keep working in this window.
  show_link_->ShowShow();
}

void TForm1::TimelineKey() { show_link_->ToggleTimeline(); }

void TForm1::PreviewClick() { show_link_->ShowPreview(); }

void TForm1::UpdateTimelineSong() {
  show_link_->UpdateSong(transport_.LoopFrom(), transport_.LoopTo());
  UpdateTimelineMarkers();
  show_link_->UpdatePosition();
}

void TForm1::UpdateTimelineMarkers() {
  show_link_->UpdateMarkers(editing_.Selection(), controls_->Read());
}

void TForm1::TimelineMove(int index, int32_t count) { RetimeEvents({{index, count}}); }

void TForm1::TimelineSeek(int32_t position) {
  if (doc_.MidiPath.empty()) return;
  song_->SeekTo(position);
  show_link_->UpdatePosition();
}

void TForm1::TimelineActivate(int index) {
  if (index < 0 || index >= doc_.EventCount) return;
  ui_->EventList->setCurrentRow(index);
  EventListClick();
  raise();
  activateWindow();
}

// ---- The checks.

void TForm1::CheckKey() {
  if (doc_.MidiPath.empty()) return;
  auto table = std::make_unique<EventTable>();
  ReadWorkingDocument(*table);
  checks_.List(*table, transport_.SongLength());
}

void TForm1::NextProblemKey(int direction) {
  if (doc_.MidiPath.empty()) return;
  // The table as it is now: edits since the last check have moved or mended problems.
  auto table = std::make_unique<EventTable>();
  ReadWorkingDocument(*table);
  const std::optional<Problem> problem =
      checks_.NextProblem(*table, transport_.SongLength(), editing_.Selection(), direction);
  if (!problem) return;
  JumpToEvent(problem->Event - 1);
  // What is wrong, where the eye is: the status line.
  ShowStatus(FromCp932(ProblemLine(*problem)));
}

void TForm1::JumpToEvent(int index) {
  if (index < 0 || index >= doc_.EventCount) return;
  // As a click in the list: the edits of the event left behind become a step.
  ui_->EventList->setCurrentRow(index);
  EventListClick();
  TimelineSeek(doc_.events[index].Count);
}

// ---- Event editing.

void TForm1::EventListClick() {
  const int row = ui_->EventList->currentRow();
  // A click that leaves no line highlighted (an empty list) selects nothing.
  if (row < 0 || row >= doc_.EventCount) return;
  SelectEvent(row);
  RefreshEventList();
  UpdatePreviewPicture();
}

void TForm1::AddClick() {
  events_->Add([this] { return TapPosition(); });
}

void TForm1::DeleteClick() { events_->Delete(); }

void TForm1::UndoClick() { events_->Undo(); }

void TForm1::RedoClick() { events_->Redo(); }

void TForm1::MarkChange() { EditChanged(); }

void TForm1::CountChange() { EditChanged(); }

void TForm1::LyricsChange() {
  EditChanged();
  SendLyricsToPreview();
}

void TForm1::EffectChange() { EditChanged(); }

void TForm1::AlignChange() {
  EditChanged();
  SendLyricsToPreview();
}

void TForm1::X1Change() { EditChanged(); }

void TForm1::PictureChange() {
  EditChanged();
  UpdatePreviewPicture();
}

void TForm1::PictureButtonClick() {
  const QString path =
      dialogs_.OpenFileName(QStringLiteral("BMPファイル (*.bmp *.BMP)"), MidiFolderPath());
  if (path.isEmpty()) return;
  ui_->Picture->setEditText(path);
}

void TForm1::ColorClick() {
  if (events_->ChooseColour()) SendLyricsToPreview();
}

void TForm1::closeEvent(QCloseEvent* event) {
  if (checks_.Building()) {
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
  project_->CloseSong();
  // The program ends with the main window, even while the preview or the log is open.
  show_link_->CloseAll();
  storyboard_->Close();
  if (checks_.Log() != nullptr) checks_.Log()->close();
  QCoreApplication::quit();
}

// The main window's event editing: the list, adding and deleting, the change handlers, the
// colour and picture choices and the preview buttons.
#include <QColor>

#include "app/dialogs.h"
#include "app/tform1.h"
#include "document/number_text.h"
#include "preview/tform2.h"
#include "show/show_window.h"
#include "song/media_player.h"
#include "ui_tform1.h"
#include "widgets/cp932_text.h"

void TForm1::EventListClick() {
  const int row = ui_->EventList->currentRow();
  // A click that leaves no line highlighted (an empty list) selects nothing.
  if (row < 0 || row >= doc_.EventCount) return;
  SelectEvent(row);
  RefreshEventList();
  UpdatePreviewPicture();
}

void TForm1::AddClick() {
  const int n = doc_.EventCount;
  if (n >= EventTable::kCapacity) {
    // In the status line, not a box: a box would take the focus from a user tapping along.
    ShowStatus(QStringLiteral("イベントは%1個までです。これ以上追加できません。")
                   .arg(EventTable::kCapacity));
    return;
  }
  const int32_t tap = TapPosition();  // the position of the press, before anything else
  CommitWorkingCopy();
  Item fields;
  fields.Mark = ToCp932(QStringLiteral("新規イベント"));
  fields.Count = tap;
  fields.Effect = kEffectNone;
  editing_.AddEvent(fields);
  // The controls edit the new event, and the list's highlight names it.
  ShowDocument();
}

void TForm1::DeleteClick() {
  if (doc_.EventCount <= 1) return;
  const Dialogs::Answer answer = dialogs_.AskYesNo(QStringLiteral("削除します"), ui_->Mark->text());
  if (answer != Dialogs::Answer::Yes) return;
  if (editing_.Selection() < 0 || editing_.Selection() >= doc_.EventCount) return;
  // Edits made before are a step of their own, so that undoing the deletion brings them back.
  CommitWorkingCopy();
  // The controls still hold the deleted event: the event now at that place (or the new last
  // one) is loaded into them without committing them over it.
  editing_.DeleteEvent(editing_.Selection());
  ShowDocument();
}

void TForm1::UndoClick() {
  // Edits not yet committed are the latest step: they are the first to go.
  CommitWorkingCopy();
  if (!editing_.Undo()) return;
  ShowDocument();
}

void TForm1::RedoClick() {
  // New edits replace the steps that could be redone, as in any editor.
  if (CommitWorkingCopy() || !editing_.Redo()) {
    UpdateModified();
    return;
  }
  ShowDocument();
}

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
  const uint32_t c = working_colour_;
  const std::optional<QColor> chosen =
      dialogs_.ChooseColour(QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF));
  if (!chosen) return;
  const uint32_t colour = static_cast<uint32_t>(chosen->red()) |
                          static_cast<uint32_t>(chosen->green()) << 8 |
                          static_cast<uint32_t>(chosen->blue()) << 16;
  // A chosen colour is one step of its own.
  CommitGesture([colour](Item& item) { item.Color = colour; });
  SetColourSwatch(working_colour_);
  SendLyricsToPreview();
}

void TForm1::PreviewClick() {
  if (preview_ == nullptr) return;
  preview_->show();
  preview_->raise();
  preview_->activateWindow();
}

ShowWindow* TForm1::MakeShowWindow() {
  if (show_ == nullptr) {
    show_ = new ShowWindow(
        player_, [this](EventTable& into) { ReadWorkingDocument(into); },
        [this] { return dragging_ ? ui_->TimeBar->value() : player_.Position(); }, pictures_, this);
    show_->PlaceBeside(*this);
    ConnectTimeline();
  }
  return show_;
}

void TForm1::TestClick() {
  MakeShowWindow();
  // Not activated: the keys that tap (Insert, Space) keep working in this window.
  show_->show();
  show_->raise();
}

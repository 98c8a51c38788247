// The main window's event editing: the list, adding and deleting, the change handlers, the
// colour and picture choices and the preview buttons.
#include <QColor>

#include "app/cp932_text.h"
#include "app/dialogs.h"
#include "app/document/number_text.h"
#include "app/tform1.h"
#include "preview/tform2.h"
#include "ui_tform1.h"

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
    dialogs_.ShowNotice(QStringLiteral("イベントは%1個までです。これ以上追加できません。")
                            .arg(EventTable::kCapacity));
    return;
  }
  Item& item = doc_.events[n];
  item.Mark = ToCp932(QStringLiteral("新規イベント"));
  item.Count = TapPosition();
  item.Effect = 0;
  SelectEvent(n);
  doc_.EventCount = n + 1;
  RefreshEventList();
  SetModified(true);
}

void TForm1::DeleteClick() {
  if (doc_.EventCount <= 1) return;
  const Dialogs::Answer answer = dialogs_.AskYesNo(QStringLiteral("削除します"), ui_->Mark->text());
  if (answer == Dialogs::Answer::Yes && doc_.Selection >= 0 && doc_.Selection < doc_.EventCount) {
    for (int i = doc_.Selection + 1; i < doc_.EventCount; ++i) {
      doc_.events[i - 1] = doc_.events[i];
    }
    --doc_.EventCount;
    const int shown = std::min(doc_.Selection, doc_.EventCount - 1);
    if (doc_.Selection >= doc_.EventCount) {
      ui_->EventList->setCurrentRow(doc_.EventCount - 1);
    }
    // The controls still hold the deleted event: load the event now at that place (or the
    // new last one) without committing them over it.
    doc_.Selection = -1;
    SelectEvent(shown);
    RefreshEventList();
    UpdatePreviewPicture();
  }
  SetModified(true);
}

void TForm1::MarkChange() { SetModified(true); }

void TForm1::CountChange() { SetModified(true); }

void TForm1::LyricsChange() {
  SetModified(true);
  SendLyricsToPreview();
}

void TForm1::EffectChange() { SetModified(true); }

void TForm1::AlignChange() {
  SetModified(true);
  SendLyricsToPreview();
}

void TForm1::X1Change() { SetModified(true); }

void TForm1::PictureChange() {
  SetModified(true);
  UpdatePreviewPicture();
}

void TForm1::PictureButtonClick() {
  const QString path =
      dialogs_.OpenFileName(QStringLiteral("BMPファイル (*.bmp *.BMP)"), MidiFolderPath());
  if (path.isEmpty()) return;
  ui_->Picture->setEditText(path);
}

void TForm1::ColorClick() {
  const uint32_t c = working_color_;
  const std::optional<QColor> chosen =
      dialogs_.ChooseColor(QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF));
  if (!chosen) return;
  working_color_ = static_cast<uint32_t>(chosen->red()) |
                   static_cast<uint32_t>(chosen->green()) << 8 |
                   static_cast<uint32_t>(chosen->blue()) << 16;
  SetColorSwatch(working_color_);
  SetModified(true);
  SendLyricsToPreview();
}

void TForm1::PreviewClick() {
  if (preview_ == nullptr) return;
  preview_->show();
  preview_->raise();
  preview_->activateWindow();
}

void TForm1::TestClick() { PreviewClick(); }

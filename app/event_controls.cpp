#include "app/event_controls.h"

#include "document/number_text.h"
#include "editing/editing_model.h"
#include "editing/working_copy.h"
#include "ui_tform1.h"
#include "widgets/cp932_text.h"

namespace {

QString Decimal(int32_t value) { return QString::number(value); }

// Lyrics hold CR LF between lines; the memo holds LF. Lyrics read from a project end with CR LF:
// the memo shows the lines and nothing after them, so that typing at the end continues the
// last line. Until the lyrics are edited, the event keeps them as they were read.
QString LyricsToMemo(const std::string& cp932) {
  QString memo = FromCp932(cp932).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  if (memo.endsWith(QLatin1Char('\n'))) memo.chop(1);
  return memo;
}

std::string MemoToLyrics(const QString& memo) {
  QString text = memo;
  return ToCp932(text.replace(QLatin1Char('\n'), QStringLiteral("\r\n")));
}

}  // namespace

EventItem EventControls::Read() const {
  const Ui::TForm1& ui = ui_;
  EventItem item;
  item.Mark = ToCp932(ui.Mark->text());
  item.Count = ui.TimeBar2->value();
  item.Lyrics = Lyrics();
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

void EventControls::Load(const EventItem& item) {
  Show(item);
  loaded_ = Read();
}

void EventControls::Show(const EventItem& item) {
  Ui::TForm1& ui = ui_;
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
}

bool EventControls::Pending() const {
  const int index = editing_.Selection();
  return index >= 0 && index < editing_.Table().EventCount && Edited();
}

EventItem EventControls::Select(int index) {
  editing_.Select(index >= 0 && index < EventTable::kCapacity ? index : -1);
  const int selection = editing_.Selection();
  const EventItem item = selection >= 0 ? editing_.Table().events[selection] : EventItem();
  Load(item);
  return item;
}

bool EventControls::Commit(std::optional<int> next) {
  if (!Pending()) return false;
  const int index = editing_.Selection();
  const bool changed = editing_.ChangeEvent(index, WithEdits(editing_.Table().events[index]), next);
  TakeAsLoaded();
  return changed;
}

void EventControls::ReadWorkingDocument(EventTable& into) const {
  into = editing_.Table();
  const int index = editing_.Selection();
  if (index >= 0 && index < into.EventCount) into.events[index] = WithEdits(into.events[index]);
}

EventItem EventControls::WithEdits(const EventItem& stored) const {
  return ApplyEdits(stored, loaded_, Read());
}

std::string EventControls::Lyrics() const { return MemoToLyrics(ui_.Lyrics->toPlainText()); }

void EventControls::SetColourSwatch(uint32_t colour) {
  QPalette palette = ui_.Panel2->palette();
  palette.setColor(QPalette::Window,
                   QColor(colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF));
  ui_.Panel2->setPalette(palette);
}

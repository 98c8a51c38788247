#include "editing/new_event.h"

#include "text/cp932.h"

namespace {

constexpr uint32_t kWhite = 0x00FFFFFF;

}  // namespace

EventItem NewEvent(const EventTable& table, int32_t count) {
  const EventItem* shown = nullptr;
  for (int i = 0; i < table.EventCount; ++i) {
    const EventItem& item = table.events[i];
    if (item.Count <= count && (shown == nullptr || item.Count >= shown->Count)) shown = &item;
  }
  EventItem event;
  event.Mark = Utf8ToCp932("新規イベント");
  event.Count = count;
  event.Effect = kEffectNone;
  if (shown != nullptr) {
    event.Picture = shown->Picture;
    event.Naraberu = shown->Naraberu;
    event.X1 = shown->X1;
    event.Y1 = shown->Y1;
    event.X2 = shown->X2;
    event.Y2 = shown->Y2;
    event.Align = shown->Align;
    event.Color = shown->Color;
  } else {
    event.X1 = 0;
    event.Y1 = 400;
    event.X2 = 639;
    event.Y2 = 479;
    event.Align = kAlignCentre;
    event.Color = kWhite;
  }
  return event;
}

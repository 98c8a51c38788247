#include "editing/new_event.h"

#include "text/cp932.h"

EventItem NewEvent(const EventTable& table, int32_t count) {
  const EventItem* shown = nullptr;
  for (int i = 0; i < table.EventCount; ++i) {
    const EventItem& item = table.events[i];
    if (item.Count <= count && (shown == nullptr || item.Count >= shown->Count)) shown = &item;
  }
  EventItem event = shown != nullptr ? EventItem{} : DefaultEventLayout();
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
  }
  return event;
}

#include "editing/working_copy.h"

namespace {

template <typename T>
void Take(T& field, const T& loaded, const T& edited) {
  if (edited != loaded) field = edited;
}

}  // namespace

EventItem ApplyEdits(const EventItem& stored, const EventItem& loaded, const EventItem& edited) {
  EventItem item = stored;
  Take(item.Mark, loaded.Mark, edited.Mark);
  Take(item.Count, loaded.Count, edited.Count);
  Take(item.Picture, loaded.Picture, edited.Picture);
  Take(item.Effect, loaded.Effect, edited.Effect);
  Take(item.Lyrics, loaded.Lyrics, edited.Lyrics);
  Take(item.X1, loaded.X1, edited.X1);
  Take(item.Y1, loaded.Y1, edited.Y1);
  Take(item.X2, loaded.X2, edited.X2);
  Take(item.Y2, loaded.Y2, edited.Y2);
  Take(item.Naraberu, loaded.Naraberu, edited.Naraberu);
  Take(item.Align, loaded.Align, edited.Align);
  Take(item.Color, loaded.Color, edited.Color);
  return item;
}

#pragma once

#include <QString>
#include <cstdint>
#include <string>

#include "document/event_table.h"

namespace Ui {
class TForm1;
}

// The main window's edit controls as the working copy of the selected event: an event loaded
// into them, read back out of them, and the edits made since it was loaded.
class EventControls {
 public:
  explicit EventControls(Ui::TForm1& ui) : ui_(ui) {}
  EventControls(const EventControls&) = delete;
  EventControls& operator=(const EventControls&) = delete;

  // The controls as an event (the colour is the colour dialog's working colour).
  EventItem Read() const;
  // Puts an event into the controls with their change handlers quiet (Loading()), and takes
  // it as the state the edits are counted from.
  void Load(const EventItem& item);
  // Puts an event into the controls without taking it as loaded (a gesture on no event).
  void Show(const EventItem& item);
  bool Loading() const { return loading_; }

  // The controls as the selected event was loaded into them.
  const EventItem& Loaded() const { return loaded_; }
  // The present controls become the state the edits are counted from.
  void TakeAsLoaded() { loaded_ = Read(); }
  // Whether the controls differ from what was loaded.
  bool Edited() const { return Read() != loaded_; }
  // `stored` with the fields the user edited in the controls.
  EventItem WithEdits(const EventItem& stored) const;

  uint32_t Colour() const { return working_colour_; }
  // The lyrics as the memo holds them, in CP932 with CR LF between lines.
  std::string Lyrics() const;

 private:
  void SetColourSwatch(uint32_t colour);

  Ui::TForm1& ui_;
  EventItem loaded_;
  uint32_t working_colour_ = 0;  // the colour dialog's current colour: the working copy of Color
  bool loading_ = false;
};

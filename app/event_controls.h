#pragma once

#include <QString>
#include <cstdint>
#include <string>

#include <optional>

#include "document/event_table.h"

class EditingModel;
namespace Ui {
class TForm1;
}

// The main window's edit controls as the working copy of the selected event of the editing
// model: an event loaded into them, read back out of them, and the edits made since it was
// loaded, committed as one step. The model must outlive it.
class EventControls {
 public:
  EventControls(Ui::TForm1& ui, EditingModel& editing) : ui_(ui), editing_(editing) {}
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
  // Whether a live event is selected and the controls hold edits of it.
  bool Pending() const;

  // Selects `index` (-1 when it is no slot) and loads it into the controls without committing
  // them: what they held is dropped. Returns the event loaded.
  EventItem Select(int index);
  // The edits made to the selected event since it was loaded, as one step. False: none.
  // `next`: the event selected after it, when the commit is the leaving of this one.
  bool Commit(std::optional<int> next = std::nullopt);
  // The document as it stands, with the edits in the controls in the selected event.
  void ReadWorkingDocument(EventTable& into) const;
  // `stored` with the fields the user edited in the controls.
  EventItem WithEdits(const EventItem& stored) const;

  uint32_t Colour() const { return working_colour_; }
  // The lyrics as the memo holds them, in CP932 with CR LF between lines.
  std::string Lyrics() const;

 private:
  void SetColourSwatch(uint32_t colour);

  Ui::TForm1& ui_;
  EditingModel& editing_;
  EventItem loaded_;
  uint32_t working_colour_ = 0;  // the colour dialog's current colour: the working copy of Color
  bool loading_ = false;
};

#pragma once

#include <QObject>
#include <QString>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "document/event_table.h"
#include "editing/editing_model.h"

class Dialogs;
class EventControls;
namespace Ui {
class TForm1;
}

// The event edits of the main window, each one step of the editing model: adding, deleting,
// undoing and redoing, the gestures that change the selected event (a colour, a rectangle, a
// time) and the retiming and replacing of events. The edits still in the controls are always a
// step of their own before. What the window must show afterwards comes back as signals. The
// controls, the model and the dialogs must outlive it.
class EventEditing : public QObject {
  Q_OBJECT

 public:
  EventEditing(Ui::TForm1& ui, EditingModel& editing, EventControls& controls, Dialogs& dialogs,
               QObject* parent = nullptr);

  // The controls' edits as one step (EventControls::Commit). False: there were none.
  bool CommitWorkingCopy(std::optional<int> next = std::nullopt);
  // A gesture that changes the selected event: the edits before it are one step, the gesture
  // another. With no event selected the controls alone take the change.
  void CommitGesture(const std::function<void(EventItem&)>& change);
  void RetimeEvents(const std::vector<EventTime>& times);
  void ReplaceEvents(const EventTable& replacement, int selection);
  void ApplyStep(std::unique_ptr<EditCommand> command, int selection);

  // A new event at the position `tap` gives (asked only when there is room for it).
  void Add(const std::function<int32_t()>& tap);
  // Deletes the selected event once the user agrees.
  void Delete();
  void Undo();
  void Redo();
  // Moves the selected event (with later ones: also every later event) by one sixteenth.
  void Nudge(int direction, bool with_later, int32_t song_length);
  // A rectangle dragged in the preview: one step of its own.
  void SetRect(int x1, int y1, int x2, int y2);
  // The time bar released: its time is one step; edits made before it are another.
  void TimeBarReleased();
  // The time of a tap (Time), as the time bar can hold it.
  void SetTime(int32_t position);
  // The time typed into Count: one step, within the song.
  void TypedTime();
  // Asks for a colour; true when one was chosen (and made a step).
  bool ChooseColour();

 signals:
  // A step was made, undone or redone: the window shows the table, the selection and the
  // list anew.
  void StepMade();
  // A gesture changed the event `index`.
  void EventChanged(int index);
  // A gesture changed the controls alone (no event selected).
  void WorkingCopyChanged(const EventItem& item);
  // The controls' edits became a step.
  void Committed();
  // The unsaved-changes state may differ.
  void StateChanged();
  void Status(const QString& text);

 private:
  Ui::TForm1& ui_;
  EditingModel& editing_;
  EventControls& controls_;
  Dialogs& dialogs_;
};

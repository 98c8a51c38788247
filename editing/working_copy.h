#pragma once

#include "document/event_table.h"

// The edit controls are the working copy of the selected event. An event left by the user
// takes only the fields the controls changed: `stored` (the event in the table) with every
// field in which `edited` (the controls now) differs from `loaded` (the controls as the event
// was loaded into them). A field the controls cannot show exactly (a time beyond the song's
// end, the text "12px" in a rectangle edit) thus stays as it is until the user edits it.
EventItem ApplyEdits(const EventItem& stored, const EventItem& loaded, const EventItem& edited);

#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "checks/problem.h"
#include "document/event_table.h"
#include "make/picture_table.h"

// Finds what the player would show wrongly (or not at all) in the live events: missing and
// unusable pictures, lyrics off the screen or outside their rectangle, events after the end of
// the song, fades that overlap, and the like. `pictures` is the picture table a build of this
// table collected; `songLength` is the song's length in sixteenth notes, when known. The
// problems come sorted by event number (the project's own first); those of one event keep the
// order in which the checks run. Reads no file but those of pictures that failed to load.
std::vector<Problem> Check(const EventTable& table, const PictureTable& pictures,
                           std::optional<int32_t> songLength);

// The same for a table without a build: loads its pictures (on all cores) and writes nothing.
std::vector<Problem> Check(const EventTable& table, std::optional<int32_t> songLength);

#pragma once

// The groups of checks that Check runs, each adding its problems to `found`.

#include <cstdint>
#include <optional>
#include <vector>

#include "checks/problem.h"
#include "document/event_table.h"
#include "make/picture_table.h"

// missing-picture, not-256-colours, same-png-name and picture-cropped on the first event that
// names each picture file; all-colours-used and no-picture-yet on every event they concern.
void CheckPictures(const EventTable& table, const PictureTable& pictures,
                   std::vector<Problem>& found);

// text-off-screen, text-outside-rect and no-text-rect.
void CheckLyrics(const EventTable& table, std::vector<Problem>& found);

// past-song-end, fade-overlap, same-time and no-fade-out.
void CheckTiming(const EventTable& table, const PictureTable& pictures,
                 std::optional<int32_t> songLength, std::vector<Problem>& found);

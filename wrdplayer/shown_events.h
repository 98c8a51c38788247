#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "wrd/vnl_reader.h"

// A moment at which a VNL stream shows a page (an event of the show) and the moment its screen
// has settled: the end of the palette fades that start at that tick after the page is shown,
// or the tick itself when none does.
struct ShownEvent {
  int64_t tick = 0;
  int64_t settledTick = 0;
  friend bool operator==(const ShownEvent&, const ShownEvent&) = default;
};

// The shown events of a whole file's records (as ReadVnlRecords gives them), by tick, one per
// tick. Only the timed records count (those after the Data block's last Start record).
std::vector<ShownEvent> FindShownEvents(std::span<const VnlRecordView> records);

// The settled tick of the event at `tick` among `events` (sorted by tick); `tick` itself when
// no event stands there.
int64_t SettledTickAt(const std::vector<ShownEvent>& events, int64_t tick);

// The earliest tick at which the screens of two streams (whole files' records) may differ: the
// tick of the first timed record in which they differ (its command or its tick), or of the
// first record one has beyond the other; INT64_MAX when their timed records are the same. The
// records before the timed ones (the pictures loaded) must be the same in both.
int64_t FirstDifferentTick(std::span<const VnlRecordView> before,
                           std::span<const VnlRecordView> after);

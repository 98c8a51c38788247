#include "wrdplayer/shown_events.h"

#include <algorithm>
#include <limits>

#include "wrd/opcodes.h"

namespace {

// The timed records of a file: after the Data block's last Start, without its end record.
std::span<const VnlRecordView> TimedRecords(std::span<const VnlRecordView> records) {
  size_t first = records.size();
  for (size_t i = 0; i < records.size(); ++i) {
    if (records[i].block != 1) continue;
    if (first == records.size()) first = i;
    if (records[i].opcode == wrd_opcode::kStart) first = i + 1;
  }
  size_t end = records.size();
  if (end > first && records[end - 1].opcode == wrd_opcode::kEnd) --end;
  return records.subspan(first, end - first);
}

// A palette blend's two source palettes and the second one's weight (out of 100).
bool SameSources(const VnlRecordView& a, const VnlRecordView& b) {
  return std::equal(a.payload.begin(), a.payload.begin() + 4, b.payload.begin());
}
bool IsBlend(const VnlRecordView& record) {
  return record.opcode == wrd_opcode::kBlendPalette && record.payload.size() == 14;
}
int SecondWeight(const VnlRecordView& record) { return record.payload[13]; }

// The tick at which the fade whose first step is timed[start] has reached its second palette
// wholly: its last step of the same two palettes, before the next page is shown.
int64_t FadeEnd(std::span<const VnlRecordView> timed, size_t start) {
  int64_t end = timed[start].tick;
  for (size_t i = start; i < timed.size(); ++i) {
    const VnlRecordView& record = timed[i];
    if (i > start && record.opcode == wrd_opcode::kDisplayPage) break;
    if (!IsBlend(record) || !SameSources(record, timed[start])) continue;
    end = record.tick;
    if (SecondWeight(record) >= 100) break;
  }
  return end;
}

}  // namespace

std::vector<ShownEvent> FindShownEvents(std::span<const VnlRecordView> records) {
  const std::span<const VnlRecordView> timed = TimedRecords(records);
  std::vector<ShownEvent> events;
  for (size_t i = 0; i < timed.size(); ++i) {
    if (timed[i].opcode != wrd_opcode::kDisplayPage) continue;
    const int64_t tick = timed[i].tick;
    // The fades that start after the last page shown at this tick.
    size_t last = i;
    while (last + 1 < timed.size() && timed[last + 1].tick == tick) ++last;
    while (timed[last].opcode != wrd_opcode::kDisplayPage) --last;
    int64_t settled = tick;
    for (size_t j = last + 1; j < timed.size() && timed[j].tick == tick; ++j) {
      if (IsBlend(timed[j])) settled = std::max(settled, FadeEnd(timed, j));
    }
    events.push_back({tick, settled});
    i = last;
    while (i + 1 < timed.size() && timed[i + 1].tick == tick) ++i;
  }
  return events;
}

int64_t SettledTickAt(const std::vector<ShownEvent>& events, int64_t tick) {
  auto found = std::lower_bound(events.begin(), events.end(), tick,
                                [](const ShownEvent& e, int64_t t) { return e.tick < t; });
  return found != events.end() && found->tick == tick ? found->settledTick : tick;
}

int64_t FirstDifferentTick(std::span<const VnlRecordView> before,
                           std::span<const VnlRecordView> after) {
  const std::span<const VnlRecordView> a = TimedRecords(before), b = TimedRecords(after);
  const auto same = [](const VnlRecordView& x, const VnlRecordView& y) {
    return x.tick == y.tick && x.opcode == y.opcode && std::ranges::equal(x.payload, y.payload);
  };
  const auto [inA, inB] = std::mismatch(a.begin(), a.end(), b.begin(), b.end(), same);
  int64_t tick = std::numeric_limits<int64_t>::max();
  if (inA != a.end()) tick = inA->tick;
  if (inB != b.end()) tick = std::min<int64_t>(tick, inB->tick);
  return tick;
}

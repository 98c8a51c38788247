#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "document/event_table.h"
#include "lyrics/lyric_page.h"
#include "song/tempo_map.h"

// How early a page shows before its first syllable is sung, in sixteenth notes.
inline constexpr int kDefaultLead = 4;
inline constexpr int kMaxLead = 32;
// The longest Mark an imported page gets, in bytes.
inline constexpr size_t kPageMarkBytes = 8;

// The layout of a new event where no event gives one (DefaultEventLayout).
EventItem DefaultLyricLayout();

// The event that shows a page at `count`: the layout (Picture, Naraberu, Effect, rectangle,
// Align, Color) of `layout`; Lyrics the page's lines joined by CR LF, each line too wide for the
// rectangle cut by BreakLyricLine; Mark its first characters, at most kPageMarkBytes bytes.
EventItem EventForPage(const LyricPage& page, int32_t count, const EventItem& layout);

// The time of a timed page's event: its first syllable's sixteenth (the nearest) less `lead`
// (clamped to 0 .. kMaxLead), never before 0 or `previous` (the previous page's event), and
// after it where the syllable allows, so that no page hides another.
int32_t PageCount(const TempoMap& tempo, int64_t tick, int lead, int32_t previous);

// The events of timed pages in order, at most `room` of them.
struct PageEvents {
  std::vector<EventItem> events;
  size_t left_out = 0;  // pages that did not fit
};
PageEvents EventsFromPages(const std::vector<LyricPage>& pages, const TempoMap& tempo, int lead,
                           const EventItem& layout, size_t room = EventTable::kCapacity);

#include "showmodel/storyboard_model.h"

#include <algorithm>
#include <numeric>
#include <unordered_map>

StoryboardModel::StoryboardModel(std::shared_ptr<PictureCache> cache) : show_(std::move(cache)) {}

StoryboardModel::~StoryboardModel() = default;

void StoryboardModel::SetSong(const Meter& meter, int64_t division) {
  meter_ = meter;
  division_ = std::max<int64_t>(division, 1);
  for (Slot& slot : slots_) slot.entry.time = TimeText(slot.entry.tick);
}

std::string StoryboardModel::TimeText(int64_t tick) const {
  // The show's ticks are 48 to a quarter note.
  const Meter::Beat beat = meter_.At(tick * division_ / 48);
  return std::to_string(beat.bar) + ":" + std::to_string(beat.beat);
}

StoryboardModel::Corner StoryboardModel::CornerOf(int event) const {
  Corner corner = Corner::kNone;
  for (const Problem& problem : problems_) {
    if (problem.Event != event + 1) continue;
    if (problem.Level == Problem::Severity::kError) return Corner::kError;
    corner = Corner::kWarning;
  }
  return corner;
}

bool StoryboardModel::Update(const EventTable& table) {
  if (!show_.Update(table)) return false;
  // A tile stays when its screen comes before everything the edit changed.
  const int64_t changedFrom = show_.ChangedFrom();
  std::unordered_map<int64_t, const Slot*> kept;
  for (const Slot& slot : slots_) {
    if (!slot.stale && slot.entry.settledTick < changedFrom) kept[slot.entry.settledTick] = &slot;
  }
  const int count = std::clamp(table.EventCount, 0, EventTable::kCapacity);
  std::vector<int> order(static_cast<size_t>(count));
  std::iota(order.begin(), order.end(), 0);
  std::stable_sort(order.begin(), order.end(), [&table](int a, int b) {
    return EventTick(table.events[a]) < EventTick(table.events[b]);
  });
  std::vector<Slot> slots(order.size());
  // The slots of the last update by the screen they show, so that a changed screen can be told
  // from an unchanged one when it is computed again.
  std::unordered_map<int64_t, const Slot*> previous;
  for (const Slot& slot : slots_) {
    if (slot.tile != nullptr) previous[slot.entry.settledTick] = &slot;
  }
  for (size_t i = 0; i < order.size(); ++i) {
    const EventItem& item = table.events[order[i]];
    Entry& entry = slots[i].entry;
    entry.event = order[i];
    entry.tick = EventTick(item);
    entry.settledTick = SettledTickAt(show_.ShownEvents(), entry.tick);
    entry.time = TimeText(entry.tick);
    entry.mark = item.Mark;
    entry.corner = CornerOf(entry.event);
    if (auto found = kept.find(entry.settledTick); found != kept.end()) {
      slots[i].tile = found->second->tile;
      slots[i].digest = found->second->digest;
      slots[i].stale = false;
    } else if (auto shown = previous.find(entry.settledTick); shown != previous.end()) {
      // Compared with the new screen when computed.
      slots[i].tile = shown->second->tile;
      slots[i].digest = shown->second->digest;
    }
  }
  slots_ = std::move(slots);
  return true;
}

void StoryboardModel::SetProblems(const std::vector<Problem>& problems) {
  problems_ = problems;
  for (Slot& slot : slots_) slot.entry.corner = CornerOf(slot.entry.event);
}

std::shared_ptr<const ScreenTile> StoryboardModel::Tile(int index) {
  Slot& slot = slots_[size_t(index)];
  if (!slot.stale) return slot.tile;
  const Screen& screen = show_.ScreenAt(slot.entry.settledTick);
  const uint64_t digest = ScreenDigest(screen);
  if (slot.tile == nullptr || slot.digest != digest) {
    slot.tile = std::make_shared<const ScreenTile>(TileOf(screen));
    slot.digest = digest;
  }
  slot.stale = false;
  // Events of one tick settle on one screen.
  for (Slot& other : slots_) {
    if (other.stale && other.entry.settledTick == slot.entry.settledTick) {
      other.tile = slot.tile;
      other.digest = slot.digest;
      other.stale = false;
    }
  }
  return slot.tile;
}

int StoryboardModel::IndexOfEvent(int event) const {
  for (size_t i = 0; i < slots_.size(); ++i) {
    if (slots_[i].entry.event == event) return int(i);
  }
  return -1;
}

std::vector<SheetEntry> StoryboardModel::SheetEntries() {
  std::vector<SheetEntry> entries;
  for (int i = 0; i < Count(); ++i) entries.push_back({*Tile(i), std::to_string(At(i).tick)});
  return entries;
}

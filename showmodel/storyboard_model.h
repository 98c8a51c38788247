#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "checks/problem.h"
#include "document/event_table.h"
#include "make/picture_cache.h"
#include "showmodel/show_model.h"
#include "song/meter.h"
#include "wrdplayer/contact_sheet.h"
#include "wrdplayer/screen_tile.h"

// The storyboard of a document: one tile per live event in time order (the table's order among
// events of one tick), each the screen the show has settled on after the event (its fade-in
// done), with the event's time as "bar:beat", its mark and the worst problem the checks found
// for it. The document is built and played as the show window does, from the same picture
// cache. A tile is computed when first asked for; after an edit only tiles whose screen may
// have changed are computed again.
class StoryboardModel {
 public:
  enum class Corner { kNone, kWarning, kError };
  struct Entry {
    int event = 0;  // the event in table order, from 0
    int64_t tick = 0;
    int64_t settledTick = 0;
    std::string time;  // "bar:beat"
    std::string mark;  // CP932
    Corner corner = Corner::kNone;
    friend bool operator==(const Entry&, const Entry&) = default;
  };

  explicit StoryboardModel(std::shared_ptr<PictureCache> cache = std::make_shared<PictureCache>());
  ~StoryboardModel();

  // The song's bars and beats; `division` is its MIDI ticks per quarter note. Until set: 4/4.
  void SetSong(const Meter& meter, int64_t division);
  // Takes the document as it stands, saved or not. Returns whether any entry or tile may have
  // changed (false for a document that builds as the last one did). Never throws for a
  // document: one the build or the player refuses shows black tiles.
  bool Update(const EventTable& table);
  // The corners, from what the checks found in the document last taken.
  void SetProblems(const std::vector<Problem>& problems);

  int Count() const { return int(slots_.size()); }
  const Entry& At(int index) const { return slots_[size_t(index)].entry; }
  // Whether the tile at `index` will be computed when next asked for.
  bool IsStale(int index) const { return slots_[size_t(index)].stale; }
  // The tile at `index`, computed now when stale. A tile whose screen did not change is the
  // same object as before, so a view draws again only tiles that are new objects.
  std::shared_ptr<const ScreenTile> Tile(int index);
  // Where the event (table order, from 0) stands in the storyboard; -1 when it is not live.
  int IndexOfEvent(int event) const;
  // Every tile with its tick under it, for ComposeContactSheet.
  std::vector<SheetEntry> SheetEntries();

 private:
  struct Slot {
    Entry entry;
    std::shared_ptr<const ScreenTile> tile;  // null until first computed
    uint64_t digest = 0;                     // of the screen the tile was made from
    bool stale = true;
  };
  std::string TimeText(int64_t tick) const;
  Corner CornerOf(int event) const;

  ShowModel show_;
  Meter meter_;
  int64_t division_ = 96;
  std::vector<Slot> slots_;
  std::vector<Problem> problems_;
};

#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "document/event_table.h"
#include "make/picture_cache.h"
#include "wrdplayer/picture_source.h"
#include "wrdplayer/screen.h"
#include "wrdplayer/shown_events.h"

class ShowPlayer;

// The screen a document shows at any tick, as the player will show it: the document is built in
// memory (pictures through the cache) and played. A new document is built again only when it
// differs from the last one in what the build reads.
class ShowModel {
 public:
  explicit ShowModel(std::shared_ptr<PictureCache> cache = std::make_shared<PictureCache>());
  ~ShowModel();

  // Takes the document as it stands. True when it was built again. Never throws for a
  // document: a build the writer or the player refuses shows black, and RefusalAt says why.
  bool Update(const EventTable& table);
  // The screen after every command at or before `tick` (black before the first Update). The
  // reference stays valid until the next call.
  const Screen& ScreenAt(int64_t tick);
  // Why the picture the screen shows at `tick` is refused by the build (UTF-8: the two lines
  // Make logs, see RefusalText), or why the document could not be played; empty when it is not.
  std::string RefusalAt(int64_t tick) const;
  // Every refused picture of the last build, in the order the build numbers them (RefusalText
  // each), or why the document could not be played; empty when the show is what it describes.
  std::vector<std::string> Refusals() const;
  // How often the document was built.
  int Builds() const { return builds_; }
  // The earliest tick whose screen the last Update may have changed (INT64_MAX when it changed
  // none): whoever keeps screens of earlier ticks may keep them.
  int64_t ChangedFrom() const { return changedFrom_; }
  // The moments the build shows a page and when each has settled (its fade-in done), by tick.
  const std::vector<ShownEvent>& ShownEvents() const { return shownEvents_; }

 private:
  void Play(const EventTable& table);

  std::shared_ptr<PictureCache> cache_;
  std::unique_ptr<EventTable> built_;
  std::unique_ptr<ShowPlayer> player_;
  std::vector<uint8_t> vnl_;  // what player_ plays
  std::vector<std::shared_ptr<const DecodedPicture>> pictures_;
  std::vector<std::shared_ptr<const IndexedPicture>> shown_;  // pictures_ as the player has them
  std::vector<std::string> refusals_;  // by picture number of the last build; empty: usable
  Screen black_;
  std::string error_;
  int builds_ = 0;
  int64_t changedFrom_ = 0;
  std::vector<ShownEvent> shownEvents_;
};

// The text of a refused picture (UTF-8): the error line and the reason line Make logs for it
// (the reason names the picture's file).
std::string RefusalText(const std::string& reason);

// The tick at which the build places an event (events it cannot place go to tick 0).
int64_t EventTick(const EventItem& item);

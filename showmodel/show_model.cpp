#include "showmodel/show_model.h"

#include <algorithm>
#include <limits>

#include "document/names.h"
#include "make/build_show.h"
#include "make/build_texts.h"
#include "make/command_generator.h"
#include "showmodel/build_picture_source.h"
#include "text/cp932.h"
#include "wrdplayer/memory_budget.h"
#include "wrdplayer/show_player.h"

namespace {

// Whether two documents build the same: the build reads the live events and the song folder.
bool SameBuild(const EventTable& a, const EventTable& b) {
  if (a.EventCount != b.EventCount || a.MidiFolder != b.MidiFolder) return false;
  const int count = std::clamp(a.EventCount, 0, EventTable::kCapacity);
  return std::equal(a.events.begin(), a.events.begin() + count, b.events.begin());
}

}  // namespace

int64_t EventTick(const EventItem& item) {
  const int64_t tick = int64_t{item.Count} * 12;
  const bool placeable =
      tick >= 0 && tick + CommandGenerator::kFadeTicks < CommandGenerator::kTickLimit;
  return placeable ? tick : 0;
}

ShowModel::ShowModel(std::shared_ptr<PictureCache> cache) : cache_(std::move(cache)) {}

ShowModel::~ShowModel() = default;

bool ShowModel::Update(const EventTable& table) {
  changedFrom_ = std::numeric_limits<int64_t>::max();
  if (built_ != nullptr && SameBuild(*built_, table)) return false;
  if (built_ == nullptr) built_ = std::make_unique<EventTable>();
  *built_ = table;
  ++builds_;
  error_.clear();
  try {
    Play(table);
  } catch (const std::exception& error) {
    // The writer or the player refused what the build made: nothing to show until an edit.
    player_.reset();
    vnl_.clear();
    pictures_.clear();
    shown_.clear();
    refusals_.clear();
    shownEvents_.clear();
    changedFrom_ = 0;
    error_ = error.what();
  }
  return true;
}

void ShowModel::Play(const EventTable& table) {
  ShowBuild build = BuildShow(table, *cache_, kPlayerMemoryBudget);
  refusals_.clear();
  for (const auto& picture : build.Pictures) {
    refusals_.push_back(picture->Usable ? std::string() : picture->Reason);
  }
  // An edit the stream does not show (a mark, a picture's name in other letter case) keeps
  // the player and its snapshots.
  if (player_ != nullptr && build.Vnl == vnl_ && build.Pictures == pictures_) return;
  // With the same pictures the new player takes over what the old one computed before the
  // first command the edit changed.
  const bool samePictures = player_ != nullptr && build.Pictures == pictures_;
  const std::vector<VnlRecordView> records = ReadVnlRecords(build.Vnl);
  changedFrom_ = samePictures ? FirstDifferentTick(ReadVnlRecords(vnl_), records) : 0;
  shownEvents_ = FindShownEvents(records);
  vnl_ = build.Vnl;
  // Each picture is turned into the player's once, while the builds keep using it.
  std::vector<std::shared_ptr<const IndexedPicture>> shown;
  for (const auto& picture : build.Pictures) {
    auto known = std::find(pictures_.begin(), pictures_.end(), picture);
    shown.push_back(known != pictures_.end() ? shown_[size_t(known - pictures_.begin())]
                                             : ToIndexedPicture(*picture));
  }
  pictures_ = build.Pictures;
  shown_ = shown;
  auto source = std::make_unique<BuildPictureSource>(std::move(shown));
  player_ = samePictures
                ? std::make_unique<ShowPlayer>(std::move(build.Vnl), std::move(source), *player_)
                : std::make_unique<ShowPlayer>(std::move(build.Vnl), std::move(source));
}

const Screen& ShowModel::ScreenAt(int64_t tick) {
  return player_ != nullptr ? player_->ScreenAt(tick) : black_;
}

std::string ShowModel::RefusalAt(int64_t tick) const {
  if (!error_.empty()) return error_;
  if (built_ == nullptr) return {};
  // The picture shown is the one of the latest event with a picture at or before the tick
  // (the later in the table among events of one tick).
  const EventItem* shown = nullptr;
  int64_t shownTick = -1;
  const int count = std::clamp(built_->EventCount, 0, EventTable::kCapacity);
  for (int e = 0; e < count; ++e) {
    const EventItem& item = built_->events[e];
    const int64_t at = EventTick(item);
    if (item.Picture.empty() || at > tick || at < shownTick) continue;
    shown = &item;
    shownTick = at;
  }
  if (shown == nullptr) return {};
  // The build numbers pictures in the order of their first use, as the cache saw them.
  std::vector<std::string> keys;
  for (int e = 0; e < count; ++e) {
    const std::string& text = built_->events[e].Picture;
    if (text.empty()) continue;
    const std::string key = NameKey(ResolvePicturePath(*built_, text));
    if (std::find(keys.begin(), keys.end(), key) == keys.end()) keys.push_back(key);
  }
  const std::string wanted = NameKey(ResolvePicturePath(*built_, shown->Picture));
  const size_t number =
      static_cast<size_t>(std::find(keys.begin(), keys.end(), wanted) - keys.begin());
  if (number >= refusals_.size() || refusals_[number].empty()) return {};
  return RefusalText(refusals_[number]);
}

std::vector<std::string> ShowModel::Refusals() const {
  if (!error_.empty()) return {error_};
  std::vector<std::string> refusals;
  for (const std::string& reason : refusals_) {
    if (!reason.empty()) refusals.push_back(RefusalText(reason));
  }
  return refusals;
}

std::string RefusalText(const std::string& reason) {
  return Cp932ToUtf8(std::string(build_texts::kLogBadBmp)) + "\n" +
         Cp932ToUtf8(std::string(build_texts::kLogReason)) + reason;
}

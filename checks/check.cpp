#include "checks/check.h"

#include <algorithm>

#include "checks/check_parts.h"
#include "make/build_log.h"
#include "make/parallel_collection.h"

std::vector<Problem> Check(const EventTable& table, const PictureTable& pictures,
                           std::optional<int32_t> songLength) {
  std::vector<Problem> found;
  CheckPictures(table, pictures, found);
  CheckLyrics(table, found);
  CheckTiming(table, pictures, songLength, found);
  std::stable_sort(found.begin(), found.end(),
                   [](const Problem& a, const Problem& b) { return a.Event < b.Event; });
  return found;
}

std::vector<Problem> Check(const EventTable& table, std::optional<int32_t> songLength) {
  SilentLog log;
  const CollectionResult collection = CollectPicturesInParallel(table, log, false, 0);
  return Check(table, collection.Pictures, songLength);
}

#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "document/event_table.h"
#include "make/picture_cache.h"

// A build held in memory for whoever shows it: the VNL bytes Make would write for the table
// and, by page (the picture number of each LoadPicture), the picture it was made from.
struct ShowBuild {
  std::vector<uint8_t> Vnl;
  std::vector<std::shared_ptr<const DecodedPicture>> Pictures;
};

// Builds the table as Make does, writing no file and converting no picture: the pictures come
// from the cache, so a build after an edit only generates the commands again. Logs nothing.
// Throws what the writer throws when it refuses a command (it never should).
//
// `memoryBudget` is what the player that shows the build may give its pages and palettes: the
// pictures are counted against it in the order the player loads them, after what the set-up
// takes, and one that would not fit is refused (unusable, TooLarge) without its pixels being
// read, so that the show's pictures never take more memory than the player may. The cache
// keeps only the pictures of this build.
ShowBuild BuildShow(const EventTable& table, PictureCache& cache,
                    uint64_t memoryBudget = UINT64_MAX);

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
ShowBuild BuildShow(const EventTable& table, PictureCache& cache);

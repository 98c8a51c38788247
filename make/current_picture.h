#pragma once

#include <string>
#include <unordered_map>

#include "document/event_table.h"
#include "make/picture_table.h"

// Which picture the events show, taken in table order. An event with a Picture text shows the
// first picture of the table with the same file name (ASCII letters without regard to case), or
// none when that one failed to load; an event without a Picture text keeps the picture of the
// event before it, none at first. None is the number of pictures.
class CurrentPicture {
 public:
  explicit CurrentPicture(const PictureTable& pictures);

  // The picture `item`, the next event in table order, shows.
  int Next(const EventItem& item);
  int None() const { return none_; }

 private:
  const PictureTable& pictures_;
  std::unordered_map<std::string, int> byName_;  // NameKey of the file name -> first picture
  int none_;
  int cur_;
};

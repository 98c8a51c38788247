#include "make/current_picture.h"

#include "document/names.h"

CurrentPicture::CurrentPicture(const PictureTable& pictures)
    : pictures_(pictures), none_(static_cast<int>(pictures.size())), cur_(none_) {
  for (size_t j = 0; j < pictures_.size(); ++j) {
    byName_.emplace(NameKey(FileNamePart(pictures_[j].Path)), static_cast<int>(j));
  }
}

int CurrentPicture::Next(const EventItem& item) {
  if (item.Picture.empty()) return cur_;
  const auto found = byName_.find(NameKey(FileNamePart(item.Picture)));
  cur_ = found != byName_.end() ? found->second : none_;
  // A picture that failed to load is no current picture; its LoadPicture stays.
  if (cur_ != none_ && pictures_[cur_].LoadFailed != 0) cur_ = none_;
  return cur_;
}

#pragma once

#include <stdexcept>

#include "errors/error.h"

// A video that cannot be made; what() says why, in Japanese (UTF-8), for the user.
class VideoError : public VwrdError {
 public:
  using VwrdError::VwrdError;
};

// The export was cancelled by the caller; nothing was written.
class VideoCancelled : public VideoError {
 public:
  VideoCancelled() : VideoError("動画の書き出しを取り消しました") {}
};

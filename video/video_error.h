#pragma once

#include <stdexcept>

// A video that cannot be made; what() says why, in Japanese (UTF-8), for the user.
class VideoError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The export was cancelled by the caller; nothing was written.
class VideoCancelled : public VideoError {
 public:
  VideoCancelled() : VideoError("動画の書き出しを取り消しました") {}
};

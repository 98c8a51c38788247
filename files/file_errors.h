#pragma once

#include <stdexcept>
#include <string>

// Thrown when a file cannot be read; the message (Japanese, UTF-8) names the path and the reason.
class FileReadError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Thrown when an output file cannot be written; the message (Japanese, UTF-8) names the path and
// the reason. The file at the path is then as it was.
class FileWriteError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The reason of a failed system call in Japanese (UTF-8), for the messages above.
std::string ErrnoText(int error);

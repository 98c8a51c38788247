#pragma once

#include <stdexcept>
#include <string>

#include "errors/error.h"

// Thrown when a file cannot be read; the message (Japanese, UTF-8) names the path and the reason.
class FileReadError : public VwrdError {
 public:
  using VwrdError::VwrdError;
};

// Thrown when an output file cannot be written; the message (Japanese, UTF-8) names the path and
// the reason. The file at the path is then as it was.
class FileWriteError : public VwrdError {
 public:
  using VwrdError::VwrdError;
};

// Thrown when an output is a symbolic link that may not be written through (see
// FileReplacement::Links); the message says where it leads.
class LinkRefusedError : public FileWriteError {
 public:
  using FileWriteError::FileWriteError;
};

// The reason of a failed system call in Japanese (UTF-8), for the messages above.
std::string ErrnoText(int error);

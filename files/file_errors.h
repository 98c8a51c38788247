#pragma once

#include <stdexcept>
#include <string>

#include "errors/error.h"

// Thrown when a file cannot be read; the message (Japanese, UTF-8) names the path and the reason.
// SystemReason() is the errno value behind it, where there is one (EISDIR for a folder).
class FileReadError : public VwrdError {
 public:
  using VwrdError::VwrdError;
  // The message "<path>: <reason>", the reason kept apart for callers that name the file their
  // own way (or not at all).
  FileReadError(const std::string& path, const std::string& reason, int system_reason = 0)
      : VwrdError(path + ": " + reason), reason_(reason) {
    WithSystemReason(system_reason);
  }

  // The reason without the path; the whole message when none was given apart.
  std::string Reason() const { return reason_.empty() ? what() : reason_; }

 private:
  std::string reason_;
};

// Thrown when an output file cannot be written; the message (Japanese, UTF-8) names the path and
// the reason. The file at the path is then as it was. SystemReason() is the errno value behind
// it, where there is one.
class FileWriteError : public VwrdError {
 public:
  using VwrdError::VwrdError;
  FileWriteError(const std::string& message, int system_reason) : VwrdError(message) {
    WithSystemReason(system_reason);
  }
};

// Thrown when an output is a symbolic link that may not be written through (see
// FileReplacement::Links); the message says where it leads.
class LinkRefusedError : public FileWriteError {
 public:
  using FileWriteError::FileWriteError;
};

// The reason of a failed system call in Japanese (UTF-8), for the messages above.
std::string ErrnoText(int error);

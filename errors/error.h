#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

// The root of every error the core reports. what() is the message for the user (Japanese,
// UTF-8); where they apply, the error also carries the system's reason (an errno value), the
// byte offset in the file that was read and the event (a table index). A window catches this at
// its handler and shows what() in the error box; a tool prints it. Nobody learns of an error by
// matching its text.
class VwrdError : public std::runtime_error {
 public:
  static constexpr int kNoEvent = -1;
  static constexpr uint64_t kNoOffset = UINT64_MAX;

  explicit VwrdError(const std::string& message) : std::runtime_error(message) {}

  int SystemReason() const { return system_reason_; }  // 0: none
  uint64_t Offset() const { return offset_; }          // kNoOffset: none
  int Event() const { return event_; }                 // kNoEvent: none

  VwrdError& WithSystemReason(int error) {
    system_reason_ = error;
    return *this;
  }
  VwrdError& WithOffset(uint64_t offset) {
    offset_ = offset;
    return *this;
  }
  VwrdError& WithEvent(int event) {
    event_ = event;
    return *this;
  }

 private:
  int system_reason_ = 0;
  uint64_t offset_ = kNoOffset;
  int event_ = kNoEvent;
};

#include "build/system_reason.h"

#include <cstring>

#include "app/document/cp932.h"

namespace {

// （理由:
constexpr char kReasonOpen[] = "\x81\x69\x97\x9D\x97\x52: ";
// ）
constexpr char kReasonClose[] = "\x81\x6A";
// （理由は不明）
constexpr char kNoReason[] = "\x81\x69\x97\x9D\x97\x52\x82\xCD\x95\x73\x96\xBE\x81\x6A";

}  // namespace

std::string SystemReason(int error) {
  if (error == 0) return kNoReason;
  char buffer[256];
  // The GNU strerror_r: the text may lie in the buffer or elsewhere; it is in the locale's
  // language, which is UTF-8 under the windows.
  const char* text = strerror_r(error, buffer, sizeof buffer);
  return kReasonOpen + Utf8ToCp932(text) + kReasonClose;
}

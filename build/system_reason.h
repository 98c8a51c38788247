#pragma once

#include <string>

// The system's reason for a failed file operation (an errno value) as a CP932 text to append to
// a log line: "（理由: " + the system's text + "）", or "（理由は不明）" for 0. Safe on any thread.
std::string SystemReason(int error);

#pragma once

#include <cstdint>
#include <string>

// What vnl-render was asked to do.
struct RenderArguments {
  bool help = false;
  std::string vnl;  // the VNL file: as typed, or the one beside the song or project typed
  bool sheet = false;
  int64_t tick = 0;
  int columns = 4;
  std::string output;
  std::string error;  // the first fault of the command line (UTF-8), naming the argument
};

constexpr int kMaxSheetColumns = 64;

// Reads the arguments in any order. A song (.mid) or project (.vwm), in any letter case, stands
// for the VNL file Make writes beside it.
RenderArguments ParseRenderArguments(int argc, const char* const* argv);

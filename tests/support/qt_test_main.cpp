// Test main for the window tests: the program's own application object, offscreen.
#include <gtest/gtest.h>

#include <cstdlib>

#include "app/application.h"

int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  // Recovery copies that the windows make stay in the build tree, never in the user's state.
  setenv("XDG_STATE_HOME", VWRD_BINARY_DIR "/test-state", 1);
  Application app(argc, argv);
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}

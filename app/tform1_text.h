#pragma once

// The CP932 crossing of the main window's files. It is reached through this header because
// CMake's AUTOUIC takes every included "ui_*.h" for a form header of its own.
#include "app/ui_text.h"  // IWYU pragma: export

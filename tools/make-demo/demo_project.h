#pragma once

#include <string>

// The bytes of the demo's project file (demo.vwm): five events at bar starts of the demo song,
// each with one of the demo pictures and a lyric line, in CP932.
std::string DemoProjectBytes();

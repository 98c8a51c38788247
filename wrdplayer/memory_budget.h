#pragma once

#include <cstddef>

// The memory a player may give its pages and palettes, one byte a pixel and 768 bytes a
// palette. Every player keeps it: the show window, the storyboard, the video and vnl-render;
// what shows a build in memory hands it to the build too (BuildShow), so that a picture beyond
// it is refused, with the reason, before its pixels are read.
inline constexpr size_t kPlayerMemoryBudget = size_t{256} << 20;

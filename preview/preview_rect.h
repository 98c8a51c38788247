#pragma once

// A rectangle of the preview as the user and the main window give it: two corners, in any
// order. It spans x1 .. x2 - 1 and y1 .. y2 - 1 when the corners are in order.
struct PreviewRect {
  int x1 = 0;
  int y1 = 0;
  int x2 = 0;
  int y2 = 0;

  bool operator==(const PreviewRect&) const = default;
};

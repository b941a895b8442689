#pragma once
// Placing a window at a fraction of its parent (or of the screen): pure arithmetic,
// shared by the pages and the billboards.

struct WindowOrigin {
  int x = 0;
  int y = 0;
};

// The window's position along one axis, relative to the parent's start: its centre
// at parentLength * numerator / denominator, then moved back so that it ends at the
// parent's end, then moved to 0 if that left it before the start. When the window
// is longer than the parent the second limit wins: the window starts at 0 and
// reaches past the end, so its start (title bar, top-left controls) stays visible.
// Throws std::invalid_argument for a zero denominator.
int PlaceAlongAxis(int parentLength, int windowLength, int numerator, int denominator);

// x from a / b of the width, y from c / d of the height.
WindowOrigin PlaceAtFraction(int parentWidth, int parentHeight, int windowWidth, int windowHeight,
                             int a, int b, int c, int d);

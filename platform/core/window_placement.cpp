#include "platform/core/window_placement.h"

#include <algorithm>
#include <cstdint>
#include <stdexcept>

int PlaceAlongAxis(int parentLength, int windowLength, int numerator, int denominator) {
  if (denominator == 0) throw std::invalid_argument("window placement with a zero denominator");
  // 64-bit so that a large parent times a numerator cannot overflow.
  int64_t position = int64_t{parentLength} * numerator / denominator - windowLength / 2;
  position = std::min<int64_t>(position, int64_t{parentLength} - windowLength);
  position = std::max<int64_t>(position, 0);
  return static_cast<int>(position);
}

WindowOrigin PlaceAtFraction(int parentWidth, int parentHeight, int windowWidth, int windowHeight,
                             int a, int b, int c, int d) {
  return {PlaceAlongAxis(parentWidth, windowWidth, a, b),
          PlaceAlongAxis(parentHeight, windowHeight, c, d)};
}

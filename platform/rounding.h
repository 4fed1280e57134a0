#pragma once

#include <cmath>
#include <limits>

// Rounds to the nearest integer, halves to the even neighbour (nearest(2.5) == 2).
// Values that no int can hold, NaN included, saturate instead of being undefined.
inline int nearest(double v) {
  if (std::isnan(v)) return 0;
  const double r = std::nearbyint(v);
  if (r >= static_cast<double>(std::numeric_limits<int>::max())) return std::numeric_limits<int>::max();
  if (r <= static_cast<double>(std::numeric_limits<int>::min())) return std::numeric_limits<int>::min();
  return static_cast<int>(r);
}

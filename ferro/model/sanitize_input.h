// Guard for samples entering the amplifier model from the host. The model's
// filters and valve stages are recursive: one NaN or infinity would stay in
// their states for ever. A non-finite sample becomes silence. Finite samples
// are limited to +-1e6 V: far beyond anything a host sends (full scale is
// 1.0), and low enough that the oversampling gain (x4) and the halfband
// filters cannot overflow to infinity. Everything after the first valve stage
// is bounded by its plate-current curve.
#pragma once

#include <cmath>

namespace Ostra {

inline constexpr double kInputLimit = 1e6;  // volts

inline double SanitizeInput(double x) noexcept {
  if (!std::isfinite(x)) return 0.0;
  if (x > kInputLimit) return kInputLimit;
  if (x < -kInputLimit) return -kInputLimit;
  return x;
}

}  // namespace Ostra

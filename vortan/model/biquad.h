// Second-order section in direct form I with an overall gain factor, the
// building block of every fixed filter of the channel chains and of the
// output DC blocker. Coefficients come from biquad_design.h.
#pragma once

namespace vortan {

struct Biquad {
  // Coefficients: H(z) = norm (b0 + b1 z^-1 + b2 z^-2) / (1 + a1 z^-1 + a2 z^-2).
  double norm = 1.0;
  double a1 = 0.0;
  double a2 = 0.0;
  double b0 = 1.0;
  double b1 = 0.0;
  double b2 = 0.0;
  // Memories: the last two inputs and outputs.
  double x1 = 0.0;
  double x2 = 0.0;
  double y1 = 0.0;
  double y2 = 0.0;
  // Design values kept beside the coefficients: the prewarped frequency t,
  // t squared, the gain (shelves) and the corner frequency in Hz.
  double t = 0.0;
  double t2 = 0.0;
  double gain = 0.0;
  double freq = 0.0;

  void clear() noexcept { x1 = x2 = y1 = y2 = 0.0; }

  double run(double x) noexcept {
    const double y = norm * (b0 * x + b1 * x1 + b2 * x2 - a1 * y1 - a2 * y2);
    x2 = x1;
    x1 = x;
    y2 = y1;
    y1 = y;
    return y;
  }
};

}  // namespace vortan

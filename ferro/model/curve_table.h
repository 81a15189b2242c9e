// A transfer curve sampled on a uniform grid, entry 0 at the highest input x0
// and the index growing as the input falls: entry i lies at x0 - i / scale.
// The table itself is not owned (constant data or the owner's storage).
// Lookups clamp outside the grid; all are per-sample steps.
#pragma once

#include <cstdint>

namespace Ostra {

struct CurveTable {
  const double* table = nullptr;
  int32_t N = 0;
  int32_t cubic_low_index = 3;   // returned at and above the cubic upper threshold
  int32_t cubic_high_index = 0;  // N - 4, returned at and below the lower threshold
  double cubic_upper = 0.0;      // x0 - 3 / scale
  double cubic_lower = 0.0;      // xmin + 3 / scale
  double xmax = 0.0;             // = x0
  double xmin = 0.0;
  double x0 = 0.0;
  double scale = 0.0;  // entries per volt, N / (x0 - xmin)

  // Set-up: describe n entries spanning x0 down to (not including) x_min.
  void Init(const double* values, int32_t n, double x_top, double x_min) noexcept {
    table = values;
    N = n;
    cubic_low_index = 3;
    cubic_high_index = n - 4;
    x0 = x_top;
    xmax = x_top;
    xmin = x_min;
    scale = static_cast<double>(n) / (x_top - x_min);
    cubic_upper = x0 - 3.0 / scale;
    cubic_lower = xmin + 3.0 / scale;
  }

  // Straight-line interpolation; the end entries outside [xmin, xmax]. The
  // comparisons are written so that a NaN input takes the first entry instead
  // of reaching the index conversion.
  double LookupLinear(double x) const noexcept {
    if (!(x < xmax)) return table[0];
    if (x <= xmin) return table[N - 1];
    const double p = (x0 - x) * scale;  // > 0 here, so truncation is floor
    const int32_t i = static_cast<int32_t>(p);
    if (i >= N - 1) return table[N - 1];
    const double f = p - i;
    return table[i] + (table[i + 1] - table[i]) * f;
  }

  // The same with a 1e-15 offset on the input (denormal guard).
  double LookupLinearOffset(double x) const noexcept { return LookupLinear(x + 1e-15); }

  // Catmull-Rom through the four entries around x; entries 3 and N - 4
  // outside the thresholds, so the four-point stencil never leaves the table.
  double LookupCubic(double x) const noexcept {
    x = x + 1e-15;
    if (!(x < cubic_upper)) return table[cubic_low_index];  // also NaN
    if (x <= cubic_lower) return table[cubic_high_index];
    const double p = (x0 - x) * scale;
    const int32_t i = static_cast<int32_t>(p);
    const double f = p - i;
    const double ym = table[i - 1];
    const double y0 = table[i];
    const double y1 = table[i + 1];
    const double y2 = table[i + 2];
    const double f2 = f * f;
    const double f3 = f2 * f;
    return (1.5 * y0 - 1.5 * y1 - 0.5 * ym + 0.5 * y2) * f3 +
           (ym - 2.5 * y0 + 2.0 * y1 - 0.5 * y2) * f2 + 0.5 * (y1 - ym) * f + y0;
  }
};

}  // namespace Ostra

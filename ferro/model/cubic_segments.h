// The Catmull-Rom polynomial of CurveTable::LookupCubic between entry i and
// i + 1: its weights depend only on the four entries around i, not on the
// input, so they can be formed once per entry (set-up) instead of at every
// lookup. Each weight is formed exactly as LookupCubic forms it, so a lookup
// through the segments gives the same bits:
//   y = c3 f^3 + c2 f^2 + c1 f + y0.
#pragma once

#include <cstdint>

#include "ferro/model/curve_table.h"

namespace Ostra {

struct CubicSegment {
  double c3 = 0.0;
  double c2 = 0.0;
  double c1 = 0.0;
  double y0 = 0.0;
};

// Set-up: segments[i] for every entry LookupCubic interpolates from (1 to
// N - 3); the others are left as they are. `segments` holds N entries.
inline void BuildCubicSegments(const CurveTable& curve, CubicSegment* segments) noexcept {
  const double* t = curve.table;
  for (int32_t i = 1; i + 2 < curve.N; ++i) {
    const double ym = t[i - 1];
    const double y0 = t[i];
    const double y1 = t[i + 1];
    const double y2 = t[i + 2];
    CubicSegment& s = segments[i];
    s.c3 = 1.5 * y0 - 1.5 * y1 - 0.5 * ym + 0.5 * y2;
    s.c2 = ym - 2.5 * y0 + 2.0 * y1 - 0.5 * y2;
    s.c1 = 0.5 * (y1 - ym);
    s.y0 = y0;
  }
}

// CurveTable::LookupCubic through the curve's segments: the same clamps and
// index, the weights fetched instead of formed. Audio thread.
inline double LookupCubic(const CurveTable& curve, const CubicSegment* segments,
                          double x) noexcept {
  x = x + 1e-15;
  if (!(x < curve.cubic_upper)) return curve.table[curve.cubic_low_index];  // also NaN
  if (x <= curve.cubic_lower) return curve.table[curve.cubic_high_index];
  const double p = (curve.x0 - x) * curve.scale;
  const int32_t i = static_cast<int32_t>(p);
  const double f = p - i;
  const CubicSegment& s = segments[i];
  const double f2 = f * f;
  const double f3 = f2 * f;
  return s.c3 * f3 + s.c2 * f2 + s.c1 * f + s.y0;
}

// The segments of the fixed preamp curves A and B, built once per process on
// the first call (set-up: the engine's construction makes it).
const CubicSegment* CurveASegments() noexcept;
const CubicSegment* CurveBSegments() noexcept;

}  // namespace Ostra

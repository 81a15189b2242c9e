#include "ferro/model/cubic_segments.h"

#include "ferro/model/fixed_curves.h"

namespace Ostra {

namespace {

template <int32_t N>
struct FixedSegments {
  FixedSegments(const double* table, double x0, double xmin) noexcept {
    CurveTable curve;
    curve.Init(table, N, x0, xmin);
    BuildCubicSegments(curve, segments);
  }
  CubicSegment segments[N];
};

}  // namespace

const CubicSegment* CurveASegments() noexcept {
  static const FixedSegments<curves::kCurveASize> a(curves::kCurveA, curves::kCurveAX0,
                                                    curves::kCurveAXmin);
  return a.segments;
}

const CubicSegment* CurveBSegments() noexcept {
  static const FixedSegments<curves::kCurveBSize> b(curves::kCurveB, curves::kCurveBX0,
                                                    curves::kCurveBXmin);
  return b.segments;
}

}  // namespace Ostra

// The curve lookups of two engines at once, lane 0 on the left engine's table
// and lane 1 on the right one's. The arithmetic of CurveTable's lookups runs
// in both lanes together (the same operations in the same order); the table
// entries are fetched per lane; the ends are chosen per lane by masks, with
// the entry CurveTable returns there. A lane that ends up at an end fetches
// from a safe index, and its fetched values are not used. Audio thread.
#pragma once

#include <cstdint>

#include "ferro/model/cubic_segments.h"
#include "ferro/model/curve_table.h"
#include "ferro/model/lane_pair.h"

namespace Ostra {

class CurvePair {
 public:
#if defined(__SSE2__)
  // The segments (one per entry of each table) are needed for LookupCubic
  // only.
  CurvePair(const CurveTable& c0, const CurveTable& c1, const CubicSegment* s0 = nullptr,
            const CubicSegment* s1 = nullptr) noexcept
      : t0_(c0.table),
        t1_(c1.table),
        s0_(s0),
        s1_(s1),
        n0_(c0.N),
        n1_(c1.N),
        x0_(LanePair::Make(c0.x0, c1.x0)),
        scale_(LanePair::Make(c0.scale, c1.scale)),
        xmax_(LanePair::Make(c0.xmax, c1.xmax)),
        xmin_(LanePair::Make(c0.xmin, c1.xmin)),
        upper_(LanePair::Make(c0.cubic_upper, c1.cubic_upper)),
        lower_(LanePair::Make(c0.cubic_lower, c1.cubic_lower)),
        first_(LanePair::Make(c0.table[0], c1.table[0])),
        last_(LanePair::Make(c0.table[c0.N - 1], c1.table[c1.N - 1])),
        last_index_(LanePair::Make(c0.N - 1, c1.N - 1)),
        cubic_low_(LanePair::Make(c0.table[c0.cubic_low_index], c1.table[c1.cubic_low_index])),
        cubic_high_(LanePair::Make(c0.table[c0.cubic_high_index], c1.table[c1.cubic_high_index])) {}
#else
  CurvePair(const CurveTable& c0, const CurveTable& c1, const CubicSegment* = nullptr,
            const CubicSegment* = nullptr) noexcept
      : c0_(c0), c1_(c1) {}
#endif

#if defined(__SSE2__)

  // CurveTable::LookupLinear per lane.
  LanePair LookupLinear(LanePair x) const noexcept {
    const __m128d above = _mm_cmpnlt_pd(x.v, xmax_.v);  // !(x < xmax): also NaN
    const __m128d below = _mm_cmple_pd(x.v, xmin_.v);
    const LanePair p = (x0_ - x) * scale_;
    const __m128i i = _mm_cvttpd_epi32(p.v);
    const LanePair f = p - LanePair{_mm_cvtepi32_pd(i)};
    // Truncation toward zero of p > 0 reaches N - 1 exactly when p does.
    const __m128d past = _mm_cmpge_pd(p.v, last_index_.v);
    const int32_t i0 = Safe(_mm_cvtsi128_si32(i), n0_ - 1, 0);
    const int32_t i1 = Safe(_mm_cvtsi128_si32(_mm_srli_si128(i, 4)), n1_ - 1, 0);
    const __m128d a = _mm_loadu_pd(t0_ + i0);  // entries i, i + 1 of lane 0
    const __m128d b = _mm_loadu_pd(t1_ + i1);
    const LanePair y0{_mm_unpacklo_pd(a, b)};
    const LanePair y1{_mm_unpackhi_pd(a, b)};
    const LanePair inside = y0 + (y1 - y0) * f;
    const LaneMask at_last{_mm_or_pd(below, past)};
    return Select(LaneMask{above}, first_, Select(at_last, last_, inside));
  }

  // CurveTable::LookupCubic per lane.
  LanePair LookupCubic(LanePair x) const noexcept {
    x = x + 1e-15;
    const __m128d above = _mm_cmpnlt_pd(x.v, upper_.v);  // also NaN
    const __m128d below = _mm_cmple_pd(x.v, lower_.v);
    const LanePair p = (x0_ - x) * scale_;
    const __m128i i = _mm_cvttpd_epi32(p.v);
    const LanePair f = p - LanePair{_mm_cvtepi32_pd(i)};
    const int32_t i0 = Safe(_mm_cvtsi128_si32(i) - 1, n0_ - 3, 0) + 1;
    const int32_t i1 = Safe(_mm_cvtsi128_si32(_mm_srli_si128(i, 4)) - 1, n1_ - 3, 0) + 1;
    const __m128d a_hi = _mm_loadu_pd(&s0_[i0].c3);  // c3, c2 of lane 0
    const __m128d a_lo = _mm_loadu_pd(&s0_[i0].c1);  // c1, y0
    const __m128d b_hi = _mm_loadu_pd(&s1_[i1].c3);
    const __m128d b_lo = _mm_loadu_pd(&s1_[i1].c1);
    const LanePair c3{_mm_unpacklo_pd(a_hi, b_hi)};
    const LanePair c2{_mm_unpackhi_pd(a_hi, b_hi)};
    const LanePair c1{_mm_unpacklo_pd(a_lo, b_lo)};
    const LanePair y0{_mm_unpackhi_pd(a_lo, b_lo)};
    const LanePair f2 = f * f;
    const LanePair f3 = f2 * f;
    const LanePair inside = c3 * f3 + c2 * f2 + c1 * f + y0;
    return Select(LaneMask{above}, cubic_low_, Select(LaneMask{below}, cubic_high_, inside));
  }

#else

  LanePair LookupLinear(LanePair x) const noexcept {
    return LanePair::Make(c0_.LookupLinear(x.Lane0()), c1_.LookupLinear(x.Lane1()));
  }
  LanePair LookupCubic(LanePair x) const noexcept {
    return LanePair::Make(c0_.LookupCubic(x.Lane0()), c1_.LookupCubic(x.Lane1()));
  }

#endif

  // CurveTable::LookupLinearOffset per lane.
  LanePair LookupLinearOffset(LanePair x) const noexcept { return LookupLinear(x + 1e-15); }

 private:
#if defined(__SSE2__)
  // The fetch index: i where 0 <= i < limit, otherwise the fallback (a lane
  // at an end, whose entries are not used).
  static int32_t Safe(int32_t i, int32_t limit, int32_t fallback) noexcept {
    return static_cast<uint32_t>(i) < static_cast<uint32_t>(limit) ? i : fallback;
  }

  const double* t0_;
  const double* t1_;
  const CubicSegment* s0_;
  const CubicSegment* s1_;
  int32_t n0_, n1_;
  LanePair x0_, scale_, xmax_, xmin_, upper_, lower_;
  LanePair first_, last_, last_index_, cubic_low_, cubic_high_;
#else
  CurveTable c0_, c1_;
#endif
};

}  // namespace Ostra

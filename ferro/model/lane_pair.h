// LanePair: two doubles side by side, lane 0 and lane 1, for running the two
// stereo engines in the two lanes of one SSE2 vector. Every operator is the
// IEEE operation of each lane on its own (add, subtract, multiply, divide,
// square root, compare), so an expression written with LanePair gives in
// each lane exactly the bits the same expression gives on doubles. Where
// SSE2 is not available the lanes are two plain doubles.
#pragma once

#if defined(__SSE2__)
#include <emmintrin.h>
#else
#include <cmath>
#endif

namespace Ostra {

#if defined(__SSE2__)

struct LanePair {
  __m128d v;

  static LanePair Make(double lane0, double lane1) noexcept { return {_mm_set_pd(lane1, lane0)}; }
  static LanePair Both(double x) noexcept { return {_mm_set1_pd(x)}; }
  double Lane0() const noexcept { return _mm_cvtsd_f64(v); }
  double Lane1() const noexcept { return _mm_cvtsd_f64(_mm_unpackhi_pd(v, v)); }
};

// A per-lane condition: all bits set where it holds.
struct LaneMask {
  __m128d m;
  bool Any() const noexcept { return _mm_movemask_pd(m) != 0; }
};

inline LanePair operator+(LanePair a, LanePair b) noexcept { return {_mm_add_pd(a.v, b.v)}; }
inline LanePair operator-(LanePair a, LanePair b) noexcept { return {_mm_sub_pd(a.v, b.v)}; }
inline LanePair operator*(LanePair a, LanePair b) noexcept { return {_mm_mul_pd(a.v, b.v)}; }
inline LanePair operator/(LanePair a, LanePair b) noexcept { return {_mm_div_pd(a.v, b.v)}; }
inline LanePair Sqrt(LanePair a) noexcept { return {_mm_sqrt_pd(a.v)}; }
inline LaneMask operator>(LanePair a, LanePair b) noexcept { return {_mm_cmpgt_pd(a.v, b.v)}; }
// Lane by lane: a where the mask holds, otherwise b.
inline LanePair Select(LaneMask m, LanePair a, LanePair b) noexcept {
  return {_mm_or_pd(_mm_and_pd(m.m, a.v), _mm_andnot_pd(m.m, b.v))};
}
// Lane by lane: a where the mask holds, otherwise +0.0.
inline LanePair SelectOrZero(LaneMask m, LanePair a) noexcept { return {_mm_and_pd(m.m, a.v)}; }

#else

struct LanePair {
  double l0, l1;

  static LanePair Make(double lane0, double lane1) noexcept { return {lane0, lane1}; }
  static LanePair Both(double x) noexcept { return {x, x}; }
  double Lane0() const noexcept { return l0; }
  double Lane1() const noexcept { return l1; }
};

struct LaneMask {
  bool m0, m1;
  bool Any() const noexcept { return m0 || m1; }
};

inline LanePair operator+(LanePair a, LanePair b) noexcept { return {a.l0 + b.l0, a.l1 + b.l1}; }
inline LanePair operator-(LanePair a, LanePair b) noexcept { return {a.l0 - b.l0, a.l1 - b.l1}; }
inline LanePair operator*(LanePair a, LanePair b) noexcept { return {a.l0 * b.l0, a.l1 * b.l1}; }
inline LanePair operator/(LanePair a, LanePair b) noexcept { return {a.l0 / b.l0, a.l1 / b.l1}; }
inline LanePair Sqrt(LanePair a) noexcept { return {std::sqrt(a.l0), std::sqrt(a.l1)}; }
inline LaneMask operator>(LanePair a, LanePair b) noexcept { return {a.l0 > b.l0, a.l1 > b.l1}; }
inline LanePair Select(LaneMask m, LanePair a, LanePair b) noexcept {
  return {m.m0 ? a.l0 : b.l0, m.m1 ? a.l1 : b.l1};
}
inline LanePair SelectOrZero(LaneMask m, LanePair a) noexcept {
  return {m.m0 ? a.l0 : 0.0, m.m1 ? a.l1 : 0.0};
}

#endif

// A scalar operand stands for the same value in both lanes.
inline LanePair operator+(LanePair a, double b) noexcept { return a + LanePair::Both(b); }
inline LanePair operator-(LanePair a, double b) noexcept { return a - LanePair::Both(b); }
inline LanePair operator*(LanePair a, double b) noexcept { return a * LanePair::Both(b); }
inline LanePair operator+(double a, LanePair b) noexcept { return LanePair::Both(a) + b; }
inline LanePair operator-(double a, LanePair b) noexcept { return LanePair::Both(a) - b; }
inline LanePair operator*(double a, LanePair b) noexcept { return LanePair::Both(a) * b; }
inline LaneMask operator>(LanePair a, double b) noexcept { return a > LanePair::Both(b); }

}  // namespace Ostra

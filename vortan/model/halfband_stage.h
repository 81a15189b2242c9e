// Polyphase IIR half-band filter for 2x rate conversion: two parallel chains
// of first-order allpasses at the low rate, y = (x - y_prev) c + x_prev.
// Chain 0 uses c0, c2, c4 ..., chain 1 uses c1, c3, c5 .... All arithmetic
// is in 32-bit float. One object converts in one direction only.
#pragma once

#if defined(__SSE2__)
#include <xmmintrin.h>
#endif

namespace vortan {

// The three coefficient sets: level 1 (host rate to 2x, 12 coefficients),
// level 2 (2x to 4x, 8) and level 3 (4x to 8x, 4).
extern const double kHalfbandLevel1[12];
extern const double kHalfbandLevel2[8];
extern const double kHalfbandLevel3[4];

template <int N>
class HalfbandStage {
  static_assert(N % 2 == 0, "two chains of equal length");

 public:
  static constexpr int kCoefficients = N;

  // Copies a coefficient set, converted to float; leaves the memories alone.
  void setCoefficients(const double (&c)[N]) noexcept {
    for (int i = 0; i < N; ++i) c_[i] = static_cast<float>(c[i]);
  }
  void clear() noexcept {
    for (int i = 0; i < N; ++i) xm_[i] = ym_[i] = 0.0f;
  }

  // One low-rate sample in, two high-rate samples out (out0 first in time).
  void upsample(float x, float& out0, float& out1) noexcept {
#if defined(__SSE2__)
    const __m128 y = chains(_mm_set_ps(0.0f, 0.0f, x, x));
    out0 = _mm_cvtss_f32(y);
    out1 = _mm_cvtss_f32(_mm_shuffle_ps(y, y, 1));
#else
    upsamplePlain(x, out0, out1);
#endif
  }

  // Two high-rate samples in (first, second), one low-rate sample out.
  float downsample(float first, float second) noexcept {
#if defined(__SSE2__)
    const __m128 y = chains(_mm_set_ps(0.0f, 0.0f, first, second));
    const float o0 = _mm_cvtss_f32(y);
    const float o1 = _mm_cvtss_f32(_mm_shuffle_ps(y, y, 1));
    return 0.5f * (o0 + o1);
#else
    return downsamplePlain(first, second);
#endif
  }

  // The plain forms: one chain after the other, one allpass at a time.
  void upsamplePlain(float x, float& out0, float& out1) noexcept {
    out0 = chain(0, x);
    out1 = chain(1, x);
  }
  float downsamplePlain(float first, float second) noexcept {
    const float o0 = chain(0, second);
    const float o1 = chain(1, first);
    return 0.5f * (o0 + o1);
  }

  float coefficient(int i) const noexcept { return c_[i]; }

 private:
#if defined(__SSE2__)
  // Both chains side by side: chain 0 in lane 0, chain 1 in lane 1 (the two
  // upper lanes idle). Allpass k of chain p keeps its coefficient and
  // memories at index 2k + p, so each pair of lanes is one 8-byte load.
  // Every lane does the plain chain's float operations in the same order.
  __m128 chains(__m128 x) noexcept {
    for (int i = 0; i < N; i += 2) {
      const __m128 c = load2(&c_[i]);
      const __m128 xm = load2(&xm_[i]);
      const __m128 ym = load2(&ym_[i]);
      const __m128 y = _mm_add_ps(_mm_mul_ps(_mm_sub_ps(x, ym), c), xm);
      store2(&xm_[i], x);
      store2(&ym_[i], y);
      x = y;
    }
    return x;
  }
  static __m128 load2(const float* p) noexcept {
    return _mm_loadl_pi(_mm_setzero_ps(), reinterpret_cast<const __m64*>(p));
  }
  static void store2(float* p, __m128 v) noexcept { _mm_storel_pi(reinterpret_cast<__m64*>(p), v); }
#endif

  float chain(int phase, float x) noexcept {
    for (int i = phase; i < N; i += 2) {
      const float y = (x - ym_[i]) * c_[i] + xm_[i];
      xm_[i] = x;
      ym_[i] = y;
      x = y;
    }
    return x;
  }

  float c_[N] = {};
  float xm_[N] = {};  // previous input of each allpass
  float ym_[N] = {};  // previous output of each allpass
};

}  // namespace vortan

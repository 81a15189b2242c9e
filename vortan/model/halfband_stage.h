// Polyphase IIR half-band filter for 2x rate conversion: two parallel chains
// of first-order allpasses at the low rate, y = (x - y_prev) c + x_prev.
// Chain 0 uses c0, c2, c4 ..., chain 1 uses c1, c3, c5 .... All arithmetic
// is in 32-bit float. One object converts in one direction only.
#pragma once

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
  void upsample(float x, float& out0, float& out1) noexcept { upsamplePlain(x, out0, out1); }

  // Two high-rate samples in (first, second), one low-rate sample out.
  float downsample(float first, float second) noexcept { return downsamplePlain(first, second); }

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

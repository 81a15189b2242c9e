// Passive Low/Mid/High/Contour tone network as a third-order IIR filter.
// The analogue response is
//   H(s) = (B1' s + B2' s^2 + B3' s^3) / (1 + A1' s + A2' s^2 + A3' s^3)
// whose coefficients are polynomials in the pot positions; the digital
// filter is its bilinear transform s = K (1 - z^-1)/(1 + z^-1), K = 2 fsI,
// without prewarping. It runs in transposed direct form II.
#pragma once

namespace vortan {

// The components that differ between the two voicings of a channel.
struct ToneStackParts {
  double Ct;  // treble capacitor, F
  double R1;  // ohm
  double R2;  // ohm
};
inline constexpr ToneStackParts kToneStackOpen{3.2e-8, 25000.0, 94000.0};
inline constexpr ToneStackParts kToneStackFocus{2.8e-8, 10000.0, 136000.0};

// The audio taper of the Low pot: 0 -> 0.01236, 0.5 -> 0.10075, 1 -> 0.99706.
inline double toneStackLowTaper(double L) noexcept {
  return 2.42967 * L * L * L * L - 2.60851 * L * L * L + 1.27667 * L * L - 0.11313 * L + 0.01236;
}

class ToneStack {
 public:
  // Design terms for the parts and the rate; clears the memories and forces
  // a coefficient update on the next run (set-up or redesign).
  void design(const ToneStackParts& parts, double fsI) noexcept;
  void clear() noexcept { s0_ = s1_ = s2_ = 0.0; }

  double run(double contour, double high, double low, double mid, double x) noexcept {
    if (low != low_ || mid != mid_ || high != high_ || contour != contour_) {
      updateCoefficients(contour, high, low, mid);
    }
    const double y = b0_ * x + s0_;
    s0_ = b1_ * x + s1_ - a1_ * y;
    s1_ = b2_ * x + s2_ - a2_ * y;
    s2_ = b3_ * x - a3_ * y;
    return y;
  }

  // The same step split in two: the coefficient check, once for a run of
  // samples with the same controls, then the filter alone on each sample.
  void prepare(double contour, double high, double low, double mid) noexcept {
    if (low != low_ || mid != mid_ || high != high_ || contour != contour_) {
      updateCoefficients(contour, high, low, mid);
    }
  }
  double runPrepared(double x) noexcept {
    const double y = b0_ * x + s0_;
    s0_ = b1_ * x + s1_ - a1_ * y;
    s1_ = b2_ * x + s2_ - a2_ * y;
    s2_ = b3_ * x - a3_ * y;
    return y;
  }

  // Caches the controls and recomputes b0..b3, a1..a3.
  void updateCoefficients(double contour, double high, double low, double mid) noexcept;

  // Digital coefficients (read-only): b[0..3], a[1..3] (a[0] is 1).
  double b(int i) const noexcept;
  double a(int i) const noexcept;
  // Number of coefficient updates since construction.
  unsigned long updateCount() const noexcept { return updates_; }

 private:
  static constexpr double kUncached = 10.0;  // no pot sits there

  double K_ = 0.0, K2_ = 0.0, K3_ = 0.0;
  double d_[20] = {};
  double q_[21] = {};
  double contour_ = kUncached, high_ = kUncached, low_ = kUncached, mid_ = kUncached;
  double b0_ = 0.0, b1_ = 0.0, b2_ = 0.0, b3_ = 0.0;
  double a1_ = 0.0, a2_ = 0.0, a3_ = 0.0;
  double s0_ = 0.0, s1_ = 0.0, s2_ = 0.0;
  unsigned long updates_ = 0;
};

}  // namespace vortan

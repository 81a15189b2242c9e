#include "vortan/model/biquad_design.h"

#include <cmath>

namespace vortan {
namespace {

constexpr double kTwoPi = 6.28319304;
constexpr double kInvQ07 = 1.4285714285714286;  // 1 / 0.7

// Prewarp and the Q = 0.7 denominator shared by all designs but the peak.
void designDenominator(Biquad& f, double f0, double fsI) noexcept {
  f.freq = f0;
  f.t = std::tan(kTwoPi * f0 / fsI / 2.0);
  f.t2 = f.t * f.t;
  const double k = f.t * kInvQ07;
  f.norm = 1.0 / (f.t2 + k + 1.0);
  f.a1 = 2.0 * (f.t2 - 1.0);
  f.a2 = f.t2 + 1.0 - k;
  f.clear();
}

}  // namespace

void designLowpass(Biquad& f, double f0, double fsI) noexcept {
  designDenominator(f, f0, fsI);
  f.b0 = f.t2;
  f.b1 = 2.0 * f.t2;
  f.b2 = f.t2;
}

void designLowShelf(Biquad& f, double f0, double fsI, double G, double B) noexcept {
  designDenominator(f, f0, fsI);
  setLowShelfGain(f, G, B);
}

void setLowShelfGain(Biquad& f, double G, double B) noexcept {
  f.gain = G;
  f.b0 = G * f.t2 + B * f.t + 1.0;
  f.b1 = 2.0 * (G * f.t2 - 1.0);
  f.b2 = G * f.t2 + 1.0 - B * f.t;
}

void designHighShelf7(Biquad& f, double f0, double fsI) noexcept {
  constexpr double kSqrt14 = 3.7416573867739413857;  // sqrt(2 x 7)
  designDenominator(f, f0, fsI);
  f.gain = 7.0;
  f.b0 = f.t2 + kSqrt14 * f.t + 7.0;
  f.b1 = 2.0 * (f.t2 - 7.0);
  f.b2 = f.t2 - kSqrt14 * f.t + 7.0;
}

void designPeak(Biquad& f, double f0, double fsI) noexcept {
  f.freq = f0;
  f.t = std::tan(kTwoPi * f0 / fsI / 2.0);
  f.t2 = f.t * f.t;
  f.norm = 1.0 / (f.t2 + f.t + 1.0);
  f.a1 = 2.0 * (f.t2 - 1.0);
  f.a2 = f.t2 + 1.0 - f.t;
  f.b0 = f.t2 + 1.333 * f.t + 1.0;
  f.b1 = 2.0 * (f.t2 - 1.0);
  f.b2 = f.t2 + 1.0 - 1.333 * f.t;
  f.gain = 1.333;
  f.clear();
}

void designHighpass(Biquad& f, double f0, double fsI) noexcept {
  designDenominator(f, f0, fsI);
  f.b0 = 1.0;
  f.b1 = -2.0;
  f.b2 = 1.0;
}

}  // namespace vortan

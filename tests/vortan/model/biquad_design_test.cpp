#include "vortan/model/biquad_design.h"

#include <gtest/gtest.h>

#include <cmath>
#include <complex>

namespace vortan {
namespace {

constexpr double kFsI = 176400.0;

// |H| of the section as run(): norm scales the feedback terms too.
double gain(const Biquad& f, double hz) {
  const std::complex<double> z1 = std::polar(1.0, -2.0 * M_PI * hz / kFsI);
  const std::complex<double> num = f.norm * (f.b0 + z1 * (f.b1 + z1 * f.b2));
  const std::complex<double> den = 1.0 + f.norm * z1 * (f.a1 + z1 * f.a2);
  return std::abs(num / den);
}

TEST(BiquadDesign, LowpassAndHighpass) {
  Biquad lp, hp;
  designLowpass(lp, 5000.0, kFsI);
  EXPECT_NEAR(gain(lp, 0.0), 1.0, 1e-12);
  EXPECT_NEAR(gain(lp, 5000.0), 0.7, 1e-4);  // Q 0.7 at the corner
  EXPECT_LT(gain(lp, 50000.0), 0.02);
  designHighpass(hp, 2.0, kFsI);
  EXPECT_NEAR(gain(hp, 0.0), 0.0, 1e-12);
  EXPECT_NEAR(gain(hp, 1000.0), 1.0, 1e-6);
}

TEST(BiquadDesign, ShelvesAndPeak) {
  Biquad s, h, p;
  designLowShelf(s, 300.0, kFsI, 1.333, kShelfB1_333);
  EXPECT_NEAR(gain(s, 0.0), 1.333, 1e-9);
  EXPECT_NEAR(gain(s, kFsI / 2.0), 1.0, 1e-9);
  EXPECT_EQ(s.gain, 1.333);
  designHighShelf7(h, 2000.0, kFsI);
  EXPECT_NEAR(gain(h, 0.0), 1.0, 1e-9);
  EXPECT_NEAR(gain(h, kFsI / 2.0), 7.0, 1e-9);
  designPeak(p, 4000.0, kFsI);
  EXPECT_NEAR(gain(p, 4000.0), 1.333, 1e-4);
  EXPECT_NEAR(gain(p, 0.0), 1.0, 1e-9);
}

TEST(BiquadDesign, ShelfGainChangeKeepsTheDenominator) {
  Biquad s;
  designLowShelf(s, 3000.0, kFsI, 0.333, kShelfB0_333);
  const double norm = s.norm, a1 = s.a1, a2 = s.a2;
  s.run(1.0);
  setLowShelfGain(s, 0.62, std::sqrt(1.24));
  EXPECT_EQ(s.norm, norm);
  EXPECT_EQ(s.a1, a1);
  EXPECT_EQ(s.a2, a2);
  EXPECT_EQ(s.x1, 1.0) << "memories survive a gain change";
  EXPECT_NEAR(gain(s, 0.0), 0.62, 1e-9);
}

TEST(BiquadDesign, RunIsDirectFormOne) {
  Biquad f;
  designLowpass(f, 3000.0, kFsI);
  f.run(1.0);
  f.run(0.5);
  const double expected =
      f.norm * (f.b0 * -0.25 + f.b1 * 0.5 + f.b2 * 1.0 - f.a1 * f.y1 - f.a2 * f.y2);
  EXPECT_EQ(f.run(-0.25), expected);
  designLowpass(f, 3000.0, kFsI);
  EXPECT_EQ(f.x1 + f.x2 + f.y1 + f.y2, 0.0) << "a design clears the memories";
}

}  // namespace
}  // namespace vortan

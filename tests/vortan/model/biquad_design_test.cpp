#include "vortan/model/biquad_design.h"

#include <gtest/gtest.h>

#include <cmath>
#include <complex>

namespace vortan {
namespace {

constexpr double kFsI = 176400.0;

// |H| of the section as run() computes it (norm scales the feedback too).
double gain(const Biquad& f, double hz) {
  const std::complex<double> z1 = std::polar(1.0, -2.0 * M_PI * hz / kFsI);
  return std::abs(f.norm * (f.b0 + z1 * (f.b1 + z1 * f.b2)) /
                  (1.0 + f.norm * z1 * (f.a1 + z1 * f.a2)));
}

TEST(BiquadDesign, GainsAtDcCornerAndNyquist) {
  Biquad lp, hp, shelf, high, peak;
  designLowpass(lp, 5000.0, kFsI);
  EXPECT_NEAR(gain(lp, 0.0), 1.0, 1e-12);
  EXPECT_NEAR(gain(lp, 5000.0), 0.7, 1e-4);  // Q 0.7 at the prewarped corner
  designHighpass(hp, 2.0, kFsI);
  EXPECT_NEAR(gain(hp, 0.0), 0.0, 1e-12);
  EXPECT_NEAR(gain(hp, 1000.0), 1.0, 1e-6);
  designLowShelf(shelf, 300.0, kFsI, 1.333, kShelfB1_333);
  EXPECT_NEAR(gain(shelf, 0.0), 1.333, 1e-9);
  EXPECT_NEAR(gain(shelf, kFsI / 2.0), 1.0, 1e-9);
  designHighShelf7(high, 2000.0, kFsI);
  EXPECT_NEAR(gain(high, 0.0), 1.0, 1e-9);
  EXPECT_NEAR(gain(high, kFsI / 2.0), 7.0, 1e-9);
  designPeak(peak, 4000.0, kFsI);
  EXPECT_NEAR(gain(peak, 4000.0), 1.333, 1e-4);
  EXPECT_NEAR(gain(peak, 0.0), 1.0, 1e-9);
}

TEST(BiquadDesign, ShelfGainChangeKeepsDenominatorAndMemories) {
  Biquad s;
  designLowShelf(s, 3000.0, kFsI, 0.333, kShelfB0_333);
  const double a1 = s.a1;
  s.run(1.0);
  setLowShelfGain(s, 0.62, std::sqrt(1.24));
  EXPECT_EQ(s.a1, a1);
  EXPECT_EQ(s.x1, 1.0);
  EXPECT_NEAR(gain(s, 0.0), 0.62, 1e-9);
}

}  // namespace
}  // namespace vortan

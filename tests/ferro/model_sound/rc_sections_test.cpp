#include "ferro/model/rc_sections.h"

#include <gtest/gtest.h>

#include <cmath>

namespace Ostra {
namespace {

constexpr double kPi = 3.141592653589793;

// Steady-state peak gain of a section for a sine of f Hz at rate fs.
template <class Section>
double SineGain(Section& s, double f, double fs) {
  double peak = 0.0;
  const int n = static_cast<int>(fs);  // one second: settles, then measure
  for (int i = 0; i < 2 * n; ++i) {
    double w = std::sin(2.0 * kPi * f * i / fs);
    s.Process(w);
    if (i >= n) peak = std::fmax(peak, std::fabs(w));
  }
  return peak;
}

TEST(RcSections, CornersSitAtMinusThreeDecibels) {
  RcHighpass hp;
  hp.SetCutoff(105.7, 88200.0);
  EXPECT_NEAR(SineGain(hp, 105.7, 88200.0), std::sqrt(0.5), 0.005);
  RcHighpass hp2;
  hp2.SetCutoff(105.7, 88200.0);
  EXPECT_NEAR(SineGain(hp2, 1057.0, 88200.0), 1.0 / std::sqrt(1.01), 0.005);
  RcLowpass lp;
  lp.SetCutoff(2190.0, 176400.0);
  // Backward Euler puts a low-pass corner a little low: 0.694 at fc for
  // fc = fs / 80.
  EXPECT_NEAR(SineGain(lp, 2190.0, 176400.0), std::sqrt(0.5), 0.02);
}

TEST(RcSections, HighpassBlocksAndLowpassPassesDirectCurrent) {
  RcHighpass hp;
  hp.SetCutoff(5.0, 88200.0);
  RcLowpass lp;
  lp.SetCutoff(7761.0, 88200.0);
  double h = 0.0;
  double l = 0.0;
  for (int i = 0; i < 88200 * 2; ++i) {
    h = 170.0;
    hp.Process(h);
    l = 170.0;
    lp.Process(l);
  }
  EXPECT_LT(std::fabs(h), 1e-3);
  EXPECT_NEAR(l, 170.0, 1e-9);
}

}  // namespace
}  // namespace Ostra

#include "vortan/model/tone_stack.h"

#include <gtest/gtest.h>

#include <cmath>
#include <complex>

namespace vortan {
namespace {

constexpr double kFsI = 176400.0;

// Magnitude in dB of the digital filter's response at f Hz, from its coefficients.
double responseDb(const ToneStack& s, double f) {
  const std::complex<double> z1 = std::polar(1.0, -2.0 * M_PI * f / kFsI);
  const std::complex<double> num = s.b(0) + z1 * (s.b(1) + z1 * (s.b(2) + z1 * s.b(3)));
  const std::complex<double> den = 1.0 + z1 * (s.a(1) + z1 * (s.a(2) + z1 * s.a(3)));
  return 20.0 * std::log10(std::abs(num / den));
}

ToneStack designed(const ToneStackParts& parts, double high) {
  ToneStack s;
  s.design(parts, kFsI);
  s.run(0.5, high, 0.5, 0.5, 0.0);
  return s;
}

TEST(ToneStack, LowTaper) {
  EXPECT_DOUBLE_EQ(toneStackLowTaper(0.0), 0.01236);
  EXPECT_NEAR(toneStackLowTaper(0.5), 0.10075, 1e-5);
  EXPECT_NEAR(toneStackLowTaper(1.0), 0.99706, 1e-12);
}

TEST(ToneStack, OpenAndFocusResponsesAtMidControls) {
  const ToneStack open = designed(kToneStackOpen, 0.5);
  EXPECT_NEAR(responseDb(open, 100.0), -4.8, 0.1);
  EXPECT_NEAR(responseDb(open, 1000.0), -11.3, 0.1);
  EXPECT_NEAR(responseDb(open, 10000.0), -4.5, 0.1);
  const ToneStack focus = designed(kToneStackFocus, 0.5);
  EXPECT_NEAR(responseDb(focus, 100.0), -6.8, 0.1);
  EXPECT_NEAR(responseDb(focus, 1000.0), -16.4, 0.1);
  EXPECT_NEAR(responseDb(focus, 10000.0), -5.7, 0.1);
}

TEST(ToneStack, HighControlSetsTheTopEnd) {
  EXPECT_NEAR(responseDb(designed(kToneStackOpen, 0.0), 10000.0), -12.4, 0.1);
  EXPECT_NEAR(responseDb(designed(kToneStackOpen, 1.0), 10000.0), -0.3, 0.1);
}

TEST(ToneStack, NoDcPath) {
  ToneStack s;
  s.design(kToneStackFocus, kFsI);
  double y = 1.0;
  for (int i = 0; i < 200000; ++i) y = s.run(0.3, 0.7, 0.9, 0.1, 1.0);
  EXPECT_LT(std::fabs(y), 1e-6);
}

TEST(ToneStack, CoefficientsUpdateOnlyWhenAControlChanges) {
  ToneStack s;
  s.design(kToneStackOpen, kFsI);
  s.run(0.5, 0.5, 0.5, 0.5, 0.1);
  EXPECT_EQ(s.updateCount(), 1u);
  for (int i = 0; i < 10; ++i) s.run(0.5, 0.5, 0.5, 0.5, 0.1);
  EXPECT_EQ(s.updateCount(), 1u);
  s.run(0.5, 0.5, 0.6, 0.5, 0.1);
  EXPECT_EQ(s.updateCount(), 2u);
  // A redesign forces the next run to recompute and clears the memories.
  s.design(kToneStackOpen, kFsI);
  EXPECT_EQ(s.run(0.5, 0.5, 0.6, 0.5, 0.0), 0.0);
  EXPECT_EQ(s.updateCount(), 3u);
}

}  // namespace
}  // namespace vortan

#include "ferro/model/curve_table.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "ferro/model/fixed_curves.h"

namespace Ostra {
namespace {

// A table of y = q(x) on the grid x0 = 2, xmin = -2, N = 40 (0.1 V steps).
struct QuadraticTable {
  explicit QuadraticTable(double c2) {
    for (int i = 0; i < 40; ++i) {
      const double x = 2.0 - i * 0.1;
      values.push_back(3.0 + 0.5 * x + c2 * x * x);
    }
    table.Init(values.data(), 40, 2.0, -2.0);
  }
  std::vector<double> values;
  CurveTable table;
};

TEST(CurveTable, LinearLookupInterpolatesInsideAndClampsToTheEndEntries) {
  QuadraticTable t(0.0);
  EXPECT_NEAR(t.table.LookupLinear(0.25), 3.125, 1e-12);
  EXPECT_NEAR(t.table.LookupLinear(-1.77), 3.0 - 0.885, 1e-12);
  EXPECT_EQ(t.table.LookupLinear(2.0), t.values[0]);
  EXPECT_EQ(t.table.LookupLinear(50.0), t.values[0]);
  EXPECT_EQ(t.table.LookupLinear(-2.0), t.values[39]);
  EXPECT_EQ(t.table.LookupLinear(-1e300), t.values[39]);
  // Inside the last interval (beyond entry 39 at -1.9 V) the last entry holds.
  EXPECT_EQ(t.table.LookupLinear(-1.95), t.values[39]);
}

TEST(CurveTable, CubicLookupIsExactOnQuadraticsAndClampsToEntriesThreeAndNMinusFour) {
  QuadraticTable t(0.7);
  for (double x = -1.6; x < 1.6; x += 0.037) {
    EXPECT_NEAR(t.table.LookupCubic(x), 3.0 + 0.5 * x + 0.7 * x * x, 1e-9) << x;
  }
  EXPECT_EQ(t.table.LookupCubic(1.7 + 1e-9), t.values[3]);
  EXPECT_EQ(t.table.LookupCubic(9.0), t.values[3]);
  EXPECT_EQ(t.table.LookupCubic(-1.7 - 1e-9), t.values[36]);
  EXPECT_EQ(t.table.LookupCubic(-9.0), t.values[36]);
}

TEST(CurveTable, CurveAClampsAtItsCubicThresholds) {
  CurveTable a;
  a.Init(curves::kCurveA, curves::kCurveASize, curves::kCurveAX0, curves::kCurveAXmin);
  EXPECT_NEAR(a.cubic_upper, 94.80556, 1e-5);
  EXPECT_NEAR(a.cubic_lower, -99.30556, 1e-5);
  EXPECT_EQ(a.cubic_high_index, 2997);
  // The thresholds are 94.805565 and -99.305565 V: the rounded figures lie
  // 5 uV inside them. At the top that is a hair from entry 3; at the bottom
  // the interpolation runs up to entry N - 3, one step past the clamp entry.
  EXPECT_EQ(a.LookupCubic(94.805566), curves::kCurveA[3]);
  EXPECT_EQ(a.LookupCubic(95.0), curves::kCurveA[3]);
  EXPECT_EQ(a.LookupCubic(-99.305566), curves::kCurveA[2997]);
  EXPECT_NEAR(a.LookupCubic(94.80556), curves::kCurveA[3], 1e-4);
  EXPECT_NEAR(a.LookupCubic(-99.30556), curves::kCurveA[2998], 1e-4);
  // Just inside the thresholds the lookup interpolates, still near the clamp.
  EXPECT_NEAR(a.LookupCubic(94.8), curves::kCurveA[3], 0.01);
  EXPECT_NE(a.LookupCubic(94.8), curves::kCurveA[3]);
}

TEST(CurveTable, NotANumberTakesAnEndEntryInsteadOfAnIndex) {
  QuadraticTable t(0.7);
  const double nan = std::numeric_limits<double>::quiet_NaN();
  EXPECT_EQ(t.table.LookupLinear(nan), t.values[0]);
  EXPECT_EQ(t.table.LookupLinearOffset(nan), t.values[0]);
  EXPECT_EQ(t.table.LookupCubic(nan), t.values[3]);
}

}  // namespace
}  // namespace Ostra

#include "ferro/model/fixed_curves.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

namespace Ostra {
namespace {

using namespace curves;

struct Grid {
  const double* values;
  int n;
  double x0, xmin;
  double scale() const { return n / (x0 - xmin); }
  // The curve at x, linear between entries (and past the last entry along
  // the last interval): the telling rows need not sit on the grid.
  double At(double x) const {
    const double p = (x0 - x) * scale();
    int i = static_cast<int>(p);
    if (i > n - 2) i = n - 2;
    return values[i] + (values[i + 1] - values[i]) * (p - i);
  }
};

struct Row {
  double x, y;
};

void ExpectRows(const Grid& g, const std::vector<Row>& rows, double tolerance) {
  for (const Row& r : rows) EXPECT_NEAR(g.At(r.x), r.y, tolerance) << "x = " << r.x;
}

// Strictly one-directional (zero steps allowed where the curve is held flat)
// and C1: no step changes by more than a few percent of the largest step.
void ExpectMonotonicAndSmooth(const Grid& g, const std::string& name) {
  int direction = 0;
  double largest = 0.0;
  for (int i = 0; i + 1 < g.n; ++i)
    largest = std::fmax(largest, std::fabs(g.values[i + 1] - g.values[i]));
  for (int i = 0; i + 1 < g.n; ++i) {
    const double d = g.values[i + 1] - g.values[i];
    const int s = d > 0.0 ? 1 : (d < 0.0 ? -1 : 0);
    if (s != 0 && direction == 0) direction = s;
    ASSERT_TRUE(s == 0 || s == direction) << name << " turns at entry " << i;
    if (i + 2 < g.n) {
      const double d2 = g.values[i + 2] - 2.0 * g.values[i + 1] + g.values[i];
      ASSERT_LE(std::fabs(d2), 0.05 * largest) << name << " bends at entry " << i;
    }
  }
}

const Grid kA{kCurveA, kCurveASize, kCurveAX0, kCurveAXmin};
const Grid kB{kCurveB, kCurveBSize, kCurveBX0, kCurveBXmin};
const Grid kDrive{kDriveCurve, kDriveCurveSize, kDriveCurveX0, kDriveCurveXmin};
const Grid kDriveStored{kDriveCurve, kDriveCurveStored, kDriveCurveX0, kDriveCurveXmin};
const Grid kSplitA{kPhaseSplitterA, kPhaseSplitterSize, kPhaseSplitterX0, kPhaseSplitterXmin};
const Grid kSplitB{kPhaseSplitterB, kPhaseSplitterSize, kPhaseSplitterX0, kPhaseSplitterXmin};
Grid Valve(int t) {
  return Grid{kPowerValveCurves[t], kPowerValveSize, kPowerValveX0, kPowerValveXmin};
}

TEST(FixedCurves, PreampCurvesPassThroughTheirRows) {
  ExpectRows(kA,
             {{95, 158.462},
              {60, 177.646},
              {20, 235.089},
              {5, 260.057},
              {0, 268.626},
              {-5, 277.207},
              {-20, 296.471},
              {-60, 313.402},
              {-99.4, 316.976}},
             1e-3);
  ExpectRows(kB,
             {{41, 342.441},
              {20, 279.652},
              {5, 234.281},
              {0, 219.699},
              {-5, 205.480},
              {-20, 165.821},
              {-40, 126.299},
              {-55.4, 119.014}},
             1e-3);
}

TEST(FixedCurves, DriveCurveIsFlatAboveThirteenAndAHalfVoltsThenRises) {
  ExpectRows(kDrive,
             {{10, 4.490}, {5, 4.796}, {0, 5.174}, {-5, 5.655}, {-10, 6.298}, {-14.9, 7.194}},
             1e-3);
  for (int i = 0; kDriveCurveX0 - i / kDrive.scale() >= 13.5; ++i) {
    ASSERT_EQ(kDriveCurve[i], 4.30309) << i;
  }
  EXPECT_EQ(kDriveCurve[kDriveCurveStored - 1], 376.128);
  EXPECT_GT(kDriveCurve[kDriveCurveStored - 1 - 100], kDriveCurve[kDriveCurveSize - 1]);
}

TEST(FixedCurves, PhaseSplitterCurvesPassThroughTheirRows) {
  ExpectRows(
      kSplitA,
      {{6, 440.519}, {2, 398.434}, {0, 357.552}, {-2, 314.069}, {-6, 236.445}, {-10, 208.734}},
      1e-3);
  ExpectRows(
      kSplitB,
      {{6, 191.134}, {2, 234.462}, {0, 276.414}, {-2, 321.332}, {-6, 398.521}, {-10, 422.209}},
      1e-3);
}

TEST(FixedCurves, PowerValveCurvesPassThroughTheirRowsAndTheBiasPlotEntries) {
  const double grid_v[] = {0, -20, -39, -51, -60, -80};
  const double rows[4][6] = {{13.34, 32.44, 182.42, 323.35, 390.39, 457.09},
                             {6.92, 18.72, 224.57, 404.97, 455.98, 478.56},
                             {7.81, 15.72, 46.30, 143.42, 255.25, 407.80},
                             {6.73, 12.59, 38.93, 167.87, 315.32, 458.57}};
  const int entries[] = {0,   400, 456, 512,  568,  624,  680,  736, 792,
                         848, 904, 960, 1016, 1072, 1128, 1184, 1800};
  const double plot[4][17] = {{10.15, 19.23, 25.06, 35.07, 54.99, 97.94, 168.28, 242.31, 305.52,
                               355.16, 392.40, 419.44, 438.62, 451.97, 461.13, 467.36, 479.86},
                              {5.11, 10.38, 13.95, 20.49, 35.79, 88.05, 202.49, 311.34, 387.08,
                               432.54, 457.08, 469.34, 475.15, 477.82, 479.03, 479.57, 480.00},
                              {6.04, 10.70, 13.14, 16.54, 21.50, 29.22, 42.66, 69.51, 121.22,
                               191.33, 259.20, 315.90, 360.40, 394.10, 419.02, 437.09, 479.29},
                              {5.38, 8.87, 10.67, 13.20, 17.02, 23.31, 35.41, 64.77, 136.34, 233.21,
                               320.10, 383.64, 425.25, 450.30, 464.43, 472.02, 479.99}};
  for (int t = 0; t < kPowerValveTypes; ++t) {
    const Grid g = Valve(t);
    for (int k = 0; k < 6; ++k) EXPECT_NEAR(g.At(grid_v[k]), rows[t][k], 5e-3) << t;
    for (int k = 0; k < 17; ++k) {
      EXPECT_NEAR(kPowerValveCurves[t][entries[k]], plot[t][k], 1e-9) << t << " " << entries[k];
    }
  }
}

TEST(FixedCurves, EveryCurveIsMonotonicAndSmooth) {
  ExpectMonotonicAndSmooth(kA, "curve A");
  ExpectMonotonicAndSmooth(kB, "curve B");
  ExpectMonotonicAndSmooth(kDrive, "drive curve");
  ExpectMonotonicAndSmooth(kSplitA, "phase splitter A");
  ExpectMonotonicAndSmooth(kSplitB, "phase splitter B");
  for (int t = 0; t < kPowerValveTypes; ++t) ExpectMonotonicAndSmooth(Valve(t), "valve");
  // Directions: A rises as x falls, B falls; the splitter halves oppose.
  EXPECT_GT(kCurveA[100], kCurveA[0]);
  EXPECT_LT(kCurveB[100], kCurveB[0]);
  EXPECT_LT(kPhaseSplitterA[100], kPhaseSplitterA[0]);
  EXPECT_GT(kPhaseSplitterB[100], kPhaseSplitterB[0]);
  // The stored tail of the drive curve keeps rising.
  for (int i = kDriveCurveSize; i < kDriveCurveStored; ++i) {
    ASSERT_GT(kDriveStored.values[i], kDriveStored.values[i - 1]) << i;
  }
}

}  // namespace
}  // namespace Ostra

#include "vortan/model/triode_model.h"

#include <gtest/gtest.h>

#include <cmath>

namespace vortan {
namespace {

constexpr double kFsI = 176400.0;

TEST(TriodeModel, PlateCharacteristicAtZeroBiasAndCutoff) {
  EXPECT_DOUBLE_EQ(triodePlateVoltage(0.0), 142.8171727640615);
  EXPECT_NEAR(triodePlateVoltage(-10.0), 449.8486, 1e-4);
}

TEST(TriodeModel, OperatingPointsOfTheStageTable) {
  struct Case {
    TriodeStage stage;
    double Vp, Vk;
  };
  const Case cases[] = {{kB1, 256.77, 1.583},
                        {kA1, 270.87, 1.789},
                        {kA2, 300.63, 2.238},
                        {kB2, 300.63, 2.238},
                        {kB3, 354.85, 3.133}};
  for (const Case& c : cases) {
    TriodeModel t;
    t.design(kTriodeStageParts[c.stage], kFsI);
    EXPECT_NEAR(t.designPlateVoltage(), c.Vp, 0.01) << "stage " << c.stage;
    EXPECT_NEAR(t.designCathodeVoltage(), c.Vk, 0.001) << "stage " << c.stage;
    EXPECT_EQ(t.gridCurrent(), 0.0);
    EXPECT_EQ(t.output(), 0.0);
  }
  TriodeModel b1;
  b1.design(kTriodeStageParts[kB1], kFsI);
  EXPECT_NEAR(b1.designPlateCurrent(), 1.930e-3, 1e-6);
  EXPECT_NEAR(b1.cutoffPlateVoltage(), 449.8486, 1e-4);
}

// The state starts where step() holds still for a 0 V grid: the plate is
// loaded from Vcut, a little above the design's 449.8 V, so it sits some
// 20 to 30 mV above the design's operating point, and stays there.
TEST(TriodeModel, StateStartsAtRestForAGroundedGridAtEveryRate) {
  for (int stage = 0; stage < kTriodeStageCount; ++stage) {
    for (double fsI : {88200.0, 192000.0, 768000.0}) {
      TriodeModel t;
      t.design(kTriodeStageParts[stage], fsI);
      const double Vp = t.plateVoltage(), Vk = t.cathodeVoltage();
      EXPECT_NEAR(Vp - t.designPlateVoltage(), 0.025, 0.01) << stage;
      EXPECT_NEAR(Vk, kTriodeStageParts[stage].Rk * t.plateCurrent(), 1e-12) << stage;
      double worst = 0.0;
      for (int i = 0; i < 20000; ++i) worst = std::fmax(worst, std::fabs(t.step(0.0)));
      EXPECT_LT(worst, 1e-11) << stage << " at " << fsI;
      EXPECT_NEAR(t.plateVoltage(), Vp, 1e-11) << stage;
      EXPECT_NEAR(t.cathodeVoltage(), Vk, 1e-13) << stage;
    }
  }
}

TEST(TriodeModel, GridCurrentOnlyAboveTheCathode) {
  TriodeModel t;
  t.design(kTriodeStageParts[kA1], kFsI);
  const double Vk = t.cathodeVoltage();
  t.step(Vk);
  EXPECT_EQ(t.gridCurrent(), 0.0);
  // One volt above the cathode the grid node settles at Vk + (sqrt(103) - 1)/51.
  TriodeModel u;
  u.design(kTriodeStageParts[kA1], kFsI);
  u.step(Vk + 1.0);
  const double vge = Vk + (std::sqrt(103.0) - 1.0) / 51.0;
  EXPECT_NEAR(vge - Vk, 0.1794, 1e-4);
  EXPECT_NEAR(u.gridCurrent(), (Vk + 1.0 - vge) / 68000.0, 1e-12);
  EXPECT_NEAR(u.plateVoltage(), Vk + triodePlateVoltage(vge - Vk), 1e-9);
}

TEST(TriodeModel, BelowCutoffThePlateHoldsAndTheOutputDecays) {
  TriodeModel t;
  t.design(kTriodeStageParts[kB3], kFsI);
  double first = 0.0, last = 0.0;
  for (int i = 0; i < 20000; ++i) {
    const double y = t.step(-50.0);
    EXPECT_GE(t.cathodeVoltage(), 0.0);
    if (i == 0) first = y;
    last = y;
  }
  EXPECT_NEAR(t.plateVoltage(), t.cathodeVoltage() + t.cutoffPlateVoltage(), 1e-9);
  EXPECT_GT(first, 10.0);  // the plate jumps up towards the supply
  EXPECT_LT(std::fabs(last), 0.05 * first);
}

TEST(TriodeModel, CathodeNeverNegativeUnderLargeDrive) {
  TriodeModel t;
  t.design(kTriodeStageParts[kA2], kFsI);
  for (int i = 0; i < 50000; ++i) {
    const double y = t.step(200.0 * std::sin(i * 0.003));
    ASSERT_TRUE(std::isfinite(y));
    ASSERT_GE(t.cathodeVoltage(), 0.0);
  }
}

}  // namespace
}  // namespace vortan

#include "ferro/model/power_amp.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <memory>

#include "ferro/model/fixed_curves.h"

namespace Ostra {
namespace {

std::unique_ptr<PowerAmp> MakeAmp(double bias, int type) {
  auto pa = std::make_unique<PowerAmp>();
  pa->Setup(88200.0, 0.5, 0.065, false);
  pa->SetValveType(type);
  pa->SetBias(bias);
  return pa;
}

TEST(PowerAmp, PushPullCurveOfThe6L6GCAtMinus51Volts) {
  auto pa = MakeAmp(-51.0, 0);
  const double k = pa->Gain();
  std::printf("6L6GC at -51 V: K = %.5f, curve %.5f at +11 V, %.5f at -11 V\n", k, pa->push_pull[0],
              pa->push_pull[PowerAmp::kPushPullSize - 1]);
  EXPECT_NEAR(k, 16.098, 0.01 * 16.098);
  EXPECT_NEAR(pa->push_pull[0], 20.403, 0.02);
  EXPECT_NEAR(pa->push_pull[PowerAmp::kPushPullSize - 1], -20.413, 0.02);
  // Both grids at the bias give equal plate voltages.
  EXPECT_NEAR(pa->push_pull_table.LookupCubic(0.0), 0.0, 1e-3);
  // Saturated well before the ends; clamps to entries 3 and 2996 beyond them.
  EXPECT_NEAR(pa->push_pull_table.LookupCubic(8.0), pa->push_pull[0], 0.05);
  EXPECT_EQ(pa->push_pull_table.LookupCubic(50.0), pa->push_pull[3]);
  EXPECT_EQ(pa->push_pull_table.LookupCubic(-50.0), pa->push_pull[2996]);
}

TEST(PowerAmp, EveryValveAndBiasGivesARisingCurveThroughZero) {
  for (int type = 0; type < PowerAmp::kValveTypes; ++type) {
    for (double bias : {-70.0, -51.0, -39.0, -30.0}) {
      auto pa = MakeAmp(bias, type);
      EXPECT_GT(pa->Gain(), 1.0) << type << " " << bias;
      EXPECT_NEAR(pa->push_pull_table.LookupCubic(0.0), 0.0, 1e-2) << type << " " << bias;
      // Cubic lookups of the valve curve near its saturated end may wiggle by
      // some microvolts where the curve is flat; nothing larger.
      for (int i = 1; i < PowerAmp::kPushPullSize; ++i) {
        ASSERT_LE(pa->push_pull[i], pa->push_pull[i - 1] + 1e-4) << type << " " << bias;
      }
    }
  }
}

TEST(PowerAmp, BiasChangeRedesignsTheNetworkButValveChangeAloneDoesNot) {
  auto pa = MakeAmp(-51.0, 0);
  const double k_6l6 = pa->Gain();
  EXPECT_EQ(pa->network.K, k_6l6);
  pa->SetValveType(1);
  EXPECT_NE(pa->Gain(), k_6l6);
  EXPECT_EQ(pa->network.K, k_6l6);  // still the previous design
  EXPECT_EQ(pa->valve_curve.table, curves::kPowerValveCurves[1]);
  pa->SetValveType(9);  // no such valve: the EL34 stays
  EXPECT_EQ(pa->ValveType(), 1);
  EXPECT_EQ(pa->valve_curve.table, curves::kPowerValveCurves[1]);
  pa->SetBias(-39.0);
  EXPECT_EQ(pa->Bias(), -39.0);
  EXPECT_EQ(pa->network.K, pa->Gain());
  EXPECT_DOUBLE_EQ(pa->network.invK, 1.0 / pa->Gain());
}

TEST(PowerAmp, NetworkDesignFollowsPresenceLowEndAndHifi) {
  auto pa = MakeAmp(-51.0, 0);
  EXPECT_DOUBLE_EQ(pa->network.Rp, 10000.0 * 0.5 / 5.0);
  EXPECT_DOUBLE_EQ(pa->network.Rr, 550000.0 * 0.065);
  const FeedbackNetwork before = pa->network;
  pa->Setup(88200.0, 0.5, 0.065, true);
  EXPECT_EQ(pa->network.C2, 3.31e-8);
  EXPECT_EQ(before.C2, 1.331e-7);
  EXPECT_EQ(pa->network.Rp, before.Rp);
  EXPECT_EQ(pa->network.Rr, before.Rr);
  EXPECT_EQ(pa->network.gq, before.gq);
  EXPECT_NE(pa->network.invD, before.invD);
}

// Peak output for a sine of amplitude a at f Hz, after settling.
double SinePeak(PowerAmp& pa, double a, double f) {
  double peak = 0.0;
  for (int i = 0; i < 88200; ++i) {
    double w = a * std::sin(2.0 * 3.141592653589793 * f * i / 88200.0);
    pa.Process(w);
    EXPECT_TRUE(std::isfinite(w));
    if (i > 44100) peak = std::fmax(peak, std::fabs(w));
  }
  return peak;
}

TEST(PowerAmp, FullPresenceStaysFiniteAndTheStageSaturates) {
  auto pa = MakeAmp(-51.0, 0);
  pa->Setup(88200.0, 1.0, 0.9999, false);
  EXPECT_EQ(pa->network.Rp, 0.0);
  EXPECT_TRUE(std::isfinite(pa->network.invD));
  EXPECT_TRUE(std::isfinite(pa->network.gh));
  const double small = SinePeak(*pa, 0.01, 1000.0);
  const double large = SinePeak(*pa, 10.0, 1000.0);
  EXPECT_GT(small, 0.01);            // the stage amplifies
  EXPECT_LT(large, 1000.0 * small);  // and saturates
  EXPECT_LT(large, 25.0);
}

}  // namespace
}  // namespace Ostra

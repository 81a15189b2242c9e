#include "ferro/model/triode_stage.h"

#include <gtest/gtest.h>

#include <cmath>

#include "ferro/model/koren_triode.h"

namespace Ostra {
namespace {

constexpr double kRate = 88200.0;

// The RED second stage: 340 V, 100k plate, 1820 cathode, 1.47M load, 470k grid.
void SetupRed2(TriodeStage& s) {
  s.Setup(kRate, 340.0, 100000.0, 1820.0, 1470000.0, 470000.0, 1e-6);
}

TEST(TriodeStage, OperatingPointSatisfiesTheValveLawAndOhmsLaw) {
  TriodeStage s;
  SetupRed2(s);
  EXPECT_GT(s.Iq, 1e-4);
  EXPECT_LT(s.Iq, 340.0 / 100000.0);
  EXPECT_DOUBLE_EQ(s.Vq, 340.0 - s.Iq * 100000.0);
  const double vp = 340.0 - s.Iq * (100000.0 + 1820.0);
  EXPECT_NEAR(KorenTriode::PlateCurrent(-s.Iq * 1820.0, vp), s.Iq, 1e-3 * s.Iq);
  EXPECT_DOUBLE_EQ(s.Imax, s.Vq / s.Rpar + s.Iq);
  EXPECT_DOUBLE_EQ(s.Vk, s.Iq * 1820.0);
}

TEST(TriodeStage, EveryCurveEntryLiesOnTheLoadLine) {
  TriodeStage s;
  SetupRed2(s);
  for (int i = 0; i < TriodeStage::kCurveSize; i += 7) {
    const double vg = 7.0 - 0.009 * i;
    const double ip = s.curve.table[i];
    const double vp = s.Vq + (s.Iq - ip) * s.Rpar;
    EXPECT_NEAR(KorenTriode::ClampedPlateCurrent(vg, vp, s.Imax), ip, 1e-9 + 1e-7 * ip) << i;
    if (i > 0) {
      EXPECT_LE(ip, s.curve.table[i - 7]);
    }
  }
  EXPECT_EQ(s.curve.table[TriodeStage::kCurveSize - 1], 1e-8);  // cut off at -11 V
  EXPECT_EQ(s.curve.LookupLinear(7.5), s.curve.table[0]);
  EXPECT_EQ(s.curve.LookupLinear(-11.0), s.curve.table[TriodeStage::kCurveSize - 1]);
}

TEST(TriodeStage, IdenticalCircuitsShareBitIdenticalCurves) {
  TriodeStage a;
  TriodeStage b;
  SetupRed2(a);
  b.Setup(2.0 * kRate, 340.0, 100000.0, 1820.0, 1470000.0, 10.0, 2e-6);  // Rg, Ck, rate differ
  EXPECT_EQ(a.curve.table, b.curve.table);
  TriodeSolution fresh;
  SolveTriode(340.0, 100000.0, 1820.0, 1470000.0, &fresh);
  EXPECT_EQ(fresh.Iq, a.Iq);
  EXPECT_EQ(fresh.Vq, a.Vq);
  for (int i = 0; i < TriodeStage::kCurveSize; ++i) ASSERT_EQ(fresh.curve[i], a.curve.table[i]);
}

TEST(TriodeStage, SilenceSettlesToAConstantPlateVoltageNearQuiescent) {
  TriodeStage s;
  SetupRed2(s);
  double w = 0.0;
  double previous = 0.0;
  for (int i = 0; i < 200000; ++i) {
    previous = w;
    w = 0.0;
    s.Process(w);
  }
  EXPECT_NEAR(w, s.Vq, 0.01 * s.Vq);
  EXPECT_NEAR(w, previous, 1e-9);
  EXPECT_TRUE(std::isfinite(s.iC));
}

TEST(TriodeStage, GridConductionFollowsItsLawAndBiasesTheStageOff) {
  TriodeStage s;
  SetupRed2(s);
  for (int i = 0; i < 100000; ++i) {
    double w = 0.0;
    s.Process(w);
  }
  const double vk_rest = s.Vk;
  // A grid exactly at the cathode draws nothing.
  double w = vk_rest - 1e-12;
  s.Process(w);
  EXPECT_EQ(s.Ig, 0.0);
  // Driven 3 V above the cathode, grid current flows: Ig = Kg (u + u^2) with
  // u = Vx - Vk, and Vg - Vx = Rg Ig.
  double vk = s.Vk;
  for (int i = 0; i < 2000; ++i) {
    const double vk_before = s.Vk;
    w = vk_rest + 3.0;
    s.Process(w);
    if (i == 0) {
      const double u = s.Vx - vk_before;
      EXPECT_GT(s.Ig, 0.0);
      EXPECT_NEAR(s.Ig, TriodeStage::kGridCoefficient * (u + u * u), 1e-9);
      EXPECT_NEAR(s.Vg - s.Vx, s.Rg * s.Ig, 1e-9);
    }
    EXPECT_GE(s.Vk, vk - 1e-12);
    vk = s.Vk;
  }
  // The cathode climbed towards the grid, beyond what the plate current alone
  // gives at that drive.
  EXPECT_GT(s.Vk, vk_rest + 0.5);
  const double vk_conducting = s.Vk;
  TriodeStage no_grid;
  no_grid.Setup(kRate, 340.0, 100000.0, 1820.0, 1470000.0, 1e12, 1e-6);  // grid current ~ 0
  for (int i = 0; i < 100000; ++i) {
    double z = 0.0;
    no_grid.Process(z);
  }
  for (int i = 0; i < 2001; ++i) {
    double z = vk_rest + 3.0;
    no_grid.Process(z);
  }
  EXPECT_GT(vk_conducting, no_grid.Vk);
}

}  // namespace
}  // namespace Ostra

#include "vortan/model/channel_a.h"

#include <gtest/gtest.h>

#include <cmath>

namespace vortan {
namespace {

constexpr double kFsI = 176400.0;

void runOne(ChannelA& a, double x, const ControlValues& c) {
  double s[1] = {x};
  a.process(s, 0.3, c);
}

ControlValues brightOn(double drive) {
  EngineControls ctl;
  ctl.setControl(EngineParam::kChaDrive, static_cast<float>(drive));
  ctl.setSwitch(EngineParam::kChaBright, true);
  return ctl.read();
}

TEST(ChannelA, BrightShelfKeepsItsDesignWhileTheGainMatches) {
  ChannelA a;
  a.designStages(kFsI);
  a.design(kFsI);
  EXPECT_EQ(a.bright.gain, 0.333);
  const double b0 = a.bright.b0, b1 = a.bright.b1, b2 = a.bright.b2;
  ControlValues c = brightOn(0.5);
  c.Dg = 0.333;  // the designed gain exactly
  runOne(a, 0.1, c);
  EXPECT_EQ(a.bright.b0, b0);
  EXPECT_EQ(a.bright.b1, b1);
  EXPECT_EQ(a.bright.b2, b2);
}

TEST(ChannelA, DriveChangeRecomputesTheBrightNumeratorOnlyWithBrightOn) {
  ChannelA a;
  a.designStages(kFsI);
  a.design(kFsI);
  ControlValues c = brightOn(0.8);
  c.aBright = false;
  runOne(a, 0.1, c);
  EXPECT_EQ(a.bright.gain, 0.333) << "bright off leaves the shelf alone";
  c.aBright = true;
  runOne(a, 0.1, c);
  EXPECT_EQ(a.bright.gain, c.Dg);
  EXPECT_EQ(a.bright.b0, c.Dg * a.bright.t2 + c.Dq * a.bright.t + 1.0);
  // A sample-rate design brings the shelf back to 0.333.
  a.design(kFsI);
  EXPECT_EQ(a.bright.gain, 0.333);
}

TEST(ChannelA, OnlyTheSelectedVoicingStackRuns) {
  ChannelA a;
  a.designStages(kFsI);
  a.design(kFsI);
  ControlValues c = EngineControls().read();
  runOne(a, 0.1, c);
  EXPECT_EQ(a.open.updateCount(), 1u);
  EXPECT_EQ(a.focus.updateCount(), 0u);
  c.aFocus = true;
  c.aMid = 0.9;
  runOne(a, 0.1, c);
  EXPECT_EQ(a.open.updateCount(), 1u);
  EXPECT_EQ(a.focus.updateCount(), 1u);
}

}  // namespace
}  // namespace vortan

namespace vortan {
namespace {

// The pair schedule the engine uses must match the plain per-sample path bit
// for bit, through every voicing and while controls change.
TEST(ChannelA, PairScheduleMatchesThePerSamplePath) {
  ChannelA pair, single;
  pair.designStages(kFsI);
  pair.design(kFsI);
  single = pair;
  EngineControls ctl;
  for (int i = 0; i < 4000; ++i) {
    if (i % 500 == 0) {
      const int k = i / 500;
      ctl.setSwitch(EngineParam::kCleanCrunch, k & 1);
      ctl.setSwitch(EngineParam::kChaBright, k & 2);
      ctl.setSwitch(EngineParam::kChaBottom, k & 4);
      ctl.setSwitch(EngineParam::kChaOpenFocus, k & 1);
      ctl.setControl(EngineParam::kChaDrive, 0.1f * static_cast<float>(k));
      ctl.setControl(EngineParam::kChaMid, 0.9f - 0.1f * static_cast<float>(k));
    }
    const ControlValues c = ctl.read();
    double x[2] = {2.0 * std::sin(i * 0.01), 2.0 * std::sin(i * 0.01 + 0.005)};
    double s0[1] = {x[0]}, s1[1] = {x[1]};
    pair.process(x, 0.4, c);
    single.process(s0, 0.4, c);
    single.process(s1, 0.4, c);
    ASSERT_EQ(x[0], s0[0]) << i;
    ASSERT_EQ(x[1], s1[0]) << i;
  }
}

}  // namespace
}  // namespace vortan

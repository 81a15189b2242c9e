#include "vortan/model/channel_a.h"

#include <gtest/gtest.h>

#include <cmath>

namespace vortan {
namespace {

constexpr double kFsI = 176400.0;

ChannelA designed() {
  ChannelA a;
  a.designStages(kFsI);
  a.design(kFsI);
  return a;
}

void runOne(ChannelA& a, const ControlValues& c) {
  double s[1] = {0.1};
  a.process(s, 0.3, c);
}

TEST(ChannelA, BrightNumeratorFollowsTheDriveOnlyWithBrightOn) {
  ChannelA a = designed();
  const double b0 = a.bright.b0;
  EngineControls ctl;
  ctl.setControl(EngineParam::kChaDrive, 0.8f);
  ControlValues c = ctl.read();
  runOne(a, c);
  EXPECT_EQ(a.bright.gain, 0.333) << "bright off leaves the shelf alone";
  c.aBright = true;
  c.Dg = 0.333;  // the designed gain exactly: no recomputation
  runOne(a, c);
  EXPECT_EQ(a.bright.b0, b0);
  c = ctl.read();
  c.aBright = true;
  runOne(a, c);
  EXPECT_EQ(a.bright.gain, c.Dg);
  EXPECT_EQ(a.bright.b0, c.Dg * a.bright.t2 + c.Dq * a.bright.t + 1.0);
  a.design(kFsI);
  EXPECT_EQ(a.bright.gain, 0.333) << "a rate design restores the 0.333 shelf";
}

// The engine runs pairs element by element; that must match the plain
// per-sample path bit for bit through every voicing while controls change.
TEST(ChannelA, PairScheduleMatchesThePerSamplePath) {
  ChannelA pair = designed(), single = pair;
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
  EXPECT_EQ(pair.focus.updateCount(), single.focus.updateCount());
}

}  // namespace
}  // namespace vortan

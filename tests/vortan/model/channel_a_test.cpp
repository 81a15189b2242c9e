#include "vortan/model/channel_a.h"

#include <gtest/gtest.h>

namespace vortan {
namespace {

constexpr double kFsI = 176400.0;

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
  a.process(0.1, 0.3, c);
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
  a.process(0.1, 0.3, c);
  EXPECT_EQ(a.bright.gain, 0.333) << "bright off leaves the shelf alone";
  c.aBright = true;
  a.process(0.1, 0.3, c);
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
  a.process(0.1, 0.3, c);
  EXPECT_EQ(a.open.updateCount(), 1u);
  EXPECT_EQ(a.focus.updateCount(), 0u);
  c.aFocus = true;
  c.aMid = 0.9;
  a.process(0.1, 0.3, c);
  EXPECT_EQ(a.open.updateCount(), 1u);
  EXPECT_EQ(a.focus.updateCount(), 1u);
}

}  // namespace
}  // namespace vortan

#include "vortan/model/channel_b.h"

#include <gtest/gtest.h>

#include <cmath>

namespace vortan {
namespace {

TEST(ChannelB, PairScheduleMatchesThePerSamplePath) {
  ChannelB pair;
  pair.designStages(176400.0);
  pair.design(176400.0);
  ChannelB single = pair;
  EngineControls ctl;
  for (int i = 0; i < 4000; ++i) {
    if (i % 500 == 0) {
      const int k = i / 500;
      ctl.setSwitch(EngineParam::kLowHighGain, k & 1);
      ctl.setSwitch(EngineParam::kChbBright, k & 2);
      ctl.setSwitch(EngineParam::kChbBottom, k & 4);
      ctl.setSwitch(EngineParam::kChbOpenFocus, k & 1);
      ctl.setControl(EngineParam::kChbContour, 0.1f * static_cast<float>(k));
    }
    const ControlValues c = ctl.read();
    double x[2] = {2.0 * std::sin(i * 0.01), 2.0 * std::sin(i * 0.01 + 0.005)};
    double s0[1] = {x[0]}, s1[1] = {x[1]};
    pair.process(x, 0.7, c);
    single.process(s0, 0.7, c);
    single.process(s1, 0.7, c);
    ASSERT_EQ(x[0], s0[0]) << i;
    ASSERT_EQ(x[1], s1[0]) << i;
  }
}

}  // namespace
}  // namespace vortan

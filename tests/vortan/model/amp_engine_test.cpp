#include "vortan/model/amp_engine.h"

#include <gtest/gtest.h>

#include <cmath>

namespace vortan {
namespace {

TEST(AmpEngine, TheUnselectedChannelStandsStill) {
  AmpEngine engine;
  engine.designStages(176400.0);
  engine.design(176400.0);
  ControlValues c = EngineControls().read();
  auto run = [&](int frames) {
    for (int i = 0; i < frames; ++i) {
      engine.processFrame(0.2f * std::sin(static_cast<float>(i) * 0.05f), 0.5, 0.3, 0.6, c, 4);
    }
  };
  c.channelB = true;
  run(500);
  const double vk = engine.a.v1.cathodeVoltage(), y = engine.a.lp.y1;
  const unsigned long updates = engine.a.open.updateCount();
  c.aLow = 0.9;  // a channel A knob turned while B plays costs nothing
  run(500);
  EXPECT_EQ(engine.a.v1.cathodeVoltage(), vk);
  EXPECT_EQ(engine.a.lp.y1, y);
  EXPECT_EQ(engine.a.open.updateCount(), updates);
  c.channelB = false;
  run(1);
  EXPECT_EQ(engine.a.open.updateCount(), updates + 1);
}

TEST(AmpEngine, RateDesignClearsFiltersButNotTriodeStates) {
  AmpEngine engine;
  engine.designStages(176400.0);
  engine.design(176400.0);
  const ControlValues c = EngineControls().read();
  for (int i = 0; i < 300; ++i) engine.processFrame(0.3f, 0.5, 0.3, 0.6, c, 4);
  const double vk = engine.a.v2.cathodeVoltage();
  engine.design(352800.0);
  EXPECT_EQ(engine.a.v2.cathodeVoltage(), vk);
  EXPECT_EQ(engine.a.lp.y1, 0.0);
  EXPECT_EQ(engine.dcBlocker.y1, 0.0);
  EXPECT_EQ(engine.a.open.run(0.5, 0.5, 0.5, 0.5, 0.0), 0.0) << "tone-stack memories cleared";
}

}  // namespace
}  // namespace vortan

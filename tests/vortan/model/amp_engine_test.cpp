#include "vortan/model/amp_engine.h"

#include <gtest/gtest.h>

#include <cmath>

namespace vortan {
namespace {

TEST(AmpEngine, OversamplingFactorByRateAndQuality) {
  EXPECT_EQ(OversamplingFactor(44100.0, false), 4);
  EXPECT_EQ(OversamplingFactor(44100.0, true), 8);
  EXPECT_EQ(OversamplingFactor(48000.0, false), 4);
  EXPECT_EQ(OversamplingFactor(48000.0, true), 8);
  EXPECT_EQ(OversamplingFactor(49999.0, false), 4);
  EXPECT_EQ(OversamplingFactor(50000.0, false), 2);
  EXPECT_EQ(OversamplingFactor(50000.0, true), 4);
  EXPECT_EQ(OversamplingFactor(88200.0, false), 2);
  EXPECT_EQ(OversamplingFactor(88200.0, true), 4);
  EXPECT_EQ(OversamplingFactor(96000.0, false), 2);
  EXPECT_EQ(OversamplingFactor(96000.0, true), 4);
}

class AmpEngineTest : public ::testing::Test {
 protected:
  void SetUp() override {
    engine.designStages(176400.0);
    engine.design(176400.0);
  }
  float run(const ControlValues& c, int frames, int factor = 4) {
    float y = 0.0f;
    for (int i = 0; i < frames; ++i) {
      y = engine.processFrame(0.2f * static_cast<float>(std::sin(i * 0.05)), 0.5, 0.3, 0.6, c,
                              factor);
    }
    return y;
  }
  AmpEngine engine;
};

TEST_F(AmpEngineTest, TheUnselectedChannelStandsStill) {
  ControlValues c = EngineControls().read();
  c.channelB = true;
  run(c, 500);
  const double vkA = engine.a.v1.cathodeVoltage();
  const double yA = engine.a.lp.y1;
  const unsigned long updatesA = engine.a.open.updateCount();
  c.aLow = 0.9;  // a channel A knob turned while B plays
  run(c, 500);
  EXPECT_EQ(engine.a.v1.cathodeVoltage(), vkA);
  EXPECT_EQ(engine.a.lp.y1, yA);
  EXPECT_EQ(engine.a.open.updateCount(), updatesA);
  EXPECT_NE(engine.b.lp3k1.y1, 0.0);
  c.channelB = false;
  run(c, 1);
  EXPECT_EQ(engine.a.open.updateCount(), updatesA + 1);
}

TEST_F(AmpEngineTest, RedesignClearsFiltersButNotHalfbandsOrTriodes) {
  const ControlValues c = EngineControls().read();
  run(c, 300);
  const double vk = engine.a.v2.cathodeVoltage();
  AmpEngine copy = engine;
  copy.design(176400.0);
  EXPECT_EQ(copy.a.v2.cathodeVoltage(), vk);
  EXPECT_EQ(copy.a.lp.y1, 0.0);
  EXPECT_EQ(copy.dcBlocker.y1, 0.0);
  // The half-band memories carry over: the next frame matches an engine
  // whose half-band stages were never touched but whose filters were cleared.
  AmpEngine cleared = engine;
  cleared.design(176400.0);
  cleared.up1.clear();
  EXPECT_NE(copy.processFrame(0.0f, 0.5, 0.3, 0.6, c, 4),
            cleared.processFrame(0.0f, 0.5, 0.3, 0.6, c, 4));
}

TEST_F(AmpEngineTest, EveryFactorGivesTheSameLowBandGain) {
  // A quiet low tone passes each factor's chain with nearly the same level:
  // the conversions are transparent in the guitar band.
  const ControlValues c = EngineControls().read();
  double level[3] = {};
  const int factors[3] = {2, 4, 8};
  for (int k = 0; k < 3; ++k) {
    AmpEngine e;
    const double fsI = 44100.0 * factors[k];
    e.designStages(fsI);
    e.design(fsI);
    double peak = 0.0;
    for (int i = 0; i < 44100; ++i) {
      const float x = 0.01f * static_cast<float>(std::sin(2.0 * M_PI * 200.0 * i / 44100.0));
      const float y = e.processFrame(x, 0.5, 0.3, 0.6, c, factors[k]);
      ASSERT_TRUE(std::isfinite(y));
      if (i > 22050) peak = std::max(peak, std::fabs(static_cast<double>(y)));
    }
    level[k] = 20.0 * std::log10(peak);
  }
  EXPECT_NEAR(level[0], level[2], 0.5);
  EXPECT_NEAR(level[1], level[2], 0.5);
}

}  // namespace
}  // namespace vortan

// What each parameter does to the engines, seen in the engines' controls and
// in which designed networks change.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "ferro/model/tapers.h"
#include "ferro/shell/iplug_ferro.h"

namespace {

using Ostra::GainTaper;
using Ostra::LevelTaper;
using Ostra::OutputTaper;

TEST(Tapers, CheckValues) {
  EXPECT_NEAR(GainTaper(0.0), 0.0001, 1e-12);
  EXPECT_NEAR(GainTaper(0.25), 0.022712, 5e-7);
  EXPECT_NEAR(GainTaper(0.5), 0.0650, 5e-5);
  EXPECT_NEAR(GainTaper(0.75), 0.172429, 5e-7);
  EXPECT_EQ(GainTaper(1.0), 0.9999);
  EXPECT_EQ(LevelTaper(0.0), 0.0);
  EXPECT_NEAR(LevelTaper(0.5), 0.9, 1e-15);
  EXPECT_EQ(LevelTaper(1.0), 1.0);
  EXPECT_EQ(OutputTaper(0.0), 0.0);
  EXPECT_NEAR(OutputTaper(0.5), 1.2, 1e-15);
  EXPECT_NEAR(OutputTaper(1.0), 12.0, 1e-12);
}

template <typename Filter>
std::vector<double> Coefficients(const Filter& f) {
  std::vector<double> v(std::begin(f.b), std::end(f.b));
  v.insert(v.end(), std::begin(f.a), std::end(f.a));
  return v;
}

// Every designed network of one engine, for "what changed" comparisons.
struct Designs {
  explicit Designs(Ostra::Amp_Ferro& e)
      : redInput(Coefficients(e.red_input_network())),
        greenInput(Coefficients(e.green_input_network())),
        redTone(Coefficients(e.red_tone_stack())),
        greenTone(Coefficients(e.green_tone_stack())),
        greenBright(Coefficients(e.green_bright_network())),
        redLead(std::begin(e.red_lead_network().c), std::end(e.red_lead_network().c)) {}
  std::vector<double> redInput, greenInput, redTone, greenTone, greenBright, redLead;
};

class FerroMapping : public ::testing::Test {
 protected:
  FerroMapping() : plug(new IPlug_Ferro(nullptr)) { Dispatch(vst2::effOpen, 0, 0, 0.0f); }
  intptr_t Dispatch(int32_t op, int32_t index, intptr_t value, float opt) {
    return plug->GetAEffect()->dispatcher(plug->GetAEffect(), op, index, value, nullptr, opt);
  }
  void Set(int index, double normalized) { plug->VSTSetParameter(index, normalized); }
  const Ostra::EngineControls& Controls(int side = 0) { return plug->Engine(side).controls(); }
  std::unique_ptr<IPlug_Ferro> plug;
};

TEST_F(FerroMapping, OpenHandsTheSelectedChannelsSetToBothEngines) {
  for (int side = 0; side < 2; ++side) {
    const Ostra::EngineControls& c = Controls(side);
    EXPECT_EQ(c.channel, 1);
    EXPECT_DOUBLE_EQ(c.pre_gain, GainTaper(0.5));
    EXPECT_DOUBLE_EQ(c.post_gain, LevelTaper(0.3));
    EXPECT_DOUBLE_EQ(c.bass, GainTaper(0.5));
    EXPECT_DOUBLE_EQ(c.mid, 0.5);
    EXPECT_DOUBLE_EQ(c.treble, 0.5);
    EXPECT_DOUBLE_EQ(c.presence, 0.5);
    EXPECT_DOUBLE_EQ(c.low_end, GainTaper(0.5));
    EXPECT_TRUE(c.lead_mod);
    EXPECT_FALSE(c.pa_disabled);
    EXPECT_DOUBLE_EQ(c.sample_rate, 88200.0);
  }
  EXPECT_DOUBLE_EQ(plug->InputGain(), 1.0);
  EXPECT_DOUBLE_EQ(plug->OutputGain(), 1.2);
}

TEST_F(FerroMapping, ChannelSwitchSelectsTheOtherSetAndSwitchingBackRestoresIt) {
  Set(kRedTreble, 0.9);
  Set(kGreenTreble, 0.2);
  Set(kGreenInput, 0.25);
  EXPECT_DOUBLE_EQ(Controls().treble, 0.9);
  Set(kChannel, 0.0);
  EXPECT_EQ(Controls().channel, 0);
  EXPECT_DOUBLE_EQ(Controls(1).treble, 0.2);
  EXPECT_DOUBLE_EQ(plug->InputGain(), plug->GetParam(kGreenInput)->Value());
  Set(kChannel, 1.0);
  EXPECT_DOUBLE_EQ(Controls().treble, 0.9);
  EXPECT_DOUBLE_EQ(plug->GetParam(kGreenTreble)->Value(), 0.2);
}

TEST_F(FerroMapping, DisabledPowerAmpFixesThePostGain) {
  Set(kDisablePA, 1.0);
  EXPECT_DOUBLE_EQ(Controls().post_gain, 0.35);
  Set(kRedPostGain, 0.9);
  EXPECT_DOUBLE_EQ(Controls().post_gain, 0.35);
  Set(kDisablePA, 0.0);
  EXPECT_DOUBLE_EQ(Controls().post_gain, LevelTaper(0.9));
}

TEST_F(FerroMapping, QualityPicksTheEngineRateAndHostRateChangesFollow) {
  Set(kOversample, 0.5);  // HIGH
  EXPECT_DOUBLE_EQ(plug->OversamplingFactor(), 4.0);
  EXPECT_DOUBLE_EQ(Controls(1).sample_rate, 176400.0);
  Set(kOversample, 1.0);  // AUTO: same factor
  EXPECT_DOUBLE_EQ(Controls().sample_rate, 176400.0);
  Dispatch(vst2::effSetSampleRate, 0, 0, 48000.0f);
  EXPECT_DOUBLE_EQ(Controls().sample_rate, 192000.0);
  EXPECT_DOUBLE_EQ(plug->StoredHostRate(), 48000.0);
  Set(kOversample, 0.0);
  EXPECT_DOUBLE_EQ(Controls().sample_rate, 96000.0);
  Dispatch(vst2::effSetBlockSize, 0, 256, 0.0f);  // same rate: nothing to redo
  EXPECT_DOUBLE_EQ(Controls().sample_rate, 96000.0);
}

TEST_F(FerroMapping, LeadModAloneRedesignsOnlyTheRedNetworks) {
  Ostra::Amp_Ferro& e = plug->Engine(0);
  const Designs before(e);
  Set(kLeadMod, 0.0);
  const Designs after(e);
  EXPECT_NE(after.redInput, before.redInput);
  EXPECT_NE(after.redTone, before.redTone);
  EXPECT_NE(after.redLead, before.redLead);
  EXPECT_EQ(after.greenInput, before.greenInput);
  EXPECT_EQ(after.greenTone, before.greenTone);
  EXPECT_EQ(after.greenBright, before.greenBright);
}

TEST_F(FerroMapping, CrunchOnRedRedesignsOnlyTheGreenInputNetwork) {
  Ostra::Amp_Ferro& e = plug->Engine(0);
  const Designs before(e);
  Set(kGreenCrunch, 1.0);
  const Designs after(e);
  EXPECT_NE(after.greenInput, before.greenInput);
  EXPECT_EQ(after.redInput, before.redInput);
  EXPECT_EQ(after.redTone, before.redTone);
  EXPECT_EQ(after.greenTone, before.greenTone);
  EXPECT_EQ(after.redLead, before.redLead);
}

TEST_F(FerroMapping, TinyKnobMovesDoNotRedesign) {
  Ostra::Amp_Ferro& e = plug->Engine(0);
  const Designs before(e);
  Set(kRedPreGain, 0.5 + 2e-6);  // the tapered value moves by about 5e-7
  Set(kRedMid, 0.5 + 1e-7);
  const Designs after(e);
  EXPECT_EQ(after.redInput, before.redInput);
  EXPECT_EQ(after.redTone, before.redTone);
  Set(kRedMid, 0.6);
  EXPECT_NE(Designs(e).redTone, before.redTone);
  EXPECT_NE(Designs(e).greenTone, before.greenTone);  // both stacks follow the selected set
}

}  // namespace

namespace {

TEST_F(FerroMapping, PowerAmpFollowsTypeBiasAndFeedbackButIgnoresTinyBiasMoves) {
  Set(kTubeType, 1.0);  // KT88
  Set(kFeedback, 0.25);
  for (int side = 0; side < 2; ++side) {
    EXPECT_EQ(plug->Engine(side).power_amp().ValveType(), 3);
    EXPECT_DOUBLE_EQ(plug->Engine(side).power_amp().feedback, 0.25);
  }
  Set(kBias, 0.25);
  EXPECT_DOUBLE_EQ(plug->Engine(1).power_amp().Bias(), -60.0);
  const double gain = plug->Engine(0).power_amp().Gain();
  plug->GetParam(kBias)->SetClamped(-60.0 + 1e-10);
  plug->OnParamChange(kBias);
  EXPECT_DOUBLE_EQ(plug->Engine(0).power_amp().Bias(), -60.0);
  EXPECT_DOUBLE_EQ(plug->Engine(0).power_amp().Gain(), gain);
}

}  // namespace

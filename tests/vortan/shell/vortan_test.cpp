// The parameter storage and the channel-mode memories, driven directly.
#include "vortan/shell/vortan.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <string>

namespace vortan {
namespace {

class VortanTest : public ::testing::Test {
 protected:
  float Memory(ChannelMode mode, int g) {
    return plugin.bank().program(plugin.getProgram()).body.memory[static_cast<int>(mode)].g[g];
  }
  std::string Display(int index) {
    char text[64] = {};
    plugin.getParameterDisplay(index, text);
    return text;
  }
  Vortan plugin{nullptr};
};

TEST_F(VortanTest, ChannelSwitchRecallsOnlyInputAndVolumeOfTheNewMode) {
  plugin.setParameter(kInput, 0.2f);  // A-clean memory
  plugin.setParameter(kChaDrive, 0.9f);
  plugin.setParameter(kChannel, 1.0f);
  EXPECT_EQ(plugin.channelMode(), ChannelMode::BLow);
  EXPECT_EQ(plugin.getParameter(kInput), 0.5f);
  plugin.setParameter(kInput, 0.8f);
  plugin.setParameter(kVolume, 0.7f);
  EXPECT_EQ(Memory(ChannelMode::BLow, ModeMemory::kInput), 0.8f);
  EXPECT_EQ(Memory(ChannelMode::BLow, ModeMemory::kVolume), 0.7f);

  plugin.setParameter(kChannel, 0.0f);
  EXPECT_EQ(plugin.getParameter(kInput), 0.2f);
  EXPECT_EQ(plugin.getParameter(kVolume), 0.5f);
  EXPECT_EQ(plugin.getParameter(kChaDrive), 0.9f);
  plugin.setParameter(kChannel, 1.0f);
  EXPECT_EQ(plugin.getParameter(kInput), 0.8f);
  EXPECT_EQ(plugin.getParameter(kVolume), 0.7f);
  EXPECT_EQ(Memory(ChannelMode::AClean, ModeMemory::kInput), 0.2f) << "switching wrote nothing";
}

TEST_F(VortanTest, KnobOfTheOtherChannelGoesToThatChannelsGainModeMemory) {
  plugin.setParameter(kCleanCrunch, 1.0f);  // A-crunch, recalls its defaults
  plugin.setParameter(kChannel, 1.0f);
  plugin.setParameter(kChaDrive, 0.3f);
  plugin.setParameter(kChaBright, 1.0f);
  EXPECT_EQ(Memory(ChannelMode::ACrunch, ModeMemory::kDrive), 0.3f);
  EXPECT_EQ(Memory(ChannelMode::ACrunch, ModeMemory::kBright), 1.0f);
  EXPECT_EQ(Memory(ChannelMode::AClean, ModeMemory::kDrive), 0.5f);
  EXPECT_EQ(Memory(ChannelMode::BLow, ModeMemory::kDrive), 0.5f);
  EXPECT_EQ(Display(kChaDrive), "0.300000");
  EXPECT_TRUE(plugin.flag(Switch::kABright));
  EXPECT_EQ(plugin.channelMode(), ChannelMode::BLow);
}

TEST_F(VortanTest, GainSwitchOfTheSelectedChannelRecallsItsWholeMemory) {
  plugin.setParameter(kChaDrive, 0.1f);
  plugin.setParameter(kChaMid, 0.2f);
  plugin.setParameter(kChaOpenFocus, 1.0f);
  plugin.setParameter(kVolume, 0.9f);
  plugin.setParameter(kCleanCrunch, 1.0f);
  EXPECT_EQ(plugin.channelMode(), ChannelMode::ACrunch);
  EXPECT_EQ(plugin.getParameter(kChaDrive), 0.5f);
  EXPECT_EQ(plugin.getParameter(kChaMid), 0.5f);
  EXPECT_EQ(plugin.getParameter(kVolume), 0.5f);
  EXPECT_FALSE(plugin.flag(Switch::kAOpenFocus));
  plugin.setParameter(kCleanCrunch, 0.0f);
  EXPECT_EQ(plugin.getParameter(kChaDrive), 0.1f);
  EXPECT_EQ(plugin.getParameter(kChaMid), 0.2f);
  EXPECT_EQ(plugin.getParameter(kVolume), 0.9f);
  EXPECT_TRUE(plugin.flag(Switch::kAOpenFocus));

  plugin.setParameter(kChannel, 1.0f);
  plugin.setParameter(kChbBottom, 1.0f);
  plugin.setParameter(kChbHigh, 0.6f);
  plugin.setParameter(kLowHighGain, 1.0f);
  EXPECT_EQ(plugin.channelMode(), ChannelMode::BHigh);
  EXPECT_FALSE(plugin.flag(Switch::kBBottom));
  EXPECT_EQ(plugin.getParameter(kChbHigh), 0.5f);
  plugin.setParameter(kLowHighGain, 0.0f);
  EXPECT_TRUE(plugin.flag(Switch::kBBottom));
  EXPECT_EQ(plugin.getParameter(kChbHigh), 0.6f);
}

TEST_F(VortanTest, CleanCrunchWhileChannelBPlaysOnlyStoresTheFlag) {
  plugin.setParameter(kChaDrive, 0.1f);  // A-clean
  plugin.setParameter(kChannel, 1.0f);
  plugin.setParameter(kInput, 0.8f);  // B-low
  plugin.setParameter(kCleanCrunch, 1.0f);
  EXPECT_TRUE(plugin.flag(Switch::kACrunch));
  EXPECT_EQ(plugin.getParameter(kInput), 0.8f);
  EXPECT_EQ(plugin.getParameter(kChaDrive), 0.1f);

  plugin.setParameter(kChannel, 0.0f);  // into A-crunch: Input and Volume only
  EXPECT_EQ(plugin.channelMode(), ChannelMode::ACrunch);
  EXPECT_EQ(plugin.getParameter(kInput), 0.5f);
  EXPECT_EQ(plugin.getParameter(kChaDrive), 0.1f);
  EXPECT_EQ(Memory(ChannelMode::ACrunch, ModeMemory::kDrive), 0.5f);
}

TEST_F(VortanTest, SwitchesTurnOnAtOneHalf) {
  plugin.setParameter(kMonoStereo, 0.49f);
  EXPECT_FALSE(plugin.flag(Switch::kStereo));
  EXPECT_EQ(plugin.getParameter(kMonoStereo), 0.49f) << "the value itself is kept";
  plugin.setParameter(kMonoStereo, 0.5f);
  EXPECT_TRUE(plugin.flag(Switch::kStereo));
  plugin.setParameter(kChannel, 0.49f);
  EXPECT_EQ(plugin.channelMode(), ChannelMode::AClean);
}

TEST_F(VortanTest, LoadingAProgramLeavesItsStoredBytesAsTheyWere) {
  // Toggling Clean/Crunch while B plays leaves channel A's knobs out of step
  // with the memory of A's new gain mode; loading must not "repair" either.
  plugin.setParameter(kChaDrive, 0.1f);
  plugin.setParameter(kChannel, 1.0f);
  plugin.setParameter(kCleanCrunch, 1.0f);
  plugin.setParameter(kChbDrive, 0.7f);
  ProgramRecord saved = plugin.bank().program(0);

  plugin.setProgram(1);
  EXPECT_EQ(plugin.getParameter(kChaDrive), 0.5f);
  EXPECT_EQ(plugin.channelMode(), ChannelMode::AClean);
  plugin.setProgram(0);
  EXPECT_EQ(std::memcmp(&plugin.bank().program(0), &saved, sizeof(saved)), 0);
  EXPECT_EQ(plugin.channelMode(), ChannelMode::BLow);
  EXPECT_TRUE(plugin.flag(Switch::kACrunch));
  EXPECT_EQ(plugin.getParameter(kChaDrive), 0.1f);
  EXPECT_EQ(plugin.getParameter(kChbDrive), 0.7f);
  EXPECT_EQ(std::memcmp(&plugin.bank().live(), &saved.body, sizeof(saved.body)), 0);
}

TEST_F(VortanTest, EditsChangeTheCurrentProgramOnly) {
  plugin.setProgram(4);
  plugin.setParameter(kChbMid, 0.25f);
  EXPECT_EQ(plugin.bank().program(4).body.values[ParamInfoOf(kChbMid).slot], 0.25f);
  EXPECT_EQ(plugin.bank().program(0).body.values[ParamInfoOf(kChbMid).slot], 0.5f);
  plugin.setProgram(10);
  plugin.setProgram(-1);
  EXPECT_EQ(plugin.getProgram(), 4);
}

TEST_F(VortanTest, UnusableValuesAndIndicesAreIgnoredOrBounded) {
  plugin.setParameter(kChaLow, std::numeric_limits<float>::quiet_NaN());
  EXPECT_EQ(plugin.getParameter(kChaLow), 0.5f);
  plugin.setParameter(kChaLow, 7.0f);
  EXPECT_EQ(plugin.getParameter(kChaLow), 1.0f);
  plugin.setParameter(kChaLow, -1.0f);
  EXPECT_EQ(plugin.getParameter(kChaLow), 0.0f);
  plugin.setParameter(23, 1.0f);
  plugin.setParameter(-1, 1.0f);
  EXPECT_EQ(plugin.getParameter(23), 0.0f);
  char text[16] = "untouched";
  plugin.getParameterDisplay(23, text);
  plugin.getParameterName(-1, text);
  EXPECT_STREQ(text, "untouched");
}

TEST_F(VortanTest, QualitySwitchHandsTheRedesignToTheAudioThread) {
  EXPECT_FALSE(plugin.redesignPending()) << "construction leaves a complete design";
  plugin.setParameter(kQuality, 1.0f);
  EXPECT_TRUE(plugin.redesignPending());
  float in[2][4] = {{1, 1, 1, 1}, {1, 1, 1, 1}};
  float out[2][4] = {{9, 9, 9, 9}, {9, 9, 9, 9}};
  float* ins[2] = {in[0], in[1]};
  float* outs[2] = {out[0], out[1]};
  plugin.processReplacing(ins, outs, 4);
  EXPECT_FALSE(plugin.redesignPending());
  for (int i = 0; i < 4; ++i) EXPECT_TRUE(out[0][i] == 0.0f && out[1][i] == 0.0f);
  plugin.setProgram(0);
  EXPECT_TRUE(plugin.redesignPending());
  plugin.setSampleRate(96000.0f);
  EXPECT_FALSE(plugin.redesignPending());
  EXPECT_EQ(plugin.getSampleRate(), 96000.0f);
}

}  // namespace
}  // namespace vortan

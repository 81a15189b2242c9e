// The parameter storage and the channel-mode memories, driven directly.
#include "vortan/shell/vortan.h"

#include <gtest/gtest.h>

#include <cstring>
#include <limits>

namespace vortan {
namespace {

class VortanTest : public ::testing::Test {
 protected:
  float Memory(ChannelMode mode, int g) {
    return plugin.bank().program(plugin.getProgram()).body.memory[static_cast<int>(mode)].g[g];
  }
  float Get(int index) { return plugin.getParameter(index); }
  void Set(int index, float value) { plugin.setParameter(index, value); }
  Vortan plugin{nullptr};
};

TEST_F(VortanTest, ChannelSwitchRecallsOnlyInputAndVolumeOfTheNewMode) {
  Set(kInput, 0.2f);  // A-clean
  Set(kChaDrive, 0.9f);
  Set(kChannel, 1.0f);  // B-low at its defaults
  EXPECT_EQ(Get(kInput), 0.5f);
  Set(kInput, 0.8f);
  Set(kVolume, 0.7f);
  Set(kChannel, 0.0f);
  EXPECT_EQ(Get(kInput), 0.2f);
  EXPECT_EQ(Get(kVolume), 0.5f);
  EXPECT_EQ(Get(kChaDrive), 0.9f);
  Set(kChannel, 1.0f);
  EXPECT_EQ(Get(kInput), 0.8f);
  EXPECT_EQ(Get(kVolume), 0.7f);
  EXPECT_EQ(Memory(ChannelMode::AClean, ModeMemory::kInput), 0.2f);
}

TEST_F(VortanTest, KnobOfTheOtherChannelGoesToThatChannelsGainModeMemory) {
  Set(kCleanCrunch, 1.0f);
  Set(kChannel, 1.0f);
  Set(kChaDrive, 0.3f);
  Set(kChaBright, 1.0f);
  EXPECT_EQ(Memory(ChannelMode::ACrunch, ModeMemory::kDrive), 0.3f);
  EXPECT_EQ(Memory(ChannelMode::ACrunch, ModeMemory::kBright), 1.0f);
  EXPECT_EQ(Memory(ChannelMode::AClean, ModeMemory::kDrive), 0.5f);
  EXPECT_EQ(Get(kChaDrive), 0.3f);
}

TEST_F(VortanTest, GainSwitchOfTheSelectedChannelRecallsItsWholeMemory) {
  // Channel A's recall order is checked through the editor binding.
  Set(kChannel, 1.0f);
  Set(kChbBottom, 1.0f);
  Set(kChbHigh, 0.6f);
  Set(kLowHighGain, 1.0f);
  EXPECT_EQ(plugin.channelMode(), ChannelMode::BHigh);
  EXPECT_FALSE(plugin.flag(Switch::kBBottom));
  EXPECT_EQ(Get(kChbHigh), 0.5f);
  Set(kLowHighGain, 0.0f);
  EXPECT_TRUE(plugin.flag(Switch::kBBottom));
  EXPECT_EQ(Get(kChbHigh), 0.6f);
}

TEST_F(VortanTest, CleanCrunchWhileChannelBPlaysOnlyStoresTheFlag) {
  Set(kChaDrive, 0.1f);
  Set(kChannel, 1.0f);
  Set(kInput, 0.8f);
  Set(kCleanCrunch, 1.0f);
  EXPECT_TRUE(plugin.flag(Switch::kACrunch));
  EXPECT_EQ(Get(kInput), 0.8f);
  Set(kChannel, 0.0f);  // into A-crunch: Input and Volume only
  EXPECT_EQ(plugin.channelMode(), ChannelMode::ACrunch);
  EXPECT_EQ(Get(kInput), 0.5f);
  EXPECT_EQ(Get(kChaDrive), 0.1f);
  EXPECT_EQ(Memory(ChannelMode::ACrunch, ModeMemory::kDrive), 0.5f);
}

TEST_F(VortanTest, LoadingAProgramLeavesItsStoredBytesAsTheyWere) {
  // Clean/Crunch toggled while B plays leaves channel A's knobs out of step
  // with the memory of A's new mode; loading must keep both as they are.
  Set(kChaDrive, 0.1f);
  Set(kChannel, 1.0f);
  Set(kCleanCrunch, 1.0f);
  const ProgramRecord saved = plugin.bank().program(0);
  plugin.setProgram(1);
  EXPECT_EQ(plugin.channelMode(), ChannelMode::AClean);
  plugin.setProgram(0);
  EXPECT_EQ(std::memcmp(&plugin.bank().program(0), &saved, sizeof(saved)), 0);
  EXPECT_EQ(std::memcmp(&plugin.bank().live(), &saved.body, sizeof(saved.body)), 0);
  EXPECT_EQ(plugin.channelMode(), ChannelMode::BLow);
  EXPECT_TRUE(plugin.flag(Switch::kACrunch));
}

TEST_F(VortanTest, SwitchesTurnOnAtOneHalfAndUnusableValuesAreIgnored) {
  Set(kMonoStereo, 0.49f);
  EXPECT_FALSE(plugin.flag(Switch::kStereo));
  EXPECT_EQ(Get(kMonoStereo), 0.49f);
  Set(kMonoStereo, 0.5f);
  EXPECT_TRUE(plugin.flag(Switch::kStereo));
  Set(kChaLow, std::numeric_limits<float>::quiet_NaN());
  EXPECT_EQ(Get(kChaLow), 0.5f);
  Set(kChaLow, 7.0f);
  EXPECT_EQ(Get(kChaLow), 1.0f);
  Set(kChaLow, -1.0f);
  EXPECT_EQ(Get(kChaLow), 0.0f);
}

TEST_F(VortanTest, RedesignRunsOnTheAudioThreadAfterQualityOrProgramChanges) {
  EXPECT_FALSE(plugin.redesignPending()) << "construction leaves a complete design";
  Set(kQuality, 1.0f);
  EXPECT_TRUE(plugin.redesignPending());
  float in[4] = {1, 1, 1, 1}, left[4], right[4];
  float* ins[2] = {in, in};
  float* outs[2] = {left, right};
  plugin.processReplacing(ins, outs, 4);
  EXPECT_FALSE(plugin.redesignPending());
  plugin.setProgram(0);
  EXPECT_TRUE(plugin.redesignPending());
  plugin.setSampleRate(96000.0f);  // hosts change the rate only while suspended
  EXPECT_FALSE(plugin.redesignPending());
}

}  // namespace
}  // namespace vortan

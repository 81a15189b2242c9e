#include "vortan/shell/parameter_table.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace vortan {
namespace {

TEST(ParameterTable, SlotsArePermutationAndInverseOfParameterSlots) {
  std::set<int> slots;
  for (int p = 0; p < kNumParams; ++p) {
    const int slot = ParamInfoOf(p).slot;
    slots.insert(slot);
    EXPECT_EQ(ParamOfSlot(slot), p) << "parameter " << p;
  }
  EXPECT_EQ(slots.size(), static_cast<size_t>(kNumParams));
  // The stored layout a saved song depends on, spot-checked at both ends.
  EXPECT_EQ(ParamOfSlot(0), kInput);
  EXPECT_EQ(ParamOfSlot(2), kChbDrive);
  EXPECT_EQ(ParamOfSlot(11), kVolume);
  EXPECT_EQ(ParamOfSlot(16), kLowHighGain);
  EXPECT_EQ(ParamOfSlot(18), kChannel);
  EXPECT_EQ(ParamOfSlot(22), kChbBright);
}

TEST(ParameterTable, ChannelKnobsMapToTheirMemoryValuesBothWays) {
  for (int p = 0; p < kNumParams; ++p) {
    const ParamInfo& info = ParamInfoOf(p);
    if (info.memory == MemoryChannel::kA || info.memory == MemoryChannel::kB) {
      EXPECT_EQ(ChannelParamOfMemoryValue(info.memory, info.memoryValue), p);
      EXPECT_EQ(std::string(info.name).substr(0, 3),
                info.memory == MemoryChannel::kA ? "CHA" : "CHB");
    }
  }
  EXPECT_EQ(ParamInfoOf(kChaBottom).memoryValue, ModeMemory::kBottom);
  EXPECT_EQ(ParamInfoOf(kChbBright).memoryValue, ModeMemory::kBright);
  EXPECT_EQ(ParamInfoOf(kInput).memory, MemoryChannel::kCurrentMode);
  EXPECT_EQ(ParamInfoOf(kVolume).memory, MemoryChannel::kCurrentMode);
  EXPECT_EQ(ParamInfoOf(kChannel).memory, MemoryChannel::kNone);
}

TEST(ParameterTable, ProgramApplyOrderCoversEveryParameterOnce) {
  std::set<int> seen(kProgramApplyOrder, kProgramApplyOrder + kNumParams);
  EXPECT_EQ(seen.size(), static_cast<size_t>(kNumParams));
}

TEST(ParameterTable, SwitchThresholdIsOneHalf) {
  EXPECT_FALSE(SwitchIsOn(0.49f));
  EXPECT_TRUE(SwitchIsOn(0.5f));
}

}  // namespace
}  // namespace vortan

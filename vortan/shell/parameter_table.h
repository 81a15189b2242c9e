// The 23 automatable parameters: their indices, names, kinds, the slot each
// one occupies in a stored program and the mode-memory value it belongs to.
#pragma once

#include "vortan/shell/program_record.h"

namespace vortan {

enum Param : int {
  kInput = 0,
  kChannel = 1,
  kCleanCrunch = 2,
  kLowHighGain = 3,
  kChaDrive = 4,
  kChaLow = 5,
  kChaMid = 6,
  kChaHigh = 7,
  kChaContour = 8,
  kChaOpenFocus = 9,
  kChaBottom = 10,
  kChaBright = 11,
  kChbDrive = 12,
  kChbLow = 13,
  kChbMid = 14,
  kChbHigh = 15,
  kChbContour = 16,
  kChbOpenFocus = 17,
  kChbBottom = 18,
  kChbBright = 19,
  kVolume = 20,
  kMonoStereo = 21,
  kQuality = 22,
};

// The integer flags derived from the switch parameters.
enum class Switch : int {
  kStereo,
  kHighQuality,
  kChannelB,
  kBHighGain,
  kACrunch,
  kAOpenFocus,
  kABottom,
  kABright,
  kBOpenFocus,
  kBBottom,
  kBBright,
  kCount,
};

// Which channel a parameter's mode memory belongs to.
enum class MemoryChannel : int { kNone, kCurrentMode, kA, kB };

struct ParamInfo {
  const char* name;
  int slot;              // position in ProgramBody::values
  bool isSwitch;         // on when the value is 0.5 or more
  Switch flag;           // meaningful for switches only
  MemoryChannel memory;  // which mode memory the value is kept in
  int memoryValue;       // ModeMemory::Value, when memory != kNone
};

constexpr bool IsValidParam(int index) { return index >= 0 && index < kNumParams; }

// The table row of a valid index.
const ParamInfo& ParamInfoOf(int index);

// The parameter stored in a given slot.
int ParamOfSlot(int slot);

// A switch value counts as on from 0.5 up.
constexpr bool SwitchIsOn(float value) { return value >= 0.5f; }

// The order in which loading a program applies its stored values: output
// mode and quality first, then the mode switches (which recall memories),
// then every knob and voicing switch.
extern const int kProgramApplyOrder[kNumParams];

// The memory values a gain-mode switch recalls, in recall order.
constexpr int kGainModeRecallCount = 10;
extern const int kGainModeRecallValues[kGainModeRecallCount];

// The parameter that a memory value of channel A or B stands for.
int ChannelParamOfMemoryValue(MemoryChannel channel, int memoryValue);

}  // namespace vortan

#include "vortan/shell/parameter_table.h"

namespace vortan {
namespace {

using MV = ModeMemory::Value;
constexpr MemoryChannel kNo = MemoryChannel::kNone;
constexpr MemoryChannel kMode = MemoryChannel::kCurrentMode;
constexpr MemoryChannel kA = MemoryChannel::kA;
constexpr MemoryChannel kB = MemoryChannel::kB;
constexpr Switch kNoFlag = Switch::kCount;

// Indexed by parameter.
const ParamInfo kParams[kNumParams] = {
    {"Input", 0, false, kNoFlag, kMode, MV::kInput},
    {"Channel", 18, true, Switch::kChannelB, kNo, 0},
    {"Clean/Crunch", 17, true, Switch::kACrunch, kNo, 0},
    {"Low/High Gain", 16, true, Switch::kBHighGain, kNo, 0},
    {"CHA Drive", 1, false, kNoFlag, kA, MV::kDrive},
    {"CHA Low", 3, false, kNoFlag, kA, MV::kLow},
    {"CHA Mid", 4, false, kNoFlag, kA, MV::kMid},
    {"CHA High", 5, false, kNoFlag, kA, MV::kHigh},
    {"CHA Contour", 6, false, kNoFlag, kA, MV::kContour},
    {"CHA Open/Focus", 14, true, Switch::kAOpenFocus, kA, MV::kOpenFocus},
    {"CHA Bottom", 19, true, Switch::kABottom, kA, MV::kBottom},
    {"CHA Bright", 20, true, Switch::kABright, kA, MV::kBright},
    {"CHB Drive", 2, false, kNoFlag, kB, MV::kDrive},
    {"CHB Low", 7, false, kNoFlag, kB, MV::kLow},
    {"CHB Mid", 8, false, kNoFlag, kB, MV::kMid},
    {"CHB High", 9, false, kNoFlag, kB, MV::kHigh},
    {"CHB Contour", 10, false, kNoFlag, kB, MV::kContour},
    {"CHB Open/Focus", 15, true, Switch::kBOpenFocus, kB, MV::kOpenFocus},
    {"CHB Bottom", 21, true, Switch::kBBottom, kB, MV::kBottom},
    {"CHB Bright", 22, true, Switch::kBBright, kB, MV::kBright},
    {"Volume", 11, false, kNoFlag, kMode, MV::kVolume},
    {"Mono/Stereo", 12, true, Switch::kStereo, kNo, 0},
    {"LowQ/HighQ", 13, true, Switch::kHighQuality, kNo, 0},
};

// Indexed by slot.
const int kSlotParams[kNumParams] = {
    kInput,      kChaDrive,  kChbDrive,     kChaLow,       kChaMid,      kChaHigh,
    kChaContour, kChbLow,    kChbMid,       kChbHigh,      kChbContour,  kVolume,
    kMonoStereo, kQuality,   kChaOpenFocus, kChbOpenFocus, kLowHighGain, kCleanCrunch,
    kChannel,    kChaBottom, kChaBright,    kChbBottom,    kChbBright,
};

// Indexed by ModeMemory::Value; -1 where the value is not a channel knob.
const int kAParams[kNumModeMemoryValues] = {-1,       kChaDrive,   kChaLow,   kChaMid,
                                            kChaHigh, kChaContour, -1,        kChaOpenFocus,
                                            -1,       kChaBottom,  kChaBright};
const int kBParams[kNumModeMemoryValues] = {-1,       kChbDrive,   kChbLow,   kChbMid,
                                            kChbHigh, kChbContour, -1,        kChbOpenFocus,
                                            -1,       kChbBottom,  kChbBright};

}  // namespace

const int kProgramApplyOrder[kNumParams] = {
    kMonoStereo, kQuality,   kLowHighGain,  kCleanCrunch, kChannel,   kInput,
    kChaDrive,   kChbDrive,  kChaLow,       kChaMid,      kChaHigh,   kChaContour,
    kChbLow,     kChbMid,    kChbHigh,      kChbContour,  kVolume,    kChaOpenFocus,
    kChaBright,  kChaBottom, kChbOpenFocus, kChbBright,   kChbBottom,
};

const int kGainModeRecallValues[kGainModeRecallCount] = {
    MV::kInput,   MV::kDrive,  MV::kLow,       MV::kMid,    MV::kHigh,
    MV::kContour, MV::kVolume, MV::kOpenFocus, MV::kBright, MV::kBottom,
};

const ParamInfo& ParamInfoOf(int index) { return kParams[index]; }

int ParamOfSlot(int slot) { return kSlotParams[slot]; }

int ChannelParamOfMemoryValue(MemoryChannel channel, int memoryValue) {
  if (memoryValue == MV::kInput) return kInput;
  if (memoryValue == MV::kVolume) return kVolume;
  if (channel == MemoryChannel::kA) return kAParams[memoryValue];
  if (channel == MemoryChannel::kB) return kBParams[memoryValue];
  return -1;
}

}  // namespace vortan

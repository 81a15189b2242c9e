// The stored form of one program and the working copy of the current values.
// These records are the chunk bytes a host saves with a song, so their layout
// is fixed to the byte: little-endian 32-bit floats, no padding.
#pragma once

#include <cstddef>
#include <cstdint>

namespace vortan {

constexpr int kNumPrograms = 10;
constexpr int kNumParams = 23;
constexpr int kProgramNameSize = 24;  // bytes, terminator included
constexpr int kNumModeMemoryValues = 11;
constexpr int kNumChannelModes = 4;

// The two channels with their gain switch give four modes; the order is the
// order of the memories inside a program.
enum class ChannelMode : int { AClean = 0, ACrunch = 1, BLow = 2, BHigh = 3 };

// The knob settings last used in one channel mode.
struct ModeMemory {
  enum Value : int {
    kInput = 0,
    kDrive = 1,
    kLow = 2,
    kMid = 3,
    kHigh = 4,
    kContour = 5,
    kVolume = 6,
    kOpenFocus = 7,
    kReserved = 8,  // never written after initialisation
    kBottom = 9,
    kBright = 10,
  };
  float g[kNumModeMemoryValues];
};

// Everything of a program except its name: the 23 values in slot order and
// the four mode memories.
struct ProgramBody {
  float values[kNumParams];
  ModeMemory memory[kNumChannelModes];
};

struct ProgramRecord {
  char name[kProgramNameSize];
  ProgramBody body;
};

// The working record: laid out like a program without its name.
using LiveRecord = ProgramBody;

constexpr int kProgramChunkSize = 292;
constexpr int kBankChunkSize = kNumPrograms * kProgramChunkSize;

static_assert(__BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__,
              "chunks are the records' raw bytes, which are little-endian");
static_assert(sizeof(float) == 4, "values are 32-bit floats");
static_assert(sizeof(ModeMemory) == 44, "ModeMemory size");
static_assert(sizeof(ProgramBody) == 268, "ProgramBody size");
static_assert(sizeof(ProgramRecord) == kProgramChunkSize, "ProgramRecord size");
static_assert(offsetof(ProgramRecord, body) == 24, "values start after the name");
static_assert(sizeof(ProgramRecord[kNumPrograms]) == kBankChunkSize, "bank size");

}  // namespace vortan

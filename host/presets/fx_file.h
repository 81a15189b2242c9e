// VST 2 preset files: a program (.fxp) or a bank (.fxb), either as a list of
// parameter values or as the plug-in's opaque chunk. Every field is big-endian.
//
//   program: 'CcnK', byte count of the rest, 'FxCk' | 'FPCh', format version 1,
//            plug-in id, plug-in version, parameter count, 28-byte name, then
//            the values as 32-bit floats ('FxCk') or a 32-bit size and the chunk.
//   bank:    'CcnK', byte count of the rest, 'FxBk' | 'FBCh', format version
//            (1, or 2 with the current program), plug-in id, plug-in version,
//            program count, 128 reserved bytes (version 2: the current program
//            and 124 reserved), then each program as a whole program file
//            ('FxBk') or a 32-bit size and the bank chunk ('FBCh').
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace presets {

constexpr size_t kNameBytes = 28;
// A preset file beyond this is not believed to be one (a bank of hundreds of
// programs of a few hundred parameters stays far below).
constexpr size_t kMaxFileBytes = 64u << 20;

struct FxProgram {
  int32_t pluginId = 0;
  int32_t pluginVersion = 0;
  int32_t numParams = 0;  // as the header gives it; the count of values for a list
  std::string name;       // at most kNameBytes - 1 characters are written
  bool opaque = false;    // 'FPCh': chunk holds the state, values is empty
  std::vector<float> values;
  std::vector<uint8_t> chunk;
};

struct FxBank {
  int32_t formatVersion = 2;
  int32_t pluginId = 0;
  int32_t pluginVersion = 0;
  int32_t numPrograms = 0;
  int32_t currentProgram = 0;  // version 2 only; 0 otherwise
  bool opaque = false;         // 'FBCh': chunk holds the bank, programs is empty
  std::vector<FxProgram> programs;
  std::vector<uint8_t> chunk;
};

struct FxFile {
  bool isBank = false;
  FxProgram program;  // when !isBank
  FxBank bank;        // when isBank
};

// Parses a whole file. False with *error naming what is wrong (truncated,
// a bad magic, a count that does not fit the size ...); *out is then unspecified.
bool ParseFx(const uint8_t* data, size_t size, FxFile* out, std::string* error);

std::vector<uint8_t> WriteProgram(const FxProgram& program);
std::vector<uint8_t> WriteBank(const FxBank& bank);
std::vector<uint8_t> WriteFx(const FxFile& file);

// The four characters of an id ('VRTQ'), or its number when they are not printable.
std::string IdText(int32_t id);

}  // namespace presets

// What amprig keeps between runs, per amplifier: the plug-in's bank and
// program chunks and program number, the cabinet and the two levels. Stored
// in $XDG_CONFIG_HOME/amprig/<amp>.state (~/.config when unset) as a short
// text header and the two chunks as counted raw bytes:
//
//   amprig state 1
//   cab <name or path>
//   gain-db <number>
//   out-level-db <number>
//   program <number>
//   bank <byte count>
//   <bytes>
//   chunk <byte count>
//   <bytes>
//   end
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace amprig {

struct RigState {
  std::string cab = "none";
  double gainDb = 0.0;
  double outLevelDb = 0.0;
  int program = 0;
  std::vector<uint8_t> bank;   // effGetChunk(bank); may be empty
  std::vector<uint8_t> chunk;  // effGetChunk(program); may be empty
};

std::vector<uint8_t> EncodeState(const RigState& state);
// False with *error saying what is wrong; *state is then unspecified.
bool DecodeState(const uint8_t* data, size_t size, RigState* state, std::string* error);

// The state file of an amplifier ("ferro", "vortan" or a module's stem).
std::string StatePath(const std::string& amp);

// Writes through a temporary file, fsync and rename; creates the folder.
bool SaveState(const std::string& path, const RigState& state, std::string* error);

enum class LoadResult { kLoaded, kMissing, kCorrupt, kCorruptKept };
// kCorrupt: the file was renamed to <path>.corrupt-<unix time> and *error says
// why and where it went. kCorruptKept: it could not be moved; the caller must
// not save over it.
LoadResult LoadState(const std::string& path, RigState* state, std::string* error);

}  // namespace amprig

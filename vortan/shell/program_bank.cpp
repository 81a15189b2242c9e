#include "vortan/shell/program_bank.h"

#include <cmath>
#include <cstring>

#include "platform/text/utf8_cut.h"

namespace vortan {
namespace {

constexpr int kContinuousSlots = 12;  // slots 0..11 hold knobs, 12..22 switches
constexpr int kMemoryKnobs = 7;       // g0..g6 are knobs, g7..g10 switches and reserved

// Checks and bounds every float of a body read from a host.
bool SanitizeBody(ProgramBody& body) noexcept {
  constexpr int kFloats = static_cast<int>(sizeof(ProgramBody) / sizeof(float));
  static_assert(sizeof(ProgramBody) == kFloats * sizeof(float), "a body is all floats");
  float all[kFloats];
  std::memcpy(all, &body, sizeof(all));
  for (float& v : all) {
    if (!std::isfinite(v)) return false;
    v = v < 0.0f ? 0.0f : (v > 1.0f ? 1.0f : v);
  }
  std::memcpy(&body, all, sizeof(all));
  return true;
}

}  // namespace

void ProgramBank::reset() noexcept {
  std::memset(programs_, 0, sizeof(programs_));
  for (ProgramRecord& p : programs_) {
    std::memcpy(p.name, "Init", 5);
    for (int k = 0; k < kNumParams; ++k) p.body.values[k] = k < kContinuousSlots ? 0.5f : 0.0f;
    for (ModeMemory& m : p.body.memory) {
      for (int g = 0; g < kNumModeMemoryValues; ++g) m.g[g] = g < kMemoryKnobs ? 0.5f : 0.0f;
    }
  }
  live_ = programs_[0].body;
}

void ProgramBank::copyName(int index, char* text) const noexcept {
  const char* name = programs_[index].name;
  const size_t n = platform::Utf8CutLength(name, kProgramNameSize - 1);
  std::memcpy(text, name, n);
  text[n] = '\0';
}

void ProgramBank::setName(int index, const char* name) noexcept {
  char* field = programs_[index].name;
  const size_t n = platform::Utf8CutLength(name, kProgramNameSize - 1);
  std::memset(field, 0, kProgramNameSize);
  std::memcpy(field, name, n);
}

bool ProgramBank::loadProgram(int index, const void* data) noexcept {
  ProgramRecord incoming;
  std::memcpy(&incoming, data, sizeof(incoming));
  if (!SanitizeBody(incoming.body)) return false;
  programs_[index] = incoming;
  return true;
}

bool ProgramBank::loadBank(const void* data) noexcept {
  ProgramRecord incoming[kNumPrograms];
  std::memcpy(incoming, data, sizeof(incoming));
  for (ProgramRecord& p : incoming) {
    if (!SanitizeBody(p.body)) return false;
  }
  std::memcpy(programs_, incoming, sizeof(programs_));
  return true;
}

}  // namespace vortan

#include "vortan/shell/program_bank.h"

#include <cmath>
#include <cstring>

#include "platform/text/utf8_cut.h"
#include "vortan/shell/relaxed_access.h"

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

float ProgramBank::value(int program, int slot) const noexcept {
  return LoadRelaxed(programs_[program].body.values[slot]);
}

void ProgramBank::setValue(int program, int slot, float value) noexcept {
  StoreRelaxed(programs_[program].body.values[slot], value);
}

void ProgramBank::setMemoryValue(int program, int mode, int g, float value) noexcept {
  StoreRelaxed(programs_[program].body.memory[mode].g[g], value);
}

ModeMemory ProgramBank::memory(int program, int mode) const noexcept {
  ModeMemory m;
  CopyRecordRelaxed(m, programs_[program].body.memory[mode]);
  return m;
}

ProgramBody ProgramBank::body(int program) const noexcept {
  ProgramBody b;
  CopyRecordRelaxed(b, programs_[program].body);
  return b;
}

void ProgramBank::setBody(int program, const ProgramBody& body) noexcept {
  CopyRecordRelaxed(programs_[program].body, body);
}

float ProgramBank::liveValue(int slot) const noexcept { return LoadRelaxed(live_.values[slot]); }

void ProgramBank::setLiveValue(int slot, float value) noexcept {
  StoreRelaxed(live_.values[slot], value);
}

void ProgramBank::setLiveMemoryValue(int mode, int g, float value) noexcept {
  StoreRelaxed(live_.memory[mode].g[g], value);
}

void ProgramBank::setLiveBody(const ProgramBody& body) noexcept { CopyRecordRelaxed(live_, body); }

void ProgramBank::copyName(int index, char* text) const noexcept {
  char name[kProgramNameSize];
  CopyRelaxed(name, programs_[index].name, kProgramNameSize);
  const size_t n = platform::Utf8CutLength(name, kProgramNameSize - 1);
  std::memcpy(text, name, n);
  text[n] = '\0';
}

void ProgramBank::setName(int index, const char* name) noexcept {
  char field[kProgramNameSize] = {};
  std::memcpy(field, name, platform::Utf8CutLength(name, kProgramNameSize - 1));
  CopyRelaxed(programs_[index].name, field, kProgramNameSize);
}

void ProgramBank::copyProgram(int index, ProgramRecord* out) const noexcept {
  CopyRelaxed(out->name, programs_[index].name, kProgramNameSize);
  CopyRecordRelaxed(out->body, programs_[index].body);
}

void ProgramBank::copyBank(ProgramRecord (&out)[kNumPrograms]) const noexcept {
  for (int i = 0; i < kNumPrograms; ++i) copyProgram(i, &out[i]);
}

void ProgramBank::storeRecord(int index, const ProgramRecord& record) noexcept {
  CopyRelaxed(programs_[index].name, record.name, kProgramNameSize);
  CopyRecordRelaxed(programs_[index].body, record.body);
}

bool ProgramBank::loadProgram(int index, const void* data) noexcept {
  ProgramRecord incoming;
  std::memcpy(&incoming, data, sizeof(incoming));
  if (!SanitizeBody(incoming.body)) return false;
  storeRecord(index, incoming);
  return true;
}

bool ProgramBank::loadBank(const void* data) noexcept {
  ProgramRecord incoming[kNumPrograms];
  std::memcpy(incoming, data, sizeof(incoming));
  for (ProgramRecord& p : incoming) {
    if (!SanitizeBody(p.body)) return false;
  }
  for (int i = 0; i < kNumPrograms; ++i) storeRecord(i, incoming[i]);
  return true;
}

}  // namespace vortan

// The bank of 10 stored programs and the working record of current values.
// The chunk a host saves is the raw bytes of this storage.
#pragma once

#include <cstdint>

#include "vortan/shell/program_record.h"

namespace vortan {

class ProgramBank {
 public:
  ProgramBank() noexcept { reset(); }

  // Every program named "Init" with the default knob settings: continuous
  // values 0.5, switches off, each memory's knobs 0.5 and its switches off.
  // Construction only.
  void reset() noexcept;

  // Threads: a host may store from one thread while others read (values for
  // display, names, chunk copies). Every stored float and name byte moves
  // with a relaxed atomic access, so no value is ever torn.

  // Read-only views for tests on the thread that made the changes.
  const ProgramRecord& program(int index) const noexcept { return programs_[index]; }
  const LiveRecord& live() const noexcept { return live_; }

  float value(int program, int slot) const noexcept;
  void setValue(int program, int slot, float value) noexcept;
  void setMemoryValue(int program, int mode, int g, float value) noexcept;
  ModeMemory memory(int program, int mode) const noexcept;
  ProgramBody body(int program) const noexcept;
  void setBody(int program, const ProgramBody& body) noexcept;

  float liveValue(int slot) const noexcept;
  void setLiveValue(int slot, float value) noexcept;
  void setLiveMemoryValue(int mode, int g, float value) noexcept;
  void setLiveBody(const ProgramBody& body) noexcept;

  // The name of a program, at most kProgramNameSize - 1 bytes and a
  // terminator, even when the stored field has no terminator of its own; a
  // name is never cut inside a UTF-8 character.
  void copyName(int index, char* text) const noexcept;
  // Keeps at most kProgramNameSize - 1 bytes (whole UTF-8 characters); the rest of the field is
  // cleared so saved chunks carry no stale bytes.
  void setName(int index, const char* name) noexcept;

  // Snapshots for the chunks handed to a host.
  void copyProgram(int index, ProgramRecord* out) const noexcept;
  void copyBank(ProgramRecord (&out)[kNumPrograms]) const noexcept;

  // Take a chunk over one program or the whole bank. Refused (false, nothing
  // changed) when any value is not a finite number; finite values are kept
  // within 0..1. The size has been checked by the caller.
  bool loadProgram(int index, const void* data) noexcept;
  bool loadBank(const void* data) noexcept;

 private:
  void storeRecord(int index, const ProgramRecord& record) noexcept;

  ProgramRecord programs_[kNumPrograms];
  LiveRecord live_;
};

}  // namespace vortan

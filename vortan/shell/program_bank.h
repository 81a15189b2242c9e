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
  void reset() noexcept;

  ProgramRecord& program(int index) noexcept { return programs_[index]; }
  const ProgramRecord& program(int index) const noexcept { return programs_[index]; }
  LiveRecord& live() noexcept { return live_; }
  const LiveRecord& live() const noexcept { return live_; }

  // The name of a program, at most kProgramNameSize - 1 bytes and a
  // terminator, even when the stored field has no terminator of its own; a
  // name is never cut inside a UTF-8 character.
  void copyName(int index, char* text) const noexcept;
  // Keeps at most kProgramNameSize - 1 bytes (whole UTF-8 characters); the rest of the field is
  // cleared so saved chunks carry no stale bytes.
  void setName(int index, const char* name) noexcept;

  void* bankBytes() noexcept { return programs_; }

  // Take a chunk over one program or the whole bank. Refused (false, nothing
  // changed) when any value is not a finite number; finite values are kept
  // within 0..1. The size has been checked by the caller.
  bool loadProgram(int index, const void* data) noexcept;
  bool loadBank(const void* data) noexcept;

 private:
  ProgramRecord programs_[kNumPrograms];
  LiveRecord live_;
};

}  // namespace vortan

// Feeds arbitrary bytes to the IR reader as a sound file in memory, and what
// it accepts to the cabinet's own checks: nothing may read outside the
// buffer, crash, or accept an IR that is empty, non-finite or silent.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "host/cabinet/cabinet.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  cabinet::ImpulseResponse ir;
  std::string error;
  if (!cabinet::ReadImpulseBytes(data, size, "fuzz input", &ir, &error)) {
    if (error.empty()) std::abort();  // a refusal always says why
    return 0;
  }
  if (ir.frames() == 0 || ir.channels.empty() || ir.channels.size() > 2) std::abort();
  bool nonZero = false;
  for (const auto& ch : ir.channels)
    for (float v : ch) {
      if (!std::isfinite(v)) std::abort();
      nonZero = nonZero || v != 0.0f;
    }
  if (!nonZero) std::abort();
  cabinet::Cabinet::FromImpulse(std::move(ir), &error);
  return 0;
}

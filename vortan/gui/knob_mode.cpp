#include "vortan/gui/knob_mode.h"

#include <atomic>

namespace vortan {
namespace {

std::atomic<int32_t> gKnobMode{kCircularMode};

}  // namespace

int32_t GetKnobMode() noexcept { return gKnobMode.load(std::memory_order_relaxed); }

void SetKnobMode(int32_t mode) noexcept {
  if (mode < kCircularMode || mode > kLinearMode) mode = kCircularMode;
  gKnobMode.store(mode, std::memory_order_relaxed);
}

}  // namespace vortan

// AllpassCascade: a chain of AllpassStage sections in coefficient order, one
// branch of a halfband filter. The stages live inside the cascade (no heap),
// created once and owned for the cascade's lifetime.
#pragma once

#include <cstdint>

#include "ferro/model/allpass_stage.h"

namespace Ostra {

class AllpassCascade {
 public:
  static constexpr int kMaxStages = 6;

  // One stage per coefficient, in array order; counts above kMaxStages are
  // cut to kMaxStages, negative counts give an empty (identity) cascade.
  AllpassCascade(const double* coefficients, int32_t count) noexcept;

  // One sample through every stage. Audio thread.
  double Process(double x) noexcept {
    x = x + 1e-24;
    for (int32_t i = 0; i < count_; ++i) x = stages_[i].Process(x, slot_);
    slot_ ^= 1;
    return x;
  }

  int32_t count() const noexcept { return count_; }
  const AllpassStage& stage(int32_t i) const noexcept { return stages_[i]; }

 private:
  AllpassStage stages_[kMaxStages];
  int32_t count_ = 0;
  int slot_ = 0;  // history slot of the current call
};

}  // namespace Ostra

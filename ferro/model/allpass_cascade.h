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

  // Two consecutive samples at once. They fall into the two history slots,
  // so their recursions are independent and can run side by side; the
  // arithmetic is exactly that of two Process calls. Audio thread.
  void ProcessPair(double& x0, double& x1) noexcept {
    double a = x0 + 1e-24;
    double b = x1 + 1e-24;
    const int first = slot_;
    const int second = slot_ ^ 1;
    for (int32_t i = 0; i < count_; ++i) {
      a = stages_[i].Process(a, first);
      b = stages_[i].Process(b, second);
    }
    x0 = a;
    x1 = b;
  }

  int32_t count() const noexcept { return count_; }
  const AllpassStage& stage(int32_t i) const noexcept { return stages_[i]; }

 private:
  friend class HalfbandFilter;  // its block step runs both branches side by side

  AllpassStage stages_[kMaxStages];
  int32_t count_ = 0;
  int slot_ = 0;  // history slot of the current call
};

}  // namespace Ostra

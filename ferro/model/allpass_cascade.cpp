#include "ferro/model/allpass_cascade.h"

namespace Ostra {

AllpassCascade::AllpassCascade(const double* coefficients, int32_t count) noexcept {
  if (count < 0) count = 0;
  if (count > kMaxStages) count = kMaxStages;
  count_ = count;
  for (int32_t i = 0; i < count_; ++i) stages_[i].a = coefficients[i];
}

}  // namespace Ostra

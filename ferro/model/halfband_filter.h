// HalfbandFilter: polyphase IIR halfband filter of order 12 in its steep form,
// two branches of six second-order allpasses. Branch A sees the current input,
// branch B's output enters one call later; their mean has unity gain at DC,
// is flat to 0.245 of the input rate, -3 dB at 0.25 and rejects at least
// 104 dB from 0.255 to half the rate. The coefficients do not depend on the
// sample rate, so a rate change never touches the filter.
#pragma once

#include "ferro/model/allpass_cascade.h"

namespace Ostra {

class HalfbandFilter {
 public:
  static constexpr int kStagesPerBranch = 6;  // order 12
  static const double kSteepBranchA[kStagesPerBranch];
  static const double kSteepBranchB[kStagesPerBranch];

  HalfbandFilter() noexcept;

  // One sample in, one sample out. Audio thread.
  double Process(double x) noexcept {
    const double out = (branch_a_.Process(x + 1e-24) + delayed_b_) * 0.5;
    delayed_b_ = branch_b_.Process(x);
    last_output_ = out;
    return out;
  }

  double last_output() const noexcept { return last_output_; }

 private:
  AllpassCascade branch_a_;
  AllpassCascade branch_b_;
  double last_output_ = 0.0;
  double delayed_b_ = 0.0;
};

}  // namespace Ostra

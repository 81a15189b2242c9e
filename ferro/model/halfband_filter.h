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

  // Two consecutive samples in place, the same arithmetic as two Process
  // calls: branch A's and branch B's recursions for both samples are
  // independent and overlap. Audio thread.
  void ProcessPair(double& x0, double& x1) noexcept {
    double a0 = x0 + 1e-24;
    double a1 = x1 + 1e-24;
    double b0 = x0;
    double b1 = x1;
    branch_a_.ProcessPair(a0, a1);
    branch_b_.ProcessPair(b0, b1);
    x0 = (a0 + delayed_b_) * 0.5;
    x1 = (a1 + b0) * 0.5;
    delayed_b_ = b1;
    last_output_ = x1;
  }

  // `count` consecutive pairs (first[k * stride], second[k * stride]), in
  // place: the same as `count` ProcessPair calls in order. Branch A and B run
  // in the two lanes of an SSE2 vector, each lane with exactly the scalar
  // operations (halfband_filter_pairs.cpp). Audio thread.
  void ProcessPairs(double* first, double* second, int count, int stride) noexcept;

  double last_output() const noexcept { return last_output_; }

 private:
  AllpassCascade branch_a_;
  AllpassCascade branch_b_;
  double last_output_ = 0.0;
  double delayed_b_ = 0.0;
};

}  // namespace Ostra

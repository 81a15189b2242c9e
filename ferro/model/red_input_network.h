// RedInputNetwork: the RED channel's gain pot and input voicing network after
// the first triode stage, fifth order, blocking DC. Lead Mod swaps five of its
// elements ("Plus" on, "Standard" off).
#pragma once

#include "ferro/model/circuit_filter.h"

namespace Ostra {

struct RedInputNetwork : CircuitFilter<5> {
  double pre_gain = 0.0;  // pot position p of the last design (after the gain taper)
  bool lead_mod = false;

  // Analogue coefficients B[0..5], A[0..5] for pot position p, up to a scale
  // common to B and A.
  static void Analog(double p, bool lead_mod_on, double (&B)[6], double (&A)[6]) noexcept;

  // Set-up or parameter change: writes coefficients only; takes effect at once.
  void Design(double fs_hz, double p, bool lead_mod_on) noexcept;
};

}  // namespace Ostra

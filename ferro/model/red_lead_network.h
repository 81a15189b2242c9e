// RedLeadNetwork: second-order voicing network of the RED chain before its tone
// stack, run in direct form I. Circuit: 470k in series from the input to the
// output node, which is loaded to ground by Rb and by two series RC branches,
// 72k + 44n and Rc + 10n. Lead Mod off: Rb 47k, Rc 33k; on: Rb 33k, Rc 47k.
// Its DC gain is Rb/(Rb + 470k).
#pragma once

namespace Ostra {

struct RedLeadNetwork {
  // c0, c1, c2 weight x[n-2], x[n-1], x[n]; c3, c4 weight y[n-2], y[n-1]; c5 is
  // the reciprocal of the unnormalised leading denominator coefficient.
  double c[6] = {};
  double x1 = 0.0, x2 = 0.0, y1 = 0.0, y2 = 0.0;
  double fs = 88200.0;
  bool lead_mod = false;

  static void Analog(bool lead_mod_on, double (&B)[3], double (&A)[3]) noexcept;

  void Design(double fs_hz, bool lead_mod_on) noexcept;

  // One engine-rate sample with the 1e-12 guards on input and output. Audio thread.
  double Process(double w) noexcept {
    const double x = w + 1e-12;
    const double y = (c[0] * x2 + c[1] * x1 + c[2] * x - c[3] * y2 - c[4] * y1) * c[5];
    x2 = x1;
    x1 = x;
    y2 = y1;
    y1 = y;
    return y + 1e-12;
  }
};

}  // namespace Ostra

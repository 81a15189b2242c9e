// The two passive three-knob tone stacks (bass, mid, treble), each fed from a
// source resistance and loaded at its output, as third-order circuit filters.
#pragma once

#include "ferro/model/circuit_filter.h"

namespace Ostra {

// Element values of one stack. Circuit: the source drives node I through Rs;
// C1 (treble) from I to U; R4 (slope) from I to S; C2 (bass) from S to X; C3
// (mid) from S to W; treble pot R1 from U to X with the output on its wiper,
// (1 - t)*R1 on the U side and t*R1 on the X side; bass pot as l*R2 from X to
// Y; mid pot R3 from Y to ground with its wiper at W, (1 - m)*R3 above and
// m*R3 below; RL from the output to ground; and an optional fixed resistor Ry
// from Y to ground across the whole mid pot (Ry = 0 means none).
struct ToneStackElements {
  double Rs, C1, C2, C3, R1, R2, R3, R4, RL, Ry;
};

// Analogue H(s) = B(s)/A(s) of the stack, ascending powers of s, normalised to
// A0 = 1. B0 is always 0: the stack blocks DC. l, m, t are pot positions in
// [0, 1] (l after the gain taper).
struct ToneStackResponse {
  double B[4];
  double A[4];
};
ToneStackResponse DesignToneStackResponse(const ToneStackElements& e, double l, double m,
                                          double t) noexcept;

// GREEN channel stack: Rs 10k, C1 570p, C2 = C3 = 22n, R1 250k, R2 1M, R3 25k,
// R4 33k, RL 1M.
struct GreenToneStack : CircuitFilter<3> {
  static const ToneStackElements kElements;
  double bass = 0.0;  // inputs of the last design
  double mid = 0.0;
  double treble = 0.0;

  // Set-up (or parameter change): writes coefficients only.
  void Design(double fs_hz, double l, double m, double t) noexcept;
};

// RED channel stack: Rs 5k, C1 570p with Lead Mod on and 470p off, C2 = C3 =
// 22n, R1 250k, R2 1M, R3 50k with a fixed 47k across it, R4 47k, RL 500k.
struct RedToneStack : CircuitFilter<3> {
  static const ToneStackElements kElementsLeadModOn;
  static const ToneStackElements kElementsLeadModOff;
  double bass = 0.0;
  double mid = 0.0;
  double treble = 0.0;
  bool lead_mod = false;

  void Design(double fs_hz, double l, double m, double t, bool lead_mod_on) noexcept;
};

}  // namespace Ostra

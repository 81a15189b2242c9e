#include "ferro/model/tone_stacks.h"

namespace Ostra {

// Element values in ohms and farads: Rs, C1, C2, C3, R1, R2, R3, R4, RL, Ry.
const ToneStackElements GreenToneStack::kElements = {10e3, 570e-12, 22e-9, 22e-9, 250e3,
                                                     1e6,  25e3,    33e3,  1e6,   0.0};
const ToneStackElements RedToneStack::kElementsLeadModOn = {5e3, 570e-12, 22e-9, 22e-9, 250e3,
                                                            1e6, 50e3,    47e3,  500e3, 47e3};
const ToneStackElements RedToneStack::kElementsLeadModOff = {5e3, 470e-12, 22e-9, 22e-9, 250e3,
                                                             1e6, 50e3,    47e3,  500e3, 47e3};

namespace {
void DesignStack(CircuitFilter<3>& filter, const ToneStackElements& e, double fs_hz, double l,
                 double m, double t) noexcept {
  const ToneStackResponse r = DesignToneStackResponse(e, l, m, t);
  filter.DesignFromAnalog(r.B, r.A, fs_hz);
}
}  // namespace

void GreenToneStack::Design(double fs_hz, double l, double m, double t) noexcept {
  DesignStack(*this, kElements, fs_hz, l, m, t);
  bass = l;
  mid = m;
  treble = t;
}

void RedToneStack::Design(double fs_hz, double l, double m, double t, bool lead_mod_on) noexcept {
  DesignStack(*this, lead_mod_on ? kElementsLeadModOn : kElementsLeadModOff, fs_hz, l, m, t);
  bass = l;
  mid = m;
  treble = t;
  lead_mod = lead_mod_on;
}

}  // namespace Ostra

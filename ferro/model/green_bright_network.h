// GreenBrightNetwork: the coupling and bright network after the GREEN chain's
// last triode stage, third order, blocking DC. Its fixed H(s) depends on the
// GREEN:Bright switch and on the channel selected when it was designed (the
// RED selection brings a 33 nF capacitor and a 10k || 33k resistor into the
// network). It is redesigned only on a Bright change and on a rate change.
#pragma once

#include <cstdint>

#include "ferro/model/circuit_filter.h"

namespace Ostra {

struct GreenBrightNetwork : CircuitFilter<3> {
  int32_t channel = 0;  // engine channel at the last design: 0 GREEN, 1 RED
  bool bright = false;

  static void Analog(int32_t design_channel, bool bright_on, double (&B)[4],
                     double (&A)[4]) noexcept;

  void Design(double fs_hz, int32_t design_channel, bool bright_on) noexcept;
};

}  // namespace Ostra

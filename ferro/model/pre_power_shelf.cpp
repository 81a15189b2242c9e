#include "ferro/model/pre_power_shelf.h"

namespace Ostra {

void PrePowerShelf::Design(double fs_hz) noexcept {
  constexpr double kTwoPi = 6.283185307179586;
  const double T = 1.0 / fs_hz;
  m = (kGainHigh / kGainLow - 1.0) * 1000.0;
  e = 1000.0;
  f = 1.0 / (kTwoPi * kCorner * 1000.0);
  k_in = kGainLow / kGainHigh;
  g = T;
  h = 1.0 / (f * e + T);
}

}  // namespace Ostra

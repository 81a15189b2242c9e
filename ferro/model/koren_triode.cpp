#include "ferro/model/koren_triode.h"

#include <cmath>

namespace Ostra {

double KorenTriode::PlateCurrent(double vg, double vp) noexcept {
  const double e1 =
      (vp / kp) * std::log(1.0 + std::exp(kp * (1.0 / mu + (vg + Vct) / std::sqrt(kvb + vp * vp))));
  const double sign = e1 > 0.0 ? 1.0 : (e1 < 0.0 ? -1.0 : 0.0);
  return std::pow(std::fabs(e1), ex) * (1.0 + sign) / kg1;
}

double KorenTriode::ClampedPlateCurrent(double vg, double vp, double i_max) noexcept {
  double i = PlateCurrent(vg, vp);
  if (i <= 1e-7) return 1e-8;
  if (i > i_max) i = i_max;
  return i;
}

}  // namespace Ostra

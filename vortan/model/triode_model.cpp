#include "vortan/model/triode_model.h"

namespace vortan {

const TriodeParts kTriodeStageParts[kTriodeStageCount] = {
    {1000.0, 1.6e-5, 250.0, 2200000.0, 4.7e-8},  // A1
    {1500.0, 1.1e-5, 276.0, 2200000.0, 4.7e-8},  // A2
    {1500.0, 1.1e-5, 276.0, 2200000.0, 1e-7},    // A3
    {820.0, 9.7e-7, 238.7, 2200000.0, 4.7e-8},   // B1
    {1500.0, 3e-7, 238.7, 2200000.0, 4.7e-8},    // B2
    {3300.0, 2.4e-7, 322.0, 470000.0, 4.7e-8},   // B3
    {1500.0, 3e-7, 238.7, 2200000.0, 1e-7},      // B4
};

void TriodeModel::design(const TriodeParts& parts, double fsI) noexcept {
  parts_ = parts;
  // Relaxation towards the plate voltage where the load line meets the
  // characteristic, with the cathode following the plate current.
  double Vp = parts.Vp0;
  double Vk = 0.0;
  double Ia = 0.0;
  for (int i = 0; i < 50; ++i) {
    Ia = (kSupply - Vp) / (100000.0 + 1e-20);
    Vk = parts.Rk * Ia;
    Vp = Vp + 0.1 * (triodePlateVoltage(-Vk) + Vk - Vp);
  }
  VpDesign_ = Vp;
  VkDesign_ = Vk;
  IaDesign_ = Ia;
  Vcut_ = triodePlateVoltage(kCutoff);
  settleAtRest();
  resetToOperatingPoint();
  setRate(fsI);
}

// The relaxation above loads the plate from 449.8 V, while step() loads it
// from Vcut = F(-10), about 49 mV higher: started there, the stage would jump
// and then drift for tens of milliseconds. The rest point of step() itself
// for a grid at 0 V: no grid current, Vp = Vk + F(-Vk), Ia = (Vcut - Vp) / Rp,
// and the cathode update Vk = kC (Ia + Ck fsI Vk) holds still exactly where
// Vk = Rk Ia, whatever the rate. r(Vk) = Vk / Rk - (Vcut - Vk - F(-Vk)) / Rp
// rises with Vk (F rises as the grid goes more negative), is negative at 0 and
// positive at the cut-off bias, so bisection finds its root to the last bit.
void TriodeModel::settleAtRest() noexcept {
  auto residual = [this](double Vk) {
    return Vk / parts_.Rk - (Vcut_ - Vk - triodePlateVoltage(-Vk)) * kInvRp;
  };
  double lo = 0.0;
  double hi = -kCutoff;
  for (int i = 0; i < 200 && lo < hi; ++i) {
    const double mid = 0.5 * (lo + hi);
    if (mid <= lo || mid >= hi) break;  // adjacent doubles: converged
    if (residual(mid) < 0.0)
      lo = mid;
    else
      hi = mid;
  }
  const double Vk = std::fabs(residual(lo)) <= std::fabs(residual(hi)) ? lo : hi;
  VkOp_ = Vk;
  VpOp_ = Vk + triodePlateVoltage(-Vk);
  IaOp_ = (Vcut_ - VpOp_) * kInvRp;
}

void TriodeModel::setRate(double fsI) noexcept {
  const double T = 1.0 / fsI;
  fsI_ = fsI;
  CkFs_ = parts_.Ck * fsI_;
  kC_ = T * parts_.Rk / (T + parts_.Rk * parts_.Ck);
  alpha_ = parts_.Ro * parts_.Co / (T + parts_.Ro * parts_.Co);
}

void TriodeModel::resetToOperatingPoint() noexcept {
  Vp_ = VpOp_;
  Vk_ = VkOp_;
  Ia_ = IaOp_;
  ig_ = 0.0;
  y_ = 0.0;
}

}  // namespace vortan

// Common-cathode triode gain stage: plate load Rp to the supply, cathode
// resistor Rk bypassed by Ck, a grid stopper Rg that limits the grid once it
// rises above the cathode (grid current), and an output coupling high-pass
// Ro/Co. The plate-to-cathode voltage is a fixed rational function of the
// grid-to-cathode voltage. Volts, amperes, ohms, farads, seconds.
#pragma once

#include <cmath>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace vortan {

// Plate-to-cathode voltage for a grid-to-cathode voltage v: a 6/6 rational fit.
namespace plate_fit {
constexpr double c0 = 142.8171727640615, c1 = -0.3422120436979589, c2 = -123.6087522970126,
                 c3 = 0.09505440254949774, c4 = 36.22436698154447, c5 = 0.04008296491168297,
                 c6 = -0.1438583704939422, c7 = 0.007959757890130313, c8 = -0.9070123258972268,
                 c9 = 0.0009378363331753669, c10 = 0.008098036474826214,
                 c11 = 6.441500399984654e-05, c12 = 0.01556417689168246;
}  // namespace plate_fit

inline double triodePlateVoltage(double v) noexcept {
  using namespace plate_fit;
  const double num = c0 + v * (c2 + v * (c4 + v * (c6 + v * (c8 + v * (c10 + v * c12)))));
  const double den = 1.0 + v * (c1 + v * (c3 + v * (c5 + v * (c7 + v * (c9 + v * c11)))));
  return num / den;
}

// The same function with the numerator and denominator evaluated side by
// side in the two lanes of an SSE2 register: the same operations in the same
// order on each (a lane computes exactly what the scalar unit does), in half
// the instructions.
inline double triodePlateVoltagePaired(double v) noexcept {
#if defined(__SSE2__)
  using namespace plate_fit;
  const __m128d x = _mm_set1_pd(v);
  __m128d t = _mm_mul_pd(x, _mm_set_pd(c11, c12));
  t = _mm_mul_pd(x, _mm_add_pd(_mm_set_pd(c9, c10), t));
  t = _mm_mul_pd(x, _mm_add_pd(_mm_set_pd(c7, c8), t));
  t = _mm_mul_pd(x, _mm_add_pd(_mm_set_pd(c5, c6), t));
  t = _mm_mul_pd(x, _mm_add_pd(_mm_set_pd(c3, c4), t));
  t = _mm_mul_pd(x, _mm_add_pd(_mm_set_pd(c1, c2), t));
  t = _mm_add_pd(_mm_set_pd(1.0, c0), t);
  return _mm_cvtsd_f64(t) / _mm_cvtsd_f64(_mm_unpackhi_pd(t, t));
#else
  return triodePlateVoltage(v);
#endif
}

// The component values of one stage.
struct TriodeParts {
  double Rk;   // cathode resistor
  double Ck;   // cathode bypass capacitor
  double Vp0;  // plate voltage the operating-point search starts from
  double Ro;   // output (grid-leak) resistor after the coupling capacitor
  double Co;   // coupling capacitor
};

class TriodeModel {
 public:
  static constexpr double kSupply = 449.8;
  static constexpr double kInvRp = 1.0 / (100000.0 + 1e-20);
  static constexpr double kInvRg = 1.0 / (68000.0 + 1e-20);
  static constexpr double kGridB = 25.5;
  static constexpr double kInvTwoB = 0.0196078431372549;  // 1 / (2 b)
  static constexpr double kCutoff = -10.0;

  // Solves the DC operating point, puts the state at rest for a grid at 0 V
  // (see settleAtRest) and sets the rate coefficients (set-up).
  void design(const TriodeParts& parts, double fsI) noexcept;
  // Recomputes the two rate-dependent coefficients; leaves the state alone.
  void setRate(double fsI) noexcept;
  // Puts the state back at rest (the equilibrium of step() for a 0 V grid).
  void resetToOperatingPoint() noexcept;

  // One sample at the internal rate: grid voltage in, coupled plate swing out.
  // kPlain selects the plain form (the reference path); the fast form gives
  // the same bits.
  template <bool kPlain = false>
  double step(double vg) noexcept {
    double vge = vg;
    if (vg - Vk_ > 0.0) {
      // Grid conduction: the grid node settles where the stopper current
      // equals the grid diode's square-law current.
      vge = (std::sqrt(4.0 * kGridB * (vg - Vk_) + 1.0) + 2.0 * kGridB * Vk_ - 1.0) * kInvTwoB;
    }
    ig_ = (vg - vge) * kInvRg;
    const double v = vge - Vk_;
    double Vpk = Vcut_;
    if (!(v < kCutoff)) Vpk = kPlain ? triodePlateVoltage(v) : triodePlateVoltagePaired(v);
    const double VpNew = Vk_ + Vpk;
    Ia_ = (Vcut_ - VpNew) * kInvRp;
    y_ = alpha_ * (VpNew - Vp_ + y_);
    Vp_ = VpNew;
    // Backward Euler on the cathode node (Ck parallel to Rk, fed by the plate
    // and grid currents). CkFs_ is the product Ck fsI the plain form forms
    // first on every sample.
    const double CkFs = kPlain ? parts_.Ck * fsI_ : CkFs_;
    Vk_ = kC_ * (Ia_ + CkFs * Vk_ + ig_);
    if (Vk_ <= 0.0) Vk_ = 0.0;
    return y_;
  }

  double cathodeVoltage() const noexcept { return Vk_; }
  double plateVoltage() const noexcept { return Vp_; }
  double plateCurrent() const noexcept { return Ia_; }
  double gridCurrent() const noexcept { return ig_; }
  double output() const noexcept { return y_; }
  double cutoffPlateVoltage() const noexcept { return Vcut_; }
  double cathodeCoefficient() const noexcept { return kC_; }
  // The operating point of the design's relaxation against the 449.8 V supply.
  double designPlateVoltage() const noexcept { return VpDesign_; }
  double designCathodeVoltage() const noexcept { return VkDesign_; }
  double designPlateCurrent() const noexcept { return IaDesign_; }
  double couplingCoefficient() const noexcept { return alpha_; }

 private:
  TriodeParts parts_{1000.0, 1e-5, 250.0, 1e6, 1e-7};
  // Derived.
  double fsI_ = 176400.0;
  double Vcut_ = 0.0;
  double kC_ = 0.0;
  double alpha_ = 0.0;
  double CkFs_ = 0.0;  // Ck * fsI
  // Moves the rest state to the equilibrium of step() for a 0 V grid.
  void settleAtRest() noexcept;

  // Operating point of the design's relaxation.
  double VkDesign_ = 0.0;
  double VpDesign_ = 0.0;
  double IaDesign_ = 0.0;
  // Rest state from settleAtRest(): where step(0) holds still.
  double VkOp_ = 0.0;
  double VpOp_ = 0.0;
  double IaOp_ = 0.0;
  // State.
  double Vk_ = 0.0;
  double Vp_ = 0.0;
  double y_ = 0.0;
  double Ia_ = 0.0;
  double ig_ = 0.0;
};

// The seven stages of one engine, in chain order.
enum TriodeStage { kA1, kA2, kA3, kB1, kB2, kB3, kB4, kTriodeStageCount };
extern const TriodeParts kTriodeStageParts[kTriodeStageCount];

}  // namespace vortan

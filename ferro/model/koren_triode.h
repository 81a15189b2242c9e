// Koren's triode plate-current law for the preamp valves (one set of
// constants for every stage) and the clamp the load-line solutions use.
// Set-up code only: exp, log and pow never run per sample.
#pragma once

namespace Ostra {

struct KorenTriode {
  static constexpr double kp = 749.41;
  static constexpr double mu = 98.32;
  static constexpr double kvb = 131.2;
  static constexpr double ex = 1.456;
  static constexpr double kg1 = 1722.8;
  static constexpr double Vct = 0.5;  // grid offset (V)

  // Plate current (A) for grid-cathode voltage vg and plate-cathode voltage vp.
  static double PlateCurrent(double vg, double vp) noexcept;

  // The same, held to at least 1e-8 A (anything at or below 1e-7 A counts as
  // cut off) and at most i_max.
  static double ClampedPlateCurrent(double vg, double vp, double i_max) noexcept;
};

}  // namespace Ostra

// PrePowerShelf: first-order shelf between the preamp and the power amplifier,
// gain 13.11/32.281 = 0.40612 at low frequencies rising to 1 at high
// frequencies, corner 21537 Hz, in a backward-Euler form.
#pragma once

namespace Ostra {

struct PrePowerShelf {
  static constexpr double kGainLow = 13.11;
  static constexpr double kGainHigh = 32.281;
  static constexpr double kCorner = 21537.0;  // Hz

  double m = 0.0;     // (G_high/G_low - 1) * 1000
  double e = 0.0;     // 1000
  double f = 0.0;     // 1/(2*pi*fc*1000)
  double k_in = 0.0;  // G_low/G_high
  double g = 0.0;     // T
  double h = 0.0;     // 1/(f*e + T)
  double s = 0.0;     // state

  // Set-up or rate change: writes coefficients only.
  void Design(double fs_hz) noexcept;

  // One engine-rate sample: the input is scaled by the low-frequency gain
  // (plus 1e-12), the output carries 1e-12. Audio thread.
  double Process(double w) noexcept {
    const double u = k_in * w + 1e-12;
    const double y = (((m + e) * u - s * m) * f + g * u) * h;
    s = (e * f * s + g * u) * h;
    return y + 1e-12;
  }
};

}  // namespace Ostra

// First-order RC sections of the channel chains, stepped at the internal
// rate T = 1/fsI. tau is the RC time constant in seconds.
#pragma once

namespace vortan {

// RC low-pass with an input gain k (a resistive divider in front of the RC):
// y = alpha (k x) + (1 - alpha) y, alpha = T / (T + tau).
struct OnePoleLowpass {
  double tau = 0.0;
  double k = 1.0;
  double alpha = 1.0;
  double oneMinusAlpha = 0.0;
  double y = 0.0;

  void design(double tauSeconds, double inputGain, double T) noexcept {
    tau = tauSeconds;
    k = inputGain;
    alpha = T / (T + tau);
    oneMinusAlpha = 1.0 - alpha;
    y = 0.0;
  }
  void clear() noexcept { y = 0.0; }
  double run(double x) noexcept {
    y = alpha * (k * x) + oneMinusAlpha * y;
    return y;
  }
};

// CR high-pass: y = c (x - x_prev + y_prev), c = tau / (T + tau).
struct OnePoleHighpass {
  double tau = 0.0;
  double c = 1.0;
  double xPrev = 0.0;
  double yPrev = 0.0;

  void design(double tauSeconds, double T) noexcept {
    tau = tauSeconds;
    c = tau / (T + tau);
    xPrev = yPrev = 0.0;
  }
  void clear() noexcept { xPrev = yPrev = 0.0; }
  double run(double x) noexcept {
    const double y = c * (x - xPrev + yPrev);
    xPrev = x;
    yPrev = y;
    return y;
  }
};

}  // namespace vortan

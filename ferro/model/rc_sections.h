// One-pole RC sections: the coupling high-passes and smoothing low-passes
// between the valve stages. Each is a series capacitor Cr = 1 uF with the
// resistor that puts its corner at fc, discretised by backward Euler.
// Set-up (SetCutoff, SetRate) runs off the audio path; Process is the
// per-sample step. Every section adds 1e-12 to its input and its output
// (denormal guard).
#pragma once

namespace Ostra {

// Default engine rate before the first initialisation: 44100 Hz x 2.
inline constexpr double kDefaultEngineRate = 88200.0;

struct RcCoefficients {
  double R = 0.0;   // ohms
  double Cr = 0.0;  // farads
  double T = 0.0;   // seconds per sample
  double g = 0.0;   // 1 / (R Cr + T)
};

// Fills R, Cr, T and g for a corner at fc hertz and the given engine rate.
inline void DesignRc(double fc, double rate, RcCoefficients& c) noexcept {
  constexpr double kTwoPi = 6.283185307179586;
  c.Cr = 1e-6;
  c.R = 1.0 / (kTwoPi * fc * c.Cr);
  c.T = 1.0 / rate;
  c.g = 1.0 / (c.R * c.Cr + c.T);
}

// y[n] = RC (x[n] - x[n-1] + y[n-1]) / (RC + T)
class RcHighpass {
 public:
  RcHighpass() noexcept { DesignRc(fc, kDefaultEngineRate, c); }

  // Set-up: a new corner (Hz) at the given engine rate (Hz). States stay.
  void SetCutoff(double cutoff, double rate) noexcept {
    fc = cutoff;
    DesignRc(fc, rate, c);
  }
  // Set-up: the same corner at another engine rate. States stay.
  void SetRate(double rate) noexcept { DesignRc(fc, rate, c); }

  void Process(double& w) noexcept {
    x = w + 1e-12;
    y = c.R * c.Cr * (x - x_prev + y) * c.g;
    x_prev = x;
    w = y + 1e-12;
  }

  double fc = 5.0;  // Hz
  double y = 0.0;
  double x = 0.0;
  double x_prev = 0.0;
  RcCoefficients c;
};

// y[n] = (RC y[n-1] + T x[n]) / (RC + T)
class RcLowpass {
 public:
  RcLowpass() noexcept { DesignRc(fc, kDefaultEngineRate, c); }

  void SetCutoff(double cutoff, double rate) noexcept {
    fc = cutoff;
    DesignRc(fc, rate, c);
  }
  void SetRate(double rate) noexcept { DesignRc(fc, rate, c); }

  void Process(double& w) noexcept {
    x = w + 1e-12;
    y = (c.R * c.Cr * y + c.T * x) * c.g;
    w = y + 1e-12;
  }

  double fc = 5.0;  // Hz
  double y = 0.0;
  double x = 0.0;
  RcCoefficients c;
};

}  // namespace Ostra

// TriodeStage: a common-cathode triode gain stage with its plate load, a
// bypassed cathode resistor and grid conduction. Set-up solves the operating
// point and tabulates the plate current against grid-cathode voltage along the
// stage's load line (2000 load-line solutions); per sample the stage looks the
// current up, adds grid current when the grid is driven above the cathode, and
// integrates the cathode node (trapezoidal rule).
//
// The plate-current curve depends only on B+, Ra, Rk and RL, so identical
// stages of every engine in the process share one computed copy (the values
// are the same bit for bit as a copy of their own would be).
#pragma once

#include <cmath>
#include <cstdint>
#include <vector>

#include "ferro/model/curve_table.h"

namespace Ostra {

// The per-sample part of a stage: circuit, derived values, curve and state.
// Copyable, so a block can run on a working copy held in registers.
struct TriodeState {
  // Rate change: the sample period and the cathode gain only.
  void SetRate(double rate) noexcept {
    T = 1.0 / rate;
    gk = 1.0 / (2.0 * Ck * Rk + T);
  }

  // One engine-rate sample, in place: grid voltage in, plate voltage out
  // (with its quiescent level). Audio thread.
  void Process(double& w) noexcept {
    Vg = w + 1e-12;
    Vgk = Vg - Vk;
    Ig = 0.0;
    if (Vgk > 0.0) {
      // Ig = Kg (u + u^2), u = Vx - Vk, with Vg - Vx = Rg Ig, solved for Vx.
      Vx = (0.5 * std::sqrt(1.0 + a * a + a * (4.0 * Vgk + 2.0)) - 0.5 + a * (Vk - 0.5)) / a;
      Ig = (Vg - Vx) / Rg;
    }
    Ip = curve.LookupLinear(Vgk);
    const double vk_new = ((Ip + Ig + iC) * T + 2.0 * Ck * Vk) * Rk * gk;
    const double ic_new = 2.0 * Ck * (vk_new - Vk) / T - iC;
    Vk_prev = Vk;
    Vk = vk_new;
    iC_prev = iC;
    iC = ic_new;
    w = (Iq - Ip) * Rpar + Vq;
  }

  // Circuit (s, V, ohms, farads).
  double T = 1.0 / 88200.0;
  double Bplus = 0.0;
  double Ra = 0.0;
  double Rk = 0.0;
  double RL = 0.0;
  double Rg = 0.0;
  double Ck = 0.0;
  // Derived at set-up.
  double Rpar = 0.0;  // Ra || RL
  double Iq = 0.0;    // quiescent plate current (A)
  double Vq = 0.0;    // quiescent plate voltage (V)
  double Imax = 0.0;  // current limit of the curve (A)
  double gk = 0.0;    // 1 / (2 Ck Rk + T)
  double a = 0.0;     // Kg Rg
  CurveTable curve;   // plate current (A) against grid-cathode voltage
  // State.
  double Vg = 0.0;
  double Vgk = 0.0;
  double Vx = 0.0;
  double Ig = 0.0;
  double Ip = 0.0;
  double Vk = 0.0;
  double Vk_prev = 0.0;
  double iC = 1e-24;
  double iC_prev = 0.0;
};

class TriodeStage : public TriodeState {
 public:
  TriodeStage() = default;
  // The curve may point into the stage's own storage: no copies.
  TriodeStage(const TriodeStage&) = delete;
  TriodeStage& operator=(const TriodeStage&) = delete;

  static constexpr int32_t kCurveSize = 2000;
  static constexpr double kCurveX0 = 7.0;              // grid-cathode V of entry 0
  static constexpr double kCurveXmin = -11.0;          // entries every 0.009 V down to -10.991 V
  static constexpr double kGridCoefficient = 0.00015;  // Kg, A/V, grid conduction law
  static constexpr double kPlateResistanceEstimate = 62500.0;  // ohms, first guess only

  // Set-up: stores the circuit (rate in Hz, volts, ohms, farads), solves the
  // operating point and gets the plate-current curve. Costly the first time a
  // circuit is seen in the process. Keeps the cathode capacitor current.
  void Setup(double rate, double b_plus, double ra, double rk, double rl, double rg, double ck);

 private:
  std::vector<double> own_curve_;  // used only when the shared store is full
};

// The solved operating point and plate-current curve of one circuit.
struct TriodeSolution {
  double Iq = 0.0;
  double Vq = 0.0;
  double V0 = 0.0;  // load-line start of the secant solver
  double Imax = 0.0;
  double curve[TriodeStage::kCurveSize] = {};
};

// Set-up work, exposed for the tests and the benchmark: solves a circuit from
// scratch into *out.
void SolveTriode(double b_plus, double ra, double rk, double rl, TriodeSolution* out) noexcept;

}  // namespace Ostra

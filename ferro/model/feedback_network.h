// FeedbackNetwork: the power amplifier's negative feedback from the speaker
// output back to the phase splitter, with the presence and low-end (resonance)
// controls. A small linear circuit in front of the push-pull curve: R1 4.7k,
// R0 8 ohms (load), R2 39k, the presence pot Rp, the low-end resistance Rr,
// C1 6.8n, C2 133.1n (33.1n with HIFI on) and C3 22u. Its node equations are
// discretised by backward Euler; the state is five node voltages or currents
// (g, v, f, h, q). K, the small-signal gain of the push-pull stage, closes
// the loop.
#pragma once

namespace Ostra {

struct FeedbackNetwork {
  // Design: engine rate (Hz), presence 0..1, low end (after the gain taper),
  // HIFI switch and the push-pull gain K. Coefficients only; states stay.
  void Design(double rate, double presence, double low_end, bool hifi, double k) noexcept;

  // One engine-rate sample, in place. Audio thread.
  void Process(double& w) noexcept {
    e = w + 1e-12;
    const double A = (KP * e + alpha_g * (v - g) + alpha_f * (v - f) + alpha_h * h) * invD;
    const double f_new = (((A + f - v) * C1 * R2 + q * T) * Rr + T * R2 * A) * gf;
    const double g_new = (A - v + g) * R1 * C3 * gg;
    const double q_new = ((e - g_new) * K * R2 + R0 * f_new) * gq;
    const double h_new = (A * T + C2 * Rp * h) * gh;
    v = A;
    f = f_new;
    g = g_new;
    q = q_new;
    h = h_new;
    w = (q_new + 1e-12) * invK + 1e-12;
  }

  double T = 0.0, T2 = 0.0, T3 = 0.0;  // sample period (s) and its powers
  double R1 = 4700.0;
  double R0 = 8.0;
  double R2 = 39000.0;
  double Rp = 0.0;  // presence resistance, 10k (presence 0) down to 0 (presence 1)
  double Rr = 0.0;  // low-end resistance, 550k x low end
  double C1 = 6.8e-9;
  double C2 = 1.331e-7;
  double C3 = 2.2e-5;
  // State.
  double g = 0.0, v = 0.0, f = 0.0, h = 0.0, q = 0.0;
  double e = 0.0;  // current input
  // Design results.
  double K = 1.0, invK = 1.0;
  double invD = 0.0;
  double gh = 0.0, gg = 0.0, gf = 0.0, gq = 0.0;
  double KP = 0.0;  // K x P
  double alpha_g = 0.0, alpha_f = 0.0, alpha_h = 0.0;
};

}  // namespace Ostra

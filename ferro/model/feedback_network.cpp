#include "ferro/model/feedback_network.h"

namespace Ostra {

void FeedbackNetwork::Design(double rate, double presence, double low_end, bool hifi,
                             double k) noexcept {
  T = 1.0 / rate;
  T2 = T * T;
  T3 = T2 * T;
  Rp = 10000.0 * (1.0 - presence) / (1.0 + 8.0 * presence);
  Rr = 550000.0 * low_end;
  C2 = hifi ? 3.31e-8 : 1.331e-7;
  // K divides the output; a stage with no gain left (a bias far outside the
  // parameter's range) must not turn the output into infinities.
  K = k > 1e-6 ? k : 1e-6;
  invK = 1.0 / K;

  const double P = (C1 * Rr + T) * (C2 * Rp + T) * (C3 * R1 + T);
  const double Q = C1 * Rr * (R2 + R0) + T * (R2 + R0 + Rr);
  alpha_h = C2 * (C3 * R1 + T) * Q;
  alpha_g = C3 * (C2 * Rp + T) * (Q + K * R1 * (C1 * Rr + T));
  alpha_f = C1 * Rr * (C2 * Rp + T) * (C3 * R1 + T);
  KP = K * P;

  const double D =
      T3 + T2 * (C1 * Rr + C2 * (R2 + R0 + Rr + Rp) + C3 * (R1 + R2 + R0 + Rr) + K * C3 * R1) +
      T * (C1 * C2 * Rr * (R2 + R0 + Rp) + C1 * C3 * Rr * (R1 + R2 + R0) +
           C2 * C3 * (R1 * R2 + R1 * R0 + R1 * Rr + R1 * Rp + R2 * Rp + R0 * Rp + Rr * Rp) +
           K * C3 * R1 * (C1 * Rr + C2 * Rp)) +
      C1 * C2 * C3 * Rr * (R1 * R2 + R1 * R0 + R1 * Rp + R2 * Rp + R0 * Rp) +
      K * C1 * C2 * C3 * R1 * Rr * Rp;
  invD = 1.0 / D;

  gh = 1.0 / (C2 * Rp + T);
  gg = 1.0 / (T + R1 * C3);
  gf = 1.0 / ((T + C1 * R2) * Rr + T * R2);
  gq = 1.0 / (R2 + R0);
}

}  // namespace Ostra

#include "ferro/model/red_lead_network.h"

#include "ferro/model/bilinear.h"

namespace Ostra {

namespace {
constexpr double kRseries = 470e3;
constexpr double kRa = 72e3;  // first RC branch to ground
constexpr double kCa = 44e-9;
constexpr double kCc = 10e-9;  // second RC branch: Rc + 10n
}  // namespace

// H(s) = 1/(1 + Rseries*Y(s)) with Y = 1/Rb + s*Ca/(1 + s*Ra*Ca) + s*Cc/(1 + s*Rc*Cc);
// multiplied through by (1 + s*ta)(1 + s*tc), ta = Ra*Ca, tc = Rc*Cc, and
// normalised to A0 = 1:
//   B(s) = k*(1 + s*(ta + tc) + s^2*ta*tc),  k = Rb/(Rb + Rseries)
//   A(s) = 1 + s*(ta + tc + k*Rseries*(Ca + Cc)) + s^2*(ta*tc + k*Rseries*(Ca*tc + Cc*ta)).
void RedLeadNetwork::Analog(bool lead_mod_on, double (&B)[3], double (&A)[3]) noexcept {
  const double Rb = lead_mod_on ? 33e3 : 47e3;
  const double Rc = lead_mod_on ? 47e3 : 33e3;
  const double ta = kRa * kCa;
  const double tc = Rc * kCc;
  const double k = Rb / (Rb + kRseries);
  B[0] = k;
  B[1] = k * (ta + tc);
  B[2] = k * ta * tc;
  A[0] = 1.0;
  A[1] = ta + tc + k * kRseries * (kCa + kCc);
  A[2] = ta * tc + k * kRseries * (kCa * tc + kCc * ta);
}

void RedLeadNetwork::Design(double fs_hz, bool lead_mod_on) noexcept {
  double B[3];
  double A[3];
  Analog(lead_mod_on, B, A);
  double b[3];
  double a[3];
  BilinearTransform<2>(B, A, fs_hz, b, a);
  c[0] = b[2];
  c[1] = b[1];
  c[2] = b[0];
  c[3] = a[2];
  c[4] = a[1];
  c[5] = 1.0 / a[0];
  fs = fs_hz;
  lead_mod = lead_mod_on;
}

}  // namespace Ostra

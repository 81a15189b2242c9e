#include "vortan/model/tone_stack.h"

namespace vortan {

// The terms below are the network's nodal-analysis polynomials with the
// fixed parts multiplied in; only Ct, R1 and R2 differ between the voicings.
// d* build the denominator, q* the numerator; K carries the bilinear powers.
void ToneStack::design(const ToneStackParts& parts, double fsI) noexcept {
  const double Ct = parts.Ct, R1 = parts.R1, R2 = parts.R2;
  K_ = 2.0 * fsI;
  K2_ = K_ * K_;
  K3_ = K2_ * K_;

  const double l = Ct + 4.4e-8;
  const double m = l * 2.2e-10;
  const double r = R1 * Ct * 4.422e-8;
  const double t = -R1 * r;
  const double u = R1 * 4.4e-8;
  const double v = R1 * 2.2e-10 + u + 5.5e-5;
  const double w = R1 * Ct * v;
  const double A = r * 1000000.0;
  const double B = R1 * 2.42e-12;
  const double h = Ct * R1;
  const double I = Ct * 4.4e-8;
  const double Cc = Ct * 9.68e-18;
  const double D = Cc * 250000.0;
  const double E = D * 1000000.0;
  const double F = R2 * R1 * Cc * 1000000.0;
  const double G = R1 * R1 * D;
  const double Q = R2 * R1 * R1 * Cc;
  const double D2 = R2 * R1 * D;
  const double H = R2 * E;

  d_[0] = v;
  d_[1] = R2 * l;
  d_[2] = h;
  d_[3] = 0.04422;
  d_[4] = w;
  d_[5] = -(R2 * R1 * I);
  d_[6] = A;
  d_[7] = t;
  d_[8] = 2.42e-6;
  d_[9] = R2 * (m + I) * 1000000.0;
  d_[10] = B;
  d_[11] = R2 * (R1 * I + (u + h) * 2.2e-10 + Ct * 5.5e-5 + 2.42e-12);
  d_[12] = R1 * E;
  d_[13] = F;
  d_[14] = -G;
  d_[15] = -Q;
  d_[16] = G;
  d_[17] = Q - D2;
  d_[18] = H;
  d_[19] = D2;

  q_[0] = 5.5e-5;
  q_[1] = h;
  q_[2] = 0.04422;
  q_[3] = R1 * 4.422e-8;
  q_[4] = m * R2 * 250000.0;
  q_[5] = t;
  q_[6] = w;
  q_[7] = 2.42e-6;
  q_[8] = m * R2 * 1000000.0;
  q_[9] = A;
  q_[10] = B;
  q_[11] = R2 * R1 * m;
  q_[12] = R1 * E;
  q_[13] = F;
  q_[14] = -G;
  q_[15] = -Q;
  q_[16] = G;
  q_[17] = Q;
  q_[18] = D2;
  q_[19] = -D2;
  q_[20] = H;

  contour_ = high_ = low_ = mid_ = kUncached;
  clear();
}

void ToneStack::updateCoefficients(double contour, double high, double low, double mid) noexcept {
  contour_ = contour;
  high_ = high;
  low_ = low;
  mid_ = mid;
  ++updates_;

  const double P = contour, M = mid, T = high;
  const double Lt = toneStackLowTaper(low);
  const double* d = d_;
  const double* q = q_;

  const double A1 = K_ * (d[1] * P + d[2] * M + d[3] * Lt + d[0]);
  const double A2 = K2_ * (M * (d[5] * P + d[4] + d[7] * M + d[6] * Lt) + Lt * (d[9] * P + d[8]) +
                           d[11] * P + d[10]);
  const double A3 =
      K3_ * (M * (Lt * (d[13] * P + d[12]) + M * (d[15] * P + d[14]) + (d[17] * P + d[16])) +
             P * (d[18] * Lt + d[19]));
  const double B1 = K_ * (q[2] * Lt + q[1] * M + q[0] * T + q[3]);
  const double B2 = K2_ * (M * (q[9] * Lt + q[5] * M + q[6]) + Lt * (q[8] * P + q[7]) +
                           P * (q[4] * T + q[11]) + q[10]);
  const double B3 = K3_ * (M * (Lt * (q[13] * P + q[12]) + M * (q[15] * P + q[14]) +
                                (q[17] * P + q[16]) + q[19] * P * T) +
                           P * T * (q[20] * Lt + q[18]));

  const double a0 = -1.0 - A1 - A2 - A3;
  const double g = 1.0 / a0;
  a1_ = g * (-3.0 - A1 + A2 + 3.0 * A3);
  a2_ = g * (-3.0 + A1 + A2 - 3.0 * A3);
  a3_ = g * (-1.0 + A1 - A2 + A3);
  b0_ = g * (-B1 - B2 - B3);
  b1_ = g * (-B1 + B2 + 3.0 * B3);
  b2_ = g * (B1 + B2 - 3.0 * B3);
  b3_ = g * (B1 - B2 + B3);
}

double ToneStack::b(int i) const noexcept {
  switch (i) {
    case 0:
      return b0_;
    case 1:
      return b1_;
    case 2:
      return b2_;
    default:
      return b3_;
  }
}

double ToneStack::a(int i) const noexcept {
  switch (i) {
    case 1:
      return a1_;
    case 2:
      return a2_;
    default:
      return a3_;
  }
}

}  // namespace vortan

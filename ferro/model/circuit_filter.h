// CircuitFilter: the coefficient and state record of a filter designed from
// circuit values, order N (3 to 5 for the preamp networks), realised in
// transposed direct form II. A design writes only fs and the coefficients; the
// states s1..sN are zero at construction and never cleared by a redesign, so a
// knob move continues from the filter's memory.
#pragma once

#include "ferro/model/bilinear.h"

namespace Ostra {

template <int N>
struct CircuitFilter {
  static_assert(N >= 1 && N <= 5, "circuit filters are of order 1 to 5");
  static constexpr int kOrder = N;

  double fs = 88200.0;  // engine rate of the last design (Hz)
  double b[N + 1] = {};
  double a[N + 1] = {};  // a[0] is 1 after a design
  double s[N] = {};

  // One engine-rate sample; adds the 1e-12 denormal guard to the input and to
  // the output as every stage of the engine does. Audio thread.
  double Process(double x) noexcept {
    x = x + 1e-12;
    const double y = b[0] * x + s[0];
    for (int i = 1; i < N; ++i) s[i - 1] = b[i] * x + s[i] - a[i] * y;
    s[N - 1] = b[N] * x - a[N] * y;
    return y + 1e-12;
  }

  // Takes the coefficients of the analogue H(s) = B(s)/A(s) (ascending powers
  // of s, any common scale) through the bilinear transform at rate fs_hz and
  // normalises them to a0 = 1. States are kept.
  void DesignFromAnalog(const double (&B)[N + 1], const double (&A)[N + 1], double fs_hz) noexcept {
    double bd[N + 1];
    double ad[N + 1];
    BilinearTransform<N>(B, A, fs_hz, bd, ad);
    const double inv_a0 = 1.0 / ad[0];
    for (int i = 0; i <= N; ++i) {
      b[i] = bd[i] * inv_a0;
      a[i] = ad[i] * inv_a0;
    }
    a[0] = 1.0;
    fs = fs_hz;
  }
};

}  // namespace Ostra

// Every filter designed from circuit values: its digital coefficients mapped
// back to H(s) must give the circuit's figures at any engine rate, and the
// networks must treat DC and the audio band as the circuit does.
#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <cstdio>
#include <string>
#include <vector>

#include "ferro/model/green_bright_network.h"
#include "ferro/model/green_input_network.h"
#include "ferro/model/pre_power_shelf.h"
#include "ferro/model/red_input_network.h"
#include "ferro/model/red_lead_network.h"
#include "ferro/model/tone_stacks.h"
#include "tests/ferro/model/inverse_bilinear.h"

namespace Ostra {
namespace {

using testing_support::ExpectFigures;
using testing_support::InverseBilinear;

constexpr double kRates[] = {88200.0, 176400.0};
constexpr double kPi = 3.141592653589793;

template <int N>
void ExpectAnalog(const CircuitFilter<N>& f, const std::vector<double>& B,
                  const std::vector<double>& A, const std::string& what) {
  EXPECT_EQ(f.a[0], 1.0) << what;
  const testing_support::Analog h = InverseBilinear(f.b, f.a, N, f.fs);
  ExpectFigures(h.B, B, what + " B");
  ExpectFigures(h.A, A, what + " A");
}

// |H| of a digital filter at a frequency in hertz.
double Gain(const double* b, const double* a, int order, double fs, double hz) {
  const std::complex<double> z1 = std::polar(1.0, -2.0 * kPi * hz / fs);  // z^-1
  std::complex<double> num = 0.0, den = 0.0, zk = 1.0;
  for (int k = 0; k <= order; ++k) {
    num += b[k] * zk;
    den += a[k] * zk;
    zk *= z1;
  }
  return std::abs(num / den);
}

// Runs a filter on a constant until it settles and returns output/input.
template <class Filter>
double SettledGain(Filter& f, double level, int samples = 400000) {
  double y = 0.0;
  for (int n = 0; n < samples; ++n) y = f.Process(level);
  return y / level;
}

TEST(ToneStacks, FiguresAtTwoEngineRates) {
  struct Case {
    double l, m, t;
    std::vector<double> green_B, green_A, red_off_B, red_off_A, red_on_B, red_on_A;
  };
  const Case cases[] = {
      {0.065,
       0.5,
       0.5,
       {0, 1.95682e-3, 8.06826e-7, 1.34838e-10},
       {1, 4.17530e-3, 2.56119e-6, 2.74743e-10},
       {0, 1.63125e-3, 8.57208e-7, 1.49547e-10},
       {1, 4.54107e-3, 3.06382e-6, 2.80933e-10},
       {0, 1.64625e-3, 9.30806e-7, 1.81365e-10},
       {1, 4.56907e-3, 3.17686e-6, 3.40706e-10}},
      {0.172429,
       0.2,
       0.8,
       {0, 3.34898e-3, 1.03138e-6, 3.04483e-10},
       {1, 5.92770e-3, 4.68906e-6, 4.96268e-10},
       {0, 2.57593e-3, 9.89936e-7, 2.99194e-10},
       {1, 5.99210e-3, 5.18059e-6, 4.28803e-10},
       {0, 2.59805e-3, 1.10062e-6, 3.62853e-10},
       {1, 6.01972e-3, 5.31344e-6, 5.20037e-10}},
  };
  for (double fs : kRates) {
    for (const Case& c : cases) {
      const std::string at = " l=" + std::to_string(c.l) + " fs=" + std::to_string(fs);
      GreenToneStack green;
      green.Design(fs, c.l, c.m, c.t);
      ExpectAnalog(green, c.green_B, c.green_A, "GreenToneStack" + at);
      RedToneStack red;
      red.Design(fs, c.l, c.m, c.t, false);
      ExpectAnalog(red, c.red_off_B, c.red_off_A, "RedToneStack Standard" + at);
      red.Design(fs, c.l, c.m, c.t, true);
      ExpectAnalog(red, c.red_on_B, c.red_on_A, "RedToneStack Plus" + at);
    }
  }
}

TEST(InputNetworks, FiguresAtTwoEngineRates) {
  for (double fs : kRates) {
    const std::string at = " fs=" + std::to_string(fs);
    RedInputNetwork red;
    red.Design(fs, 0.065, true);
    ExpectAnalog(red, {0, 5.96140e-4, 9.05342e-7, 2.99181e-10, 4.37841e-16, 0},
                 {1, 1.39579e-2, 1.02401e-5, 1.27666e-9, 4.21893e-14, 6.02362e-20},
                 "RedInputNetwork Plus" + at);
    red.Design(fs, 0.065, false);
    ExpectAnalog(red, {0, 4.57916e-6, 2.17656e-7, 1.14555e-10, 5.05044e-15, 0},
                 {1, 1.34598e-2, 8.91579e-6, 1.44510e-9, 7.96622e-14, 1.12864e-18},
                 "RedInputNetwork Standard" + at);
    GreenInputNetwork green;
    green.Design(fs, 0.3, false);
    ExpectAnalog(green, {5.18136e-2, 8.05223e-5, 2.43142e-8, 2.23623e-12, 5.21209e-17},
                 {1, 1.48372e-3, 2.46644e-7, 1.18935e-11, 1.61363e-16},
                 "GreenInputNetwork clean" + at);
    green.Design(fs, 0.3, true);
    ExpectAnalog(green, {9.10160e-3, 2.01459e-3, 2.69306e-6, 3.78358e-10, 1.19358e-14},
                 {1, 7.29294e-3, 4.04278e-6, 4.87716e-10, 1.46239e-14},
                 "GreenInputNetwork crunch" + at);
  }
}

TEST(BrightAndLeadNetworks, FiguresAtTwoEngineRates) {
  for (double fs : kRates) {
    const std::string at = " fs=" + std::to_string(fs);
    GreenBrightNetwork bright;
    bright.Design(fs, 0, false);
    ExpectAnalog(bright, {0, 0.33, 2.39583e-5, 0}, {1, 5.82796, 8.76215e-4, 0},
                 "GreenBrightNetwork GREEN off" + at);
    bright.Design(fs, 0, true);
    ExpectAnalog(bright, {0, 0.33, 1.11296e-3, 0}, {1, 5.83126, 2.01079e-2, 0},
                 "GreenBrightNetwork GREEN on" + at);
    bright.Design(fs, 1, false);
    ExpectAnalog(bright, {0, 0.253258, 7.03703e-4, 4.97546e-8},
                 {1, 5.75422, 1.77883e-2, 2.42900e-6}, "GreenBrightNetwork RED off" + at);
    bright.Design(fs, 1, true);
    ExpectAnalog(bright, {0, 0.253393, 1.54027e-3, 2.31253e-6},
                 {1, 5.76058, 3.67963e-2, 5.84110e-5}, "GreenBrightNetwork RED on" + at);

    RedLeadNetwork lead;
    for (bool on : {false, true}) {
      lead.Design(fs, on);
      // Direct form I record back to ordinary b, a (unnormalised, a0 = 1/c5).
      const double b[3] = {lead.c[2], lead.c[1], lead.c[0]};
      const double a[3] = {1.0 / lead.c[5], lead.c[4], lead.c[3]};
      const testing_support::Analog h = InverseBilinear(b, a, 2, fs);
      if (on) {
        ExpectFigures(h.B, {6.56064e-2, 2.38676e-4, 9.76852e-8}, "RedLeadNetwork Plus B" + at);
        ExpectFigures(h.A, {1, 5.30309e-3, 3.10348e-6}, "RedLeadNetwork Plus A" + at);
      } else {
        ExpectFigures(h.B, {9.09091e-2, 3.18000e-4, 9.50400e-8}, "RedLeadNetwork Std B" + at);
        ExpectFigures(h.A, {1, 5.80527e-3, 3.01944e-6}, "RedLeadNetwork Std A" + at);
      }
    }
  }
}

TEST(CircuitDesigns, ReportLargestRelativeError) {
  // Runs after the figure tests in this file (declaration order).
  std::printf("largest relative error against the circuit figures: %.3g\n",
              testing_support::LargestRelativeError());
  SUCCEED();
}

TEST(CircuitDesigns, DcBehaviourOfEachNetwork) {
  const double fs = 88200.0;
  GreenToneStack green_stack;
  green_stack.Design(fs, 0.065, 0.5, 0.5);
  RedToneStack red_stack;
  red_stack.Design(fs, 0.0001, 1.0, 1.0, true);  // bass at 0: the pot still has 100 ohm
  RedInputNetwork red_input;
  red_input.Design(fs, 0.065, true);
  GreenBrightNetwork bright;
  bright.Design(fs, 0, true);
  // Blocking networks: no gain at DC (the bright network's slowest pole sits
  // at 0.03 Hz, so this is read from the coefficients, not by settling).
  EXPECT_LT(Gain(green_stack.b, green_stack.a, 3, fs, 0.0), 1e-6);
  EXPECT_LT(Gain(red_stack.b, red_stack.a, 3, fs, 0.0), 1e-6);
  EXPECT_LT(Gain(red_input.b, red_input.a, 5, fs, 0.0), 1e-6);
  EXPECT_LT(Gain(bright.b, bright.a, 3, fs, 0.0), 1e-6);
  // ... and the tone stack's settled output is only the denormal guards.
  EXPECT_LT(std::fabs(SettledGain(green_stack, 1.0)), 1e-9);

  GreenInputNetwork green_input;
  green_input.Design(fs, 0.3, false);
  green_input.target = green_input.current;  // no glide here
  EXPECT_NEAR(SettledGain(green_input, 1.0), 5.18136e-2, 1e-6);
  RedLeadNetwork lead;
  lead.Design(fs, false);
  EXPECT_NEAR(SettledGain(lead, 1.0), 0.0909091, 1e-6);
  lead.Design(fs, true);  // state carries on into the new design
  EXPECT_NEAR(SettledGain(lead, 1.0), 0.0656064, 1e-6);
}

TEST(CircuitDesigns, BrightNetworkGainsOnGreen) {
  const double fs = 176400.0;
  GreenBrightNetwork on, off;
  on.Design(fs, 0, true);
  off.Design(fs, 0, false);
  // Mid band: above the 0.03 Hz pole, below the bright corner near 47 Hz.
  const double mid_on = Gain(on.b, on.a, 3, fs, 5.0);
  const double high_on = Gain(on.b, on.a, 3, fs, 40000.0);
  const double mid_off = Gain(off.b, off.a, 3, fs, 5.0);
  const double high_off = Gain(off.b, off.a, 3, fs, 40000.0);
  const double treble_off = Gain(off.b, off.a, 3, fs, 1500.0);
  std::printf("bright on: %.4f mid, %.4f high; off: %.4f mid, %.4f high\n", mid_on, high_on,
              mid_off, high_off);
  EXPECT_NEAR(mid_on, 0.0566, 0.0005);
  EXPECT_NEAR(high_on, 0.0553, 0.0005);
  EXPECT_NEAR(mid_off, 0.0566, 0.0005);
  EXPECT_NEAR(high_off, 0.0273, 0.0005);
  EXPECT_LT(treble_off, 0.8 * mid_off);               // the fall starts between 1 and 2 kHz
  EXPECT_GT(Gain(on.b, on.a, 3, fs, 1500.0), 0.054);  // flat with Bright on
}

TEST(CircuitDesigns, PrePowerShelfGainsAndRateChange) {
  PrePowerShelf shelf;
  shelf.Design(88200.0);
  EXPECT_NEAR(shelf.k_in, 0.40612, 1e-5);
  EXPECT_NEAR(SettledGain(shelf, 1.0, 20000), 0.40612, 1e-5);
  // Alternating input at the Nyquist rate of a fast engine: the shelf is
  // near its high-frequency gain of 1 (the corner is 21.5 kHz).
  shelf.Design(4 * 192000.0);
  double peak = 0.0;
  for (int n = 0; n < 20000; ++n) {
    const double y = shelf.Process(n % 2 ? 1.0 : -1.0);
    if (n > 19000) peak = std::fmax(peak, std::fabs(y));
  }
  EXPECT_GT(peak, 0.9);
  EXPECT_LT(peak, 1.0);
}

}  // namespace
}  // namespace Ostra

// Channel B (low/high gain): four triode stages with heavy low-pass filtering
// between them, the Low/High Gain voicing, Bottom and Bright, the channel's
// tone stack and its output level. Runs at the internal rate.
#pragma once

#include "vortan/model/biquad.h"
#include "vortan/model/biquad_design.h"
#include "vortan/model/engine_controls.h"
#include "vortan/model/one_pole.h"
#include "vortan/model/tone_stack.h"
#include "vortan/model/triode_model.h"
#include "vortan/model/wavefront.h"

namespace vortan {

class ChannelB {
 public:
  void designStages(double fsI) noexcept;
  void design(double fsI) noexcept;
  void reset() noexcept;

  // The chain's elements in circuit order, for wavefront(), as ChannelA.
  // kPlain selects the plain form of every element (the reference path).
  template <bool kPlain = false>
  auto stages(const double* bDrive, const ControlValues& c) noexcept {
    ToneStack& stack = c.bFocus ? focus : open;
    // The fast form checks the tone-stack controls once per frame.
    if (!kPlain) stack.prepare(c.bContour, c.bHigh, c.bLow, c.bMid);
    // clang-format off
    return std::make_tuple(
        [this](double s) { return v1.step<kPlain>(s); },
        [this](double s) { return in.run(s); },
        [this, bDrive](double s) mutable { return shelf.run(s) * *bDrive++; },
        [this](double s) { return lp3k1.run(s); },
        [this](double s) { return v2.step<kPlain>(s); },
        [this, &c](double s) { return c.bHighGain ? high.run(s) : low.run(s); },
        [this, &c](double s) { return c.bHighGain ? highLp.run(s) : lowLp.run(s); },
        [this](double s) { return lp3k2.run(s); },
        [this](double s) { return lp5k1.run(s); },
        [this](double s) { return v3.step<kPlain>(s); },
        [this](double s) { return midLp.run(s) * 0.8; },
        [this](double s) { return lp3k3.run(s); },
        [this](double s) { return lp5k2.run(s); },
        [this](double s) { return v4.step<kPlain>(s); },
        [this, &c](double s) { return c.bBottom ? bottom.run(s) : s; },
        [this, &c](double s) { return c.bBright ? bright.run(s) : s; },
        [&stack, &c](double s) {
          const double y =
              kPlain ? stack.run(c.bContour, c.bHigh, c.bLow, c.bMid, s) : stack.runPrepared(s);
          return y * c.bGc;
        });
    // clang-format on
  }

  // N consecutive samples through the chain; N = 1 is the per-sample path.
  template <int N>
  void process(double (&x)[N], double bDrive, const ControlValues& c) noexcept {
    double drive[N];
    for (double& d : drive) d = bDrive;
    decltype(stages(drive, c)) st[1] = {stages(drive, c)};
    double lane[1][N];
    for (int i = 0; i < N; ++i) lane[0][i] = x[i];
    wavefront<1, N>(lane, st);
    for (int i = 0; i < N; ++i) x[i] = lane[0][i];
  }

  // One sample through the plain form of every element, in circuit order.
  double runPlain(double x, double bDrive, const ControlValues& c) noexcept {
    decltype(stages<true>(&bDrive, c)) st[1] = {stages<true>(&bDrive, c)};
    double lane[1][1] = {{x}};
    wavefront<1, 1>(lane, st);
    return lane[0][0];
  }

  TriodeModel v1, v2, v3, v4;
  OnePoleLowpass in;           // about 750 Hz, input x 0.75
  Biquad shelf;                // S(0.333) at 5 kHz
  Biquad lp3k1, lp3k2, lp3k3;  // L at 3 kHz
  Biquad lp5k1, lp5k2;         // L at 5 kHz
  Biquad low;                  // S(0.666) at 300 Hz, low gain
  OnePoleLowpass lowLp;        // about 3 kHz, input x 0.325
  Biquad high;                 // S(0.45) at 500 Hz, high gain
  OnePoleLowpass highLp;       // about 2.7 kHz, input x 0.716
  OnePoleLowpass midLp;        // about 3.25 kHz
  Biquad bottom;               // S(1.75) at 300 Hz
  Biquad bright;               // peak at 4 kHz
  ToneStack open, focus;
};

}  // namespace vortan

// Channel A (clean/crunch): three triode stages with the Bottom, Bright and
// Clean/Crunch voicing networks between them, the channel's tone stack and
// its output level. Runs at the internal rate, one sample at a time.
#pragma once

#include "vortan/model/biquad.h"
#include "vortan/model/biquad_design.h"
#include "vortan/model/engine_controls.h"
#include "vortan/model/one_pole.h"
#include "vortan/model/tone_stack.h"
#include "vortan/model/triode_model.h"
#include "vortan/model/wavefront.h"

namespace vortan {

class ChannelA {
 public:
  // Solves the triodes' operating points (construction only).
  void designStages(double fsI) noexcept;
  // The sample-rate design: triode rate terms, every filter, both tone stacks.
  void design(double fsI) noexcept;
  // Clears every memory and puts the triodes back at their operating points.
  void reset() noexcept;

  // The chain's elements in circuit order, one callable per element, for
  // wavefront(): every element takes the first sample, then the next, with
  // one state. Valid for frames with these controls; aDrive holds the
  // smoothed drive of each sample the stages will take, in order.
  // kPlain selects the plain form of every element (the reference path).
  template <bool kPlain = false>
  auto stages(const double* aDrive, const ControlValues& c) noexcept {
    if (c.aBright && c.Dg != bright.gain) setLowShelfGain(bright, c.Dg, c.Dq);
    // Clean post gain 3/Dg: it falls as the drive rises.
    const double z = c.aCrunch ? 1.0 : 3.0 * c.Dinv;
    ToneStack& stack = c.aFocus ? focus : open;
    // The fast form checks the tone-stack controls once per frame.
    if (!kPlain) stack.prepare(c.aContour, c.aHigh, c.aLow, c.aMid);
    // clang-format off
    return std::make_tuple(
        [this](double s) { return v1.step<kPlain>(s); },
        [this, &c](double s) { return c.aBottom ? bottom.run(s) * 0.75 : lowcut.run(s); },
        [this, &c, aDrive](double s) mutable {
          const double d = *aDrive++;
          return c.aBright ? bright.run(s * d) : s * d * c.Dg;
        },
        [this](double s) { return v2.step<kPlain>(s); },
        [this, &c](double s) { return c.aCrunch ? crunch.run(s * 0.527) : clean.run(s * 0.018); },
        [this](double s) { return lp.run(s); },
        [this, z](double s) { return v3.step<kPlain>(s) * z; },
        [&stack, &c](double s) {
          const double y =
              kPlain ? stack.run(c.aContour, c.aHigh, c.aLow, c.aMid, s) : stack.runPrepared(s);
          return y * c.aGc * 1.58;
        });
    // clang-format on
  }

  // N consecutive samples through the chain; N = 1 is the per-sample path.
  template <int N>
  void process(double (&x)[N], double aDrive, const ControlValues& c) noexcept {
    double drive[N];
    for (double& d : drive) d = aDrive;
    decltype(stages(drive, c)) st[1] = {stages(drive, c)};
    double lane[1][N];
    for (int i = 0; i < N; ++i) lane[0][i] = x[i];
    wavefront<1, N>(lane, st);
    for (int i = 0; i < N; ++i) x[i] = lane[0][i];
  }

  // One sample through the plain form of every element, in circuit order.
  double runPlain(double x, double aDrive, const ControlValues& c) noexcept {
    decltype(stages<true>(&aDrive, c)) st[1] = {stages<true>(&aDrive, c)};
    double lane[1][1] = {{x}};
    wavefront<1, 1>(lane, st);
    return lane[0][0];
  }

  TriodeModel v1, v2, v3;
  Biquad bottom;           // S(1.333) at 300 Hz, Bottom on
  OnePoleHighpass lowcut;  // about 250 Hz, Bottom off
  Biquad bright;           // S(Dg) at 3 kHz, Bright on
  Biquad clean;            // H7 at 2 kHz
  Biquad crunch;           // S(0.45) at 500 Hz
  Biquad lp;               // L at 5 kHz
  ToneStack open, focus;
};

}  // namespace vortan

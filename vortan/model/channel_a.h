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

namespace vortan {

class ChannelA {
 public:
  // Solves the triodes' operating points (construction only).
  void designStages(double fsI) noexcept;
  // The sample-rate design: triode rate terms, every filter, both tone stacks.
  void design(double fsI) noexcept;
  // Clears every memory and puts the triodes back at their operating points.
  void reset() noexcept;

  // Runs N consecutive samples through the chain, element by element (each
  // element takes the first sample, then the next, with one state). For the
  // engine's pairs this lets the two samples' work overlap; N = 1 is the
  // plain per-sample path and gives the same results.
  template <int N>
  void process(double (&x)[N], double aDrive, const ControlValues& c) noexcept {
    for (double& s : x) s = v1.step(s);
    if (c.aBottom) {
      for (double& s : x) s = bottom.run(s) * 0.75;
    } else {
      for (double& s : x) s = lowcut.run(s);
    }
    for (double& s : x) s *= aDrive;
    if (c.aBright) {
      if (c.Dg != bright.gain) setLowShelfGain(bright, c.Dg, c.Dq);
      for (double& s : x) s = bright.run(s);
    } else {
      for (double& s : x) s *= c.Dg;
    }
    for (double& s : x) s = v2.step(s);
    double z;
    if (c.aCrunch) {
      for (double& s : x) s = crunch.run(s * 0.527);
      z = 1.0;
    } else {
      for (double& s : x) s = clean.run(s * 0.018);
      z = 3.0 * c.Dinv;  // make-up gain: the clean voicing falls as the drive rises
    }
    for (double& s : x) s = lp.run(s);
    for (double& s : x) s = v3.step(s);
    for (double& s : x) s *= z;
    ToneStack& stack = c.aFocus ? focus : open;
    for (double& s : x) s = stack.run(c.aContour, c.aHigh, c.aLow, c.aMid, s);
    for (double& s : x) s = s * c.aGc * 1.58;
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

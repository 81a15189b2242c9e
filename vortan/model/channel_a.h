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

  double process(double x, double aDrive, const ControlValues& c) noexcept {
    x = v1.step(x);
    x = c.aBottom ? bottom.run(x) * 0.75 : lowcut.run(x);
    x *= aDrive;
    if (c.aBright) {
      if (c.Dg != bright.gain) setLowShelfGain(bright, c.Dg, c.Dq);
      x = bright.run(x);
    } else {
      x *= c.Dg;
    }
    x = v2.step(x);
    double z;
    if (c.aCrunch) {
      x = crunch.run(x * 0.527);
      z = 1.0;
    } else {
      x = clean.run(x * 0.018);
      z = 3.0 * c.Dinv;  // make-up gain: the clean voicing falls as the drive rises
    }
    x = lp.run(x);
    x = v3.step(x);
    x *= z;
    ToneStack& stack = c.aFocus ? focus : open;
    x = stack.run(c.aContour, c.aHigh, c.aLow, c.aMid, x);
    return x * c.aGc * 1.58;
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

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

namespace vortan {

class ChannelB {
 public:
  void designStages(double fsI) noexcept;
  void design(double fsI) noexcept;
  void reset() noexcept;

  double process(double x, double bDrive, const ControlValues& c) noexcept {
    x = v1.step(x);
    x = in.run(x);
    x = shelf.run(x);
    x *= bDrive;
    x = lp3k1.run(x);
    x = v2.step(x);
    if (c.bHighGain) {
      x = highLp.run(high.run(x));
    } else {
      x = lowLp.run(low.run(x));
    }
    x = lp5k1.run(lp3k2.run(x));
    x = v3.step(x);
    x = midLp.run(x) * 0.8;
    x = lp5k2.run(lp3k3.run(x));
    x = v4.step(x);
    if (c.bBottom) x = bottom.run(x);
    if (c.bBright) x = bright.run(x);
    ToneStack& stack = c.bFocus ? focus : open;
    x = stack.run(c.bContour, c.bHigh, c.bLow, c.bMid, x);
    return x * c.bGc;
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

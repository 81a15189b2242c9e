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

  // N consecutive samples, element by element, as ChannelA::process.
  template <int N>
  void process(double (&x)[N], double bDrive, const ControlValues& c) noexcept {
    for (double& s : x) s = v1.step(s);
    for (double& s : x) s = in.run(s);
    for (double& s : x) s = shelf.run(s);
    for (double& s : x) s *= bDrive;
    for (double& s : x) s = lp3k1.run(s);
    for (double& s : x) s = v2.step(s);
    if (c.bHighGain) {
      for (double& s : x) s = high.run(s);
      for (double& s : x) s = highLp.run(s);
    } else {
      for (double& s : x) s = low.run(s);
      for (double& s : x) s = lowLp.run(s);
    }
    for (double& s : x) s = lp3k2.run(s);
    for (double& s : x) s = lp5k1.run(s);
    for (double& s : x) s = v3.step(s);
    for (double& s : x) s = midLp.run(s) * 0.8;
    for (double& s : x) s = lp3k3.run(s);
    for (double& s : x) s = lp5k2.run(s);
    for (double& s : x) s = v4.step(s);
    if (c.bBottom) {
      for (double& s : x) s = bottom.run(s);
    }
    if (c.bBright) {
      for (double& s : x) s = bright.run(s);
    }
    ToneStack& stack = c.bFocus ? focus : open;
    for (double& s : x) s = stack.run(c.bContour, c.bHigh, c.bLow, c.bMid, s);
    for (double& s : x) s *= c.bGc;
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

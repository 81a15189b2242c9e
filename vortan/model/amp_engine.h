// One side (left or right) of the amplifier: the half-band converters of the
// three oversampling levels, both channel chains, and the post-chain output
// scaling with its 2 Hz DC blocker. Turns one host-rate sample into one.
#pragma once

#include "vortan/model/biquad.h"
#include "vortan/model/channel_a.h"
#include "vortan/model/channel_b.h"
#include "vortan/model/engine_controls.h"
#include "vortan/model/halfband_stage.h"

namespace vortan {

// The internal rate is F times the host rate: 4 below 50 kHz, else 2;
// doubled for high quality.
int OversamplingFactor(double hostRate, bool highQuality) noexcept;

class AmpEngine {
 public:
  // Construction-time set-up: operating points of the seven triode stages.
  void designStages(double fsI) noexcept;
  // Sample-rate design: every rate-dependent coefficient for fsI; clears the
  // filter memories, not the half-band memories or the triode states.
  void design(double fsI) noexcept;
  // Recovery: clears every memory, half-band ones included, and puts the
  // triodes back at their operating points.
  void reset() noexcept;

  // One host-rate frame at oversampling factor 2, 4 or 8. x is the input
  // (with the tone), gIn the smoothed input gain applied after the first
  // up-sampling.
  float processFrame(float x, double gIn, double aDrive, double bDrive, const ControlValues& c,
                     int factor) noexcept {
    float u0, u1;
    up1.upsample(x, u0, u1);
    const double g0 = u0 * gIn;
    const double g1 = u1 * gIn;
    float w0, w1;
    if (factor == 2) {
      chainAndPost(g0, g1, aDrive, bDrive, c, w0, w1);
    } else if (factor == 4) {
      w0 = level2(static_cast<float>(g0), aDrive, bDrive, c);
      w1 = level2(static_cast<float>(g1), aDrive, bDrive, c);
    } else {
      w0 = level2x8(static_cast<float>(g0), aDrive, bDrive, c);
      w1 = level2x8(static_cast<float>(g1), aDrive, bDrive, c);
    }
    return down1.downsample(w0, w1);
  }

  HalfbandStage<12> up1, down1;
  HalfbandStage<8> up2, down2;
  HalfbandStage<4> up3, down3;
  ChannelA a;
  ChannelB b;
  Biquad dcBlocker;  // HP at 2 Hz

 private:
  // The selected channel on a pair of internal-rate samples, then the
  // post-chain step on each: x 0.01 and the DC blocker.
  void chainAndPost(double x0, double x1, double aDrive, double bDrive, const ControlValues& c,
                    float& y0, float& y1) noexcept {
    double x[2] = {x0, x1};
    if (c.channelB) {
      b.process(x, bDrive, c);
    } else {
      a.process(x, aDrive, c);
    }
    y0 = static_cast<float>(dcBlocker.run(x[0] * 0.01));
    y1 = static_cast<float>(dcBlocker.run(x[1] * 0.01));
  }
  // F = 4: one 2x sample through level 2 and the chain.
  float level2(float u, double aDrive, double bDrive, const ControlValues& c) noexcept {
    float p0, p1;
    up2.upsample(u, p0, p1);
    float r0, r1;
    chainAndPost(p0, p1, aDrive, bDrive, c, r0, r1);
    return down2.downsample(r0, r1);
  }
  // F = 8: one 4x sample through level 3 and the chain.
  float level3(float p, double aDrive, double bDrive, const ControlValues& c) noexcept {
    float q0, q1;
    up3.upsample(p, q0, q1);
    float s0, s1;
    chainAndPost(q0, q1, aDrive, bDrive, c, s0, s1);
    return down3.downsample(s0, s1);
  }
  // F = 8: one 2x sample through levels 2 and 3.
  float level2x8(float u, double aDrive, double bDrive, const ControlValues& c) noexcept {
    float p0, p1;
    up2.upsample(u, p0, p1);
    const float r0 = level3(p0, aDrive, bDrive, c);
    const float r1 = level3(p1, aDrive, bDrive, c);
    return down2.downsample(r0, r1);
  }
};

}  // namespace vortan

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
    if (factor == 2) return processFrameAt<2>(x, gIn, aDrive, bDrive, c);
    if (factor == 4) return processFrameAt<4>(x, gIn, aDrive, bDrive, c);
    return processFrameAt<8>(x, gIn, aDrive, bDrive, c);
  }

  HalfbandStage<12> up1, down1;
  HalfbandStage<8> up2, down2;
  HalfbandStage<4> up3, down3;
  ChannelA a;
  ChannelB b;
  Biquad dcBlocker;  // HP at 2 Hz

 private:
  // The up-sampling path never depends on the chain's output, so a frame's
  // F internal samples are produced first, run through the chain element by
  // element, and then down-sampled. Every stage still sees its inputs in the
  // same order as when each 2x sample is carried up, through the chain and
  // down again in turn, so the results are the same; the batch only lets
  // the samples' work overlap.
  template <int F>
  float processFrameAt(float x, double gIn, double aDrive, double bDrive,
                       const ControlValues& c) noexcept {
    static_assert(F == 2 || F == 4 || F == 8, "oversampling factor");
    float u0, u1;
    up1.upsample(x, u0, u1);
    const double g0 = u0 * gIn;
    const double g1 = u1 * gIn;
    double s[F];
    if constexpr (F == 2) {
      s[0] = g0;
      s[1] = g1;
    } else {
      float p[4];
      up2.upsample(static_cast<float>(g0), p[0], p[1]);
      up2.upsample(static_cast<float>(g1), p[2], p[3]);
      for (int i = 0; i < 4; ++i) {
        if constexpr (F == 4) {
          s[i] = p[i];
        } else {
          float q0, q1;
          up3.upsample(p[i], q0, q1);
          s[2 * i] = q0;
          s[2 * i + 1] = q1;
        }
      }
    }
    if (c.channelB) {
      b.process(s, bDrive, c);
    } else {
      a.process(s, aDrive, c);
    }
    // Post-chain step: x 0.01 and the DC blocker.
    float r[F];
    for (int i = 0; i < F; ++i) r[i] = static_cast<float>(dcBlocker.run(s[i] * 0.01));
    if constexpr (F == 2) {
      return down1.downsample(r[0], r[1]);
    } else {
      float t[4];
      for (int i = 0; i < 4; ++i) {
        if constexpr (F == 4) {
          t[i] = r[i];
        } else {
          t[i] = down3.downsample(r[2 * i], r[2 * i + 1]);
        }
      }
      const float w0 = down2.downsample(t[0], t[1]);
      const float w1 = down2.downsample(t[2], t[3]);
      return down1.downsample(w0, w1);
    }
  }
};

}  // namespace vortan

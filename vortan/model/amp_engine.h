// One side (left or right) of the amplifier: the half-band converters of the
// three oversampling levels, both channel chains, and the post-chain output
// scaling with its 2 Hz DC blocker. Turns one host-rate sample into one.
#pragma once

#include "vortan/model/biquad.h"
#include "vortan/model/channel_a.h"
#include "vortan/model/channel_b.h"
#include "vortan/model/engine_controls.h"
#include "vortan/model/halfband_stage.h"
#include "vortan/model/wavefront.h"

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

  // One host-rate frame of L engines (one per lane: mono 1, stereo 2) at
  // oversampling factor F. x[k] is lane k's input (with the tone), gIn the
  // smoothed input gain applied after the first up-sampling; y[k] receives
  // the lane's output. The lanes share the controls and are independent
  // otherwise; they are interleaved only so that their work overlaps.
  template <int F, int L>
  static void processLanes(AmpEngine* const (&e)[L], const float (&x)[L], double gIn, double aDrive,
                           double bDrive, const ControlValues& c, float (&y)[L]) noexcept;

  // One frame of this engine alone at factor 2, 4 or 8.
  float processFrame(float x, double gIn, double aDrive, double bDrive, const ControlValues& c,
                     int factor) noexcept {
    AmpEngine* const e[1] = {this};
    const float in[1] = {x};
    float y[1];
    if (factor == 2) {
      processLanes<2>(e, in, gIn, aDrive, bDrive, c, y);
    } else if (factor == 4) {
      processLanes<4>(e, in, gIn, aDrive, bDrive, c, y);
    } else {
      processLanes<8>(e, in, gIn, aDrive, bDrive, c, y);
    }
    return y[0];
  }

  // The plain per-sample path of one frame, the reference of processLanes():
  // each internal sample is carried up, through the chain with the plain form
  // of every element, through the post-chain step and down again in turn.
  float processFrameReference(float x, double gIn, double aDrive, double bDrive,
                              const ControlValues& c, int factor) noexcept;

  HalfbandStage<12> up1, down1;
  HalfbandStage<8> up2, down2;
  HalfbandStage<4> up3, down3;
  ChannelA a;
  ChannelB b;
  Biquad dcBlocker;  // HP at 2 Hz

 private:
  // One internal sample through the selected chain and the post-chain step.
  float chainPlain(double x, double aDrive, double bDrive, const ControlValues& c) noexcept;
  // One sample at twice the host rate up through levels 2 and 3 (as the
  // factor asks), through the chain and back down to twice the host rate.
  float levelTwoPlain(float x, double aDrive, double bDrive, const ControlValues& c,
                      int factor) noexcept;

  template <int L, typename Channel, int F>
  static void runChain(Channel* const (&ch)[L], double (&s)[L][F], double drive,
                       const ControlValues& c) noexcept {
    using Stages = decltype(ch[0]->template stages<false>(drive, c));
    if constexpr (L == 1) {
      Stages st[1] = {ch[0]->stages(drive, c)};
      wavefront<1, F>(s, st);
    } else {
      static_assert(L == 2, "mono or stereo");
      Stages st[2] = {ch[0]->stages(drive, c), ch[1]->stages(drive, c)};
      wavefront<2, F>(s, st);
    }
  }
};

// The up-sampling path never depends on the chain's output, so a frame's F
// internal samples are produced first, run through the chain as one batch,
// and then down-sampled. Every stage still sees its inputs in the same order
// as when each 2x sample is carried up, through the chain and down again in
// turn, so the results are the same.
template <int F, int L>
void AmpEngine::processLanes(AmpEngine* const (&e)[L], const float (&x)[L], double gIn,
                             double aDrive, double bDrive, const ControlValues& c,
                             float (&y)[L]) noexcept {
  static_assert(F == 2 || F == 4 || F == 8, "oversampling factor");
  double s[L][F];
  for (int k = 0; k < L; ++k) {
    float u0, u1;
    e[k]->up1.upsample(x[k], u0, u1);
    const double g0 = u0 * gIn;
    const double g1 = u1 * gIn;
    if constexpr (F == 2) {
      s[k][0] = g0;
      s[k][1] = g1;
    } else {
      float p[4];
      e[k]->up2.upsample(static_cast<float>(g0), p[0], p[1]);
      e[k]->up2.upsample(static_cast<float>(g1), p[2], p[3]);
      for (int i = 0; i < 4; ++i) {
        if constexpr (F == 4) {
          s[k][i] = p[i];
        } else {
          float q0, q1;
          e[k]->up3.upsample(p[i], q0, q1);
          s[k][2 * i] = q0;
          s[k][2 * i + 1] = q1;
        }
      }
    }
  }
  if (c.channelB) {
    ChannelB* ch[L];
    for (int k = 0; k < L; ++k) ch[k] = &e[k]->b;
    runChain<L>(ch, s, bDrive, c);
  } else {
    ChannelA* ch[L];
    for (int k = 0; k < L; ++k) ch[k] = &e[k]->a;
    runChain<L>(ch, s, aDrive, c);
  }
  for (int k = 0; k < L; ++k) {
    // Post-chain step: x 0.01 and the DC blocker.
    float r[F];
    for (int i = 0; i < F; ++i) r[i] = static_cast<float>(e[k]->dcBlocker.run(s[k][i] * 0.01));
    if constexpr (F == 2) {
      y[k] = e[k]->down1.downsample(r[0], r[1]);
    } else {
      float t[4];
      for (int i = 0; i < 4; ++i) {
        if constexpr (F == 4) {
          t[i] = r[i];
        } else {
          t[i] = e[k]->down3.downsample(r[2 * i], r[2 * i + 1]);
        }
      }
      const float w0 = e[k]->down2.downsample(t[0], t[1]);
      const float w1 = e[k]->down2.downsample(t[2], t[3]);
      y[k] = e[k]->down1.downsample(w0, w1);
    }
  }
}

}  // namespace vortan

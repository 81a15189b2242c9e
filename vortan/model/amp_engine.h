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

  // G consecutive host-rate frames of L engines (one per lane: mono 1,
  // stereo 2) at oversampling factor F, under one set of controls. x[k][g]
  // is lane k's input of frame g (with the tone), gIn[g] the frame's
  // smoothed input gain applied after the first up-sampling, aDrive[g] and
  // bDrive[g] its smoothed drives; y[k][g] receives the output. The lanes
  // share the controls and are independent otherwise; they are interleaved
  // only so that their work overlaps.
  template <int F, int L, int G>
  static void processLanes(AmpEngine* const (&e)[L], const float (&x)[L][G], const double (&gIn)[G],
                           const double (&aDrive)[G], const double (&bDrive)[G],
                           const ControlValues& c, float (&y)[L][G]) noexcept;

  // One frame of this engine alone at factor 2, 4 or 8.
  float processFrame(float x, double gIn, double aDrive, double bDrive, const ControlValues& c,
                     int factor) noexcept {
    AmpEngine* const e[1] = {this};
    const float in[1][1] = {{x}};
    const double g[1] = {gIn}, a[1] = {aDrive}, b[1] = {bDrive};
    float y[1][1];
    if (factor == 2) {
      processLanes<2>(e, in, g, a, b, c, y);
    } else if (factor == 4) {
      processLanes<4>(e, in, g, a, b, c, y);
    } else {
      processLanes<8>(e, in, g, a, b, c, y);
    }
    return y[0][0];
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

  template <int L, typename Channel, int N>
  static void runChain(Channel* const (&ch)[L], double (&s)[L][N], const double (&drive)[N],
                       const ControlValues& c) noexcept {
    using Stages = decltype(ch[0]->template stages<false>(drive, c));
    if constexpr (L == 1) {
      Stages st[1] = {ch[0]->stages(drive, c)};
      wavefront<1, N>(s, st);
    } else {
      static_assert(L == 2, "mono or stereo");
      Stages st[2] = {ch[0]->stages(drive, c), ch[1]->stages(drive, c)};
      wavefront<2, N>(s, st);
    }
  }
};

// The up-sampling path never depends on the chain's output, so the F
// internal samples of each of the G frames are produced first, run through
// the chain as one batch, and then down-sampled. Every stage still sees its
// inputs in the same order as when each 2x sample is carried up, through the
// chain and down again in turn, so the results are the same; a batch of
// several frames lets the processor overlap one frame's work with the next.
template <int F, int L, int G>
void AmpEngine::processLanes(AmpEngine* const (&e)[L], const float (&x)[L][G],
                             const double (&gIn)[G], const double (&aDrive)[G],
                             const double (&bDrive)[G], const ControlValues& c,
                             float (&y)[L][G]) noexcept {
  static_assert(F == 2 || F == 4 || F == 8, "oversampling factor");
  constexpr int N = F * G;
  double s[L][N];
  for (int k = 0; k < L; ++k) {
    for (int g = 0; g < G; ++g) {
      double* const sf = &s[k][g * F];
      float u0, u1;
      e[k]->up1.upsample(x[k][g], u0, u1);
      const double g0 = u0 * gIn[g];
      const double g1 = u1 * gIn[g];
      if constexpr (F == 2) {
        sf[0] = g0;
        sf[1] = g1;
      } else {
        float p[4];
        e[k]->up2.upsample(static_cast<float>(g0), p[0], p[1]);
        e[k]->up2.upsample(static_cast<float>(g1), p[2], p[3]);
        for (int i = 0; i < 4; ++i) {
          if constexpr (F == 4) {
            sf[i] = p[i];
          } else {
            float q0, q1;
            e[k]->up3.upsample(p[i], q0, q1);
            sf[2 * i] = q0;
            sf[2 * i + 1] = q1;
          }
        }
      }
    }
  }
  if (c.channelB) {
    double drive[N];
    for (int i = 0; i < N; ++i) drive[i] = bDrive[i / F];
    ChannelB* ch[L];
    for (int k = 0; k < L; ++k) ch[k] = &e[k]->b;
    runChain<L>(ch, s, drive, c);
  } else {
    double drive[N];
    for (int i = 0; i < N; ++i) drive[i] = aDrive[i / F];
    ChannelA* ch[L];
    for (int k = 0; k < L; ++k) ch[k] = &e[k]->a;
    runChain<L>(ch, s, drive, c);
  }
  for (int k = 0; k < L; ++k) {
    for (int g = 0; g < G; ++g) {
      const double* const sf = &s[k][g * F];
      // Post-chain step: x 0.01 and the DC blocker.
      float r[F];
      for (int i = 0; i < F; ++i) r[i] = static_cast<float>(e[k]->dcBlocker.run(sf[i] * 0.01));
      if constexpr (F == 2) {
        y[k][g] = e[k]->down1.downsample(r[0], r[1]);
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
        y[k][g] = e[k]->down1.downsample(w0, w1);
      }
    }
  }
}

}  // namespace vortan

// OstraCore: the oversampling frame of an engine. Each host-rate sample is
// raised to two or four engine-rate samples (zero insertion plus halfband
// interpolation), each of them goes through the engine's ProcessSample, and the
// results are decimated back to one host-rate sample. The four halfband filters
// keep their history across rate and quality changes: the two-times frame
// simply leaves up-sampler 2 and down-sampler 1 alone.
#pragma once

#include "ferro/model/halfband_filter.h"

namespace Ostra {

class OstraCore {
 public:
  OstraCore() noexcept = default;
  OstraCore(const OstraCore&) = delete;
  OstraCore& operator=(const OstraCore&) = delete;

  // One engine-rate sample through the amplifier model; the core's own model
  // is the identity. Audio thread.
  virtual void ProcessSample(double& /*sample*/) noexcept {}

  // One host-rate sample, in place, through the two-times frame (up-sampler 1,
  // down-sampler 2) or the four-times frame (all four filters). Audio thread.
  void ProcessOversampled2(double& sample) noexcept { RunFrame2(*this, sample); }
  void ProcessOversampled4(double& sample) noexcept { RunFrame4(*this, sample); }

  // Host-rate samples per pass of the block frames (their oversampled
  // buffer lives on the stack).
  static constexpr int kBlockPass = 128;

 protected:
  // Engines are owned by value (the plug-in's engine array), never deleted
  // through a core pointer, so the destructor stays non-virtual.
  ~OstraCore() = default;

  // The frames, written once for any engine type: called with a final engine
  // class, the per-sample ProcessSample call binds statically. Every halfband
  // filter is called on consecutive pairs, which ProcessPair runs side by
  // side with the arithmetic of two single calls.
  template <class Engine>
  static void RunFrame2(Engine& engine, double& sample) noexcept {
    OstraCore& core = engine;
    double s = sample * 2.0;  // makes up for the inserted zero
    double* u = core.oversampled_;
    u[0] = s + 1e-12;
    u[1] = 0.0;
    core.up1_.ProcessPair(u[0], u[1]);
    engine.ProcessSample(u[0]);
    engine.ProcessSample(u[1]);
    // The decimator keeps the output after the first sample of the pair; the
    // second still passes through the filter.
    double d0 = u[0];
    double d1 = u[1];
    core.down2_.ProcessPair(d0, d1);
    sample = d0;
  }

  template <class Engine>
  static void RunFrame4(Engine& engine, double& sample) noexcept {
    OstraCore& core = engine;
    double s = sample * 4.0;  // makes up for the three inserted zeros
    double* u = core.oversampled_;
    double* t = core.decimation_;
    double a0 = s + 1e-12;
    double a1 = 0.0;
    core.up1_.ProcessPair(a0, a1);
    u[0] = a0;
    u[1] = 0.0;
    u[2] = a1;
    u[3] = 0.0;
    core.up2_.ProcessPair(u[0], u[1]);
    core.up2_.ProcessPair(u[2], u[3]);
    engine.ProcessSample(u[0]);
    engine.ProcessSample(u[1]);
    engine.ProcessSample(u[2]);
    engine.ProcessSample(u[3]);
    double v[4] = {u[0], u[1], u[2], u[3]};
    core.down1_.ProcessPair(v[0], v[1]);
    core.down1_.ProcessPair(v[2], v[3]);
    t[0] = v[0];  // kept: the outputs after the first sample of each pair
    t[1] = v[2];
    double dropped = t[1];
    s = t[0];
    core.down2_.ProcessPair(s, dropped);
    sample = s;
  }

  // The block frames: n host-rate samples in place, the same as n calls of
  // the frames above. Each filter and the engine see the same samples in the
  // same order; only the schedule differs: the up-sampler runs over a pass
  // first, then the engine over the whole oversampled pass
  // (Engine::ProcessEngineBlock), then the down-sampler.
  template <class Engine>
  static void RunBlock2(Engine& engine, double* x, int n) noexcept {
    double u[2 * kBlockPass];
    for (int start = 0; start < n; start += kBlockPass) {
      const int m = n - start < kBlockPass ? n - start : kBlockPass;
      Upsample2(engine, x + start, u, m);
      engine.ProcessEngineBlock(u, 2 * m);
      Downsample2(engine, u, x + start, m);
    }
  }

  template <class Engine>
  static void RunBlock4(Engine& engine, double* x, int n) noexcept {
    double u[4 * kBlockPass];
    for (int start = 0; start < n; start += kBlockPass) {
      const int m = n - start < kBlockPass ? n - start : kBlockPass;
      Upsample4(engine, x + start, u, m);
      engine.ProcessEngineBlock(u, 4 * m);
      Downsample4(engine, u, x + start, m);
    }
  }

  // The block frames for two engines (the stereo sides): each engine's
  // filters see what RunBlock2/4 would give them, and the engine pass runs
  // both engines together (Engine::ProcessEngineBlockPair).
  template <class Engine>
  static void RunBlockPair2(Engine& left, Engine& right, double* xl, double* xr, int n) noexcept {
    double ul[2 * kBlockPass];
    double ur[2 * kBlockPass];
    for (int start = 0; start < n; start += kBlockPass) {
      const int m = n - start < kBlockPass ? n - start : kBlockPass;
      Upsample2(left, xl + start, ul, m);
      Upsample2(right, xr + start, ur, m);
      Engine::ProcessEngineBlockPair(left, right, ul, ur, 2 * m);
      Downsample2(left, ul, xl + start, m);
      Downsample2(right, ur, xr + start, m);
    }
  }

  template <class Engine>
  static void RunBlockPair4(Engine& left, Engine& right, double* xl, double* xr, int n) noexcept {
    double ul[4 * kBlockPass];
    double ur[4 * kBlockPass];
    for (int start = 0; start < n; start += kBlockPass) {
      const int m = n - start < kBlockPass ? n - start : kBlockPass;
      Upsample4(left, xl + start, ul, m);
      Upsample4(right, xr + start, ur, m);
      Engine::ProcessEngineBlockPair(left, right, ul, ur, 4 * m);
      Downsample4(left, ul, xl + start, m);
      Downsample4(right, ur, xr + start, m);
    }
  }

 private:
  // The halves of a pass of m host samples: x raised to u[2 m] or u[4 m],
  // and u brought back to x. The decimators keep the output after the first
  // sample of each pair; the second still passes through the filter.
  static void Upsample2(OstraCore& core, const double* x, double* u, int m) noexcept {
    for (int i = 0; i < m; ++i) {
      double s = x[i] * 2.0;
      u[2 * i] = s + 1e-12;
      u[2 * i + 1] = 0.0;
    }
    core.up1_.ProcessPairs(u, u + 1, m, 2);
  }
  static void Downsample2(OstraCore& core, double* u, double* x, int m) noexcept {
    core.down2_.ProcessPairs(u, u + 1, m, 2);
    for (int i = 0; i < m; ++i) x[i] = u[2 * i];
  }
  static void Upsample4(OstraCore& core, const double* x, double* u, int m) noexcept {
    for (int i = 0; i < m; ++i) {
      double s = x[i] * 4.0;
      u[4 * i] = s + 1e-12;
      u[4 * i + 2] = 0.0;
    }
    core.up1_.ProcessPairs(u, u + 2, m, 4);  // the 2x samples at even places
    for (int i = 0; i < m; ++i) {
      u[4 * i + 1] = 0.0;
      u[4 * i + 3] = 0.0;
    }
    core.up2_.ProcessPairs(u, u + 1, 2 * m, 2);
  }
  static void Downsample4(OstraCore& core, double* u, double* x, int m) noexcept {
    core.down1_.ProcessPairs(u, u + 1, 2 * m, 2);
    core.down2_.ProcessPairs(u, u + 2, m, 4);
    for (int i = 0; i < m; ++i) x[i] = u[4 * i];
  }

  HalfbandFilter up1_;    // host rate to 2x
  HalfbandFilter up2_;    // 2x to 4x (four-times frame only)
  HalfbandFilter down1_;  // 4x to 2x (four-times frame only)
  HalfbandFilter down2_;  // 2x to host rate, both frames
  double oversampled_[4] = {0.0, 0.0, 0.0, 0.0};
  double decimation_[2] = {0.0, 0.0};
};

}  // namespace Ostra

// The processing entry of the amplifier: smoothing of input gain and drives,
// the tiny denormal-guard tone, the two engines in mono or stereo, the
// volume, and the sample-rate design. The plug-in owns one AmpProcessor and
// forwards processReplacing, setSampleRate and every control-value change.
//
// Threads: process() runs on the host's audio thread. setSampleRate(),
// requestRedesign() and controls() may be used from any thread; they never
// touch filter state. Every redesign runs on the audio thread at the start
// of the next frame (the redesign-pending flag), so it cannot overlap a
// running block.
#pragma once

#include <atomic>

#include "vortan/model/amp_engine.h"
#include "vortan/model/engine_controls.h"

namespace vortan {

class AmpProcessor {
 public:
  static constexpr double kDefaultSampleRate = 44100.0;
  // Input samples beyond this magnitude (60 dB over full scale) are clipped
  // before the float half-band stages, which would overflow on values near
  // the float range; NaN samples count as 0.
  static constexpr float kInputLimit = 1000.0f;

  // Set-up: designs everything for 44100 Hz at the default quality.
  AmpProcessor() noexcept;

  EngineControls& controls() noexcept { return controls_; }
  const EngineControls& controls() const noexcept { return controls_; }

  // Any thread: stores the host rate and requests a redesign. Rates that are
  // not finite or not positive are ignored; rates below 8 kHz are designed
  // as 8 kHz, where every fixed filter still lies below the internal Nyquist.
  void setSampleRate(double rate) noexcept;
  double sampleRate() const noexcept { return sampleRate_.load(std::memory_order_relaxed); }
  // Any thread: the audio thread redesigns before its next frame.
  void requestRedesign() noexcept { controls_.requestRedesign(); }
  // The sample-rate design right now, on the calling thread, clearing the
  // redesign-pending flag. Only while no block can run: construction, or a
  // suspended plug-in (where hosts change the rate).
  void designNow() noexcept;

  // Construction steps of the plug-in (the constructor has done them too):
  // clear the half-band memories, start the smoothed values at 0.5, and
  // solve the triode stages' operating points for the internal rate.
  void clearHalfbandMemories() noexcept;
  void resetSmoothedControls() noexcept { gIn_ = aDrv_ = bDrv_ = 0.5; }
  void designTriodeStages() noexcept;

  // Audio thread: one block. inR is read only in stereo. The buffers may
  // alias (in place).
  void process(const float* inL, const float* inR, float* outL, float* outR, int frames) noexcept;

  // Audio thread: one frame; process() runs this per frame.
  void processFrame(float inL, float inR, float& outL, float& outR) noexcept;

  // Set-up: selects the plain per-sample path (every internal sample carried
  // up, through the chain and down again on its own, with the plain forms of
  // every element), the reference the fast schedule must match bit for bit.
  // The constructor selects it when the environment variable
  // VORTAN_REFERENCE_PATH is set to a non-empty value other than "0", so that
  // a benchmark can time both through the plug-in's ABI.
  void useReferencePath(bool on) noexcept { reference_ = on; }
  bool referencePath() const noexcept { return reference_; }

  // The factor and internal rate of the design in force.
  int factor() const noexcept { return factor_; }
  double internalRate() const noexcept { return fsI_; }
  double inputGain() const noexcept { return gIn_; }
  double aDrive() const noexcept { return aDrv_; }
  double bDrive() const noexcept { return bDrv_; }
  const AmpEngine& engine(int side) const noexcept { return engines_[side]; }

 private:
  void design() noexcept;
  // Frames the fast schedule runs as one batch when the controls stay the
  // same and no redesign is pending between them.
  static constexpr int kGroup = 8;
  // Frames in a batch.
  struct Frames {
    float x[2][kGroup];  // engine inputs (with the tone), left and right
    double gIn[kGroup], aDrv[kGroup], bDrv[kGroup];
    float y[2][kGroup];  // engine outputs
  };
  // Advances the smoothed gain and drives and the tone by one frame and
  // stores the frame's engine inputs as frame j of f.
  void advance(const ControlValues& c, float inL, float inR, Frames& f, int j) noexcept;
  // The first n frames of f through the mono (L = 1) or stereo (L = 2)
  // engines at the factor in force, with the non-finite recovery.
  template <int L>
  void runFrames(Frames& f, int n, const ControlValues& c) noexcept;
  template <int L, int G>
  void runBatch(AmpEngine* const (&e)[L], Frames& f, int at, const ControlValues& c) noexcept;

  EngineControls controls_;
  std::atomic<double> sampleRate_;
  AmpEngine engines_[2];
  int factor_ = 4;
  double fsI_ = 0.0;
  double T_ = 0.0;
  // Host frames since the tone's phase last wrapped. Counting frames across
  // blocks keeps the output independent of how the host cuts its blocks.
  static constexpr unsigned kToneWrap = 1u << 20;
  unsigned toneFrame_ = 0;
  double gIn_ = 0.5;
  double aDrv_ = 0.5;
  double bDrv_ = 0.5;
  bool reference_ = false;
};

}  // namespace vortan

// The block entry: input gain, the engines in the selected oversampling
// frame, output gain. Audio thread, inside the instance lock.
//
// Two schedules compute the same bits: the reference runs each host sample
// through the whole frame and model before the next; the fast one (the
// default) runs passes of samples through the block frames.
#include "ferro/model/sanitize_input.h"
#include "ferro/shell/iplug_ferro.h"

namespace {

// One side: the frame is chosen once per block, not per sample.
template <bool kFourTimes>
inline void RunEngine(Ostra::Amp_Ferro& engine, double& sample) noexcept {
  if (kFourTimes) {
    engine.ProcessOversampled4(sample);
  } else {
    engine.ProcessOversampled2(sample);
  }
}

template <bool kFourTimes>
void ProcessReference(Ostra::Amp_Ferro* engines, bool stereo, double inputGain, double outputGain,
                      double** inputs, double** outputs, int nFrames) noexcept {
  const double* inL = inputs[0];
  const double* inR = inputs[1];
  double* outL = outputs[0];
  double* outR = outputs[1];
  if (stereo) {
    for (int i = 0; i < nFrames; ++i) {
      // A non-finite host sample would stay in the recursive states for ever.
      double left = Ostra::SanitizeInput(inL[i] * inputGain);
      double right = Ostra::SanitizeInput(inR[i] * inputGain);
      RunEngine<kFourTimes>(engines[0], left);
      RunEngine<kFourTimes>(engines[1], right);
      outL[i] = left * outputGain;
      outR[i] = right * outputGain;
    }
  } else {
    for (int i = 0; i < nFrames; ++i) {
      double s = Ostra::SanitizeInput(inL[i] * inputGain);
      RunEngine<kFourTimes>(engines[0], s);
      outL[i] = outR[i] = s * outputGain;
    }
  }
}

template <bool kFourTimes>
inline void RunEngineBlock(Ostra::Amp_Ferro& engine, double* samples, int n) noexcept {
  if (kFourTimes) {
    engine.ProcessBlock4(samples, n);
  } else {
    engine.ProcessBlock2(samples, n);
  }
}

template <bool kFourTimes>
inline void RunEngineBlockPair(Ostra::Amp_Ferro& left, Ostra::Amp_Ferro& right, double* l,
                               double* r, int n) noexcept {
  if (kFourTimes) {
    Ostra::Amp_Ferro::ProcessBlockPair4(left, right, l, r, n);
  } else {
    Ostra::Amp_Ferro::ProcessBlockPair2(left, right, l, r, n);
  }
}

template <bool kFourTimes>
void ProcessFast(Ostra::Amp_Ferro* engines, bool stereo, double inputGain, double outputGain,
                 double** inputs, double** outputs, int nFrames) noexcept {
  constexpr int kPass = Ostra::OstraCore::kBlockPass;
  double left[kPass];
  double right[kPass];
  for (int start = 0; start < nFrames; start += kPass) {
    const int n = nFrames - start < kPass ? nFrames - start : kPass;
    const double* inL = inputs[0] + start;
    const double* inR = inputs[1] + start;
    double* outL = outputs[0] + start;
    double* outR = outputs[1] + start;
    // A non-finite host sample would stay in the recursive states for ever.
    for (int i = 0; i < n; ++i) left[i] = Ostra::SanitizeInput(inL[i] * inputGain);
    if (stereo) {
      for (int i = 0; i < n; ++i) right[i] = Ostra::SanitizeInput(inR[i] * inputGain);
    }
    if (stereo) {
      RunEngineBlockPair<kFourTimes>(engines[0], engines[1], left, right, n);
      for (int i = 0; i < n; ++i) {
        outL[i] = left[i] * outputGain;
        outR[i] = right[i] * outputGain;
      }
    } else {
      RunEngineBlock<kFourTimes>(engines[0], left, n);
      for (int i = 0; i < n; ++i) outL[i] = outR[i] = left[i] * outputGain;
    }
  }
}

}  // namespace

void IPlug_Ferro::ProcessDoubleReplacing(double** inputs, double** outputs, int nFrames) {
  if (GetGUI()) GetGUI()->SetAllControlsDirty();
  if (nFrames <= 0) return;
  audioStarted_ = true;
  auto run = referenceSchedule_
                 ? (quality_ == 0 ? &ProcessReference<false> : &ProcessReference<true>)
                 : (quality_ == 0 ? &ProcessFast<false> : &ProcessFast<true>);
  run(engines_.get(), stereo_, inputGain_, outputGain_, inputs, outputs, nFrames);
}

// The block entry: input gain, the engines in the selected oversampling
// frame, output gain. Audio thread, inside the instance lock.
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
void ProcessBlock(Ostra::Amp_Ferro* engines, bool stereo, double inputGain, double outputGain,
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

}  // namespace

void IPlug_Ferro::ProcessDoubleReplacing(double** inputs, double** outputs, int nFrames) {
  if (GetGUI()) GetGUI()->SetAllControlsDirty();
  if (nFrames <= 0) return;
  if (quality_ == 0) {
    ProcessBlock<false>(engines_.get(), stereo_, inputGain_, outputGain_, inputs, outputs, nFrames);
  } else {
    ProcessBlock<true>(engines_.get(), stereo_, inputGain_, outputGain_, inputs, outputs, nFrames);
  }
}

// The block entry: input gain, the engines, output gain.
#include "ferro/shell/iplug_ferro.h"

void IPlug_Ferro::ProcessDoubleReplacing(double** inputs, double** outputs, int nFrames) {
  if (nFrames <= 0) return;
  const double* inL = inputs[0];
  const double* inR = inputs[1];
  double* outL = outputs[0];
  double* outR = outputs[1];
  if (stereo_) {
    for (int i = 0; i < nFrames; ++i) {
      const double left = inL[i] * inputGain_;
      const double right = inR[i] * inputGain_;
      outL[i] = left * outputGain_;
      outR[i] = right * outputGain_;
    }
  } else {
    for (int i = 0; i < nFrames; ++i) {
      const double s = inL[i] * inputGain_;
      outL[i] = outR[i] = s * outputGain_;
    }
  }
}

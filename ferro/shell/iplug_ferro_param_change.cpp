// Parameter changes and sample-rate resets: plug-in fields, then the engines.
#include <cmath>

#include "ferro/shell/iplug_ferro.h"

void IPlug_Ferro::OnParamChange(int paramIdx) {
  StoreParam(paramIdx);
  const bool red = channel_ != 0;
  inputGain_ = red ? redInput_ : greenInput_;
  outputGain_ = red ? redOutput_ : greenOutput_;
  storedHostRate_ = GetSampleRate();
}

void IPlug_Ferro::Reset() {
  if (std::fabs(GetSampleRate() - storedHostRate_) > 1e-6) {
    storedHostRate_ = GetSampleRate();
    oversamplingFactor_ = quality_ != 0 ? 4.0 : 2.0;
  }
}

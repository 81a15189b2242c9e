#include "ferro/model/amp_ferro.h"

namespace Ostra {

Amp_Ferro::Amp_Ferro() noexcept {
  // Filter records start with zero coefficients and states and the default
  // engine rate; Initialise designs them.
}

Amp_Ferro::~Amp_Ferro() = default;

// Every 1e-12 added here is a denormal guard and part of the model.
void Amp_Ferro::ProcessSample(double& sample) noexcept {
  double w = sample + 1e-12;
  if (controls_.channel == 0) {
    ProcessGreen(w);
  } else {
    ProcessRed(w);
  }
  w = w * controls_.post_gain;
  if (!controls_.pa_disabled) {
    w = pre_power_shelf_.Process(w);
    w = stages_.curves[PreampStages::kDriveCurve].LookupLinearOffset(w);
    stages_.hp_14_5.Process(w);  // power-amp input coupling
    power_amp_.Process(w);
    w = w * 0.9;
  }
  sample = w * 0.4;
}

}  // namespace Ostra

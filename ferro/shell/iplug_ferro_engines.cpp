// Creation, set-up and settling of the two amplifier engines.
#include "ferro/shell/iplug_ferro.h"

void IPlug_Ferro::SetUpEngines() {
  engines_.reset(new Ostra::Amp_Ferro[2]);
  const double engineRate = storedHostRate_ * oversamplingFactor_;
  engines_[0].Initialise(engineRate);
  engines_[1].Initialise(engineRate);
  // Let every filter and bias state settle before the first block.
  SettleEngines(3000);
}

void IPlug_Ferro::SettleEngines(int count) {
  for (int i = 0; i < count; ++i) {
    double left = 0.0;
    engines_[0].ProcessOversampled2(left);
    double right = 0.0;
    engines_[1].ProcessOversampled2(right);
  }
}

IPlug_Ferro::~IPlug_Ferro() {
  // A host may close the effect with its editor still open: stop the
  // editor's window thread before the engines it could reach go away.
  if (GetGUI()) GetGUI()->CloseWindow();
  engines_.reset();
}

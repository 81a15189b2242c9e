// Creation, set-up and settling of the two amplifier engines.
#include <cmath>

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

// The construction warm-up settles the GREEN chain; effOpen then selects the
// host's channel without the switch settling (the field already held it), so
// that chain starts from the 500 rounds of the engine initialisation, and the
// rate and quality the host picks after effOpen re-initialise every design.
// Settling here, at the final rate, before audio starts, makes the first block
// start at rest. Both chains settle, so that the first switch to the other
// channel starts from rest too; the selected one runs last, as the input
// stage and its couplings are shared.
void IPlug_Ferro::SettleForStart() {
  const double engineRate = storedHostRate_ * oversamplingFactor_;
  const int count = static_cast<int>(std::ceil(kStartSettling * engineRate / kStartSettlingRate));
  for (int pass = 0; pass < 2; ++pass) {
    const int channel = pass == 0 ? 1 - channel_ : channel_;
    engines_[0].SetChannel(channel);
    engines_[1].SetChannel(channel);
    SettleEngines(count);
  }
}

void IPlug_Ferro::OnActivate(bool active) {
  active_ = active;
  if (active && !audioStarted_) SettleForStart();
}

IPlug_Ferro::~IPlug_Ferro() {
  // A host may close the effect with its editor still open: stop the
  // editor's window thread before the engines it could reach go away.
  if (GetGUI()) GetGUI()->CloseWindow();
  engines_.reset();
}

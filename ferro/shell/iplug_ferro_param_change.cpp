// Parameter changes and sample-rate resets: plug-in fields first, then both
// engines with the selected channel's set, then the power amps.
#include <cmath>

#include "ferro/editor/ferro_editor.h"
#include "ferro/shell/iplug_ferro.h"

void IPlug_Ferro::OnParamChange(int paramIdx) {
  const int channelBefore = channel_;
  const int qualityBefore = quality_;
  FerroEditor* editor = FerroEditor::Of(GetGUI());
  if (editor) editor->HandleMouseOver(true);

  StoreParam(paramIdx);

  // The selected channel's knobs shown, the other's hidden; GREEN switches
  // greyed on RED, Lead Mod greyed on GREEN.
  const bool red = channel_ != 0;
  if (editor) editor->ShowChannel(red);
  inputGain_ = red ? redInput_ : greenInput_;
  outputGain_ = red ? redOutput_ : greenOutput_;
  if (editor) {
    editor->ShowSettings(settingsShown_);
    editor->ShowLamps(red);
  }

  storedHostRate_ = GetSampleRate();
  if (quality_ != qualityBefore) {
    oversamplingFactor_ = quality_ == 0 ? 2.0 : 4.0;
    engines_[0].SetSampleRate(storedHostRate_ * oversamplingFactor_);
    engines_[1].SetSampleRate(storedHostRate_ * oversamplingFactor_);
  }

  const ChannelKnobs& set = red ? redSet_ : greenSet_;
  for (int side = 0; side < 2; ++side) {
    Ostra::Amp_Ferro& engine = engines_[side];
    engine.SetChannel(channel_);
    engine.UpdateParameters(set.preGain, set.postGain, set.bass, set.mid, set.treble, set.presence,
                            set.lowEnd, bright_, crunch_, paDisabled_, hifi_, leadMod_);
  }
  UpdatePowerAmps();

  if (editor) {
    editor->SetBiasPlot(bias_, valveType_);
    editor->SetBiasReadout(bias_);
  }

  if (channel_ != channelBefore) SettleEngines(kChannelSwitchSettling);
  // A new quality after resume, before the first block: settle again there.
  if (quality_ != qualityBefore && active_ && !audioStarted_) SettleForStart();
}

void IPlug_Ferro::UpdatePowerAmps() {
  for (int side = 0; side < 2; ++side) {
    Ostra::PowerAmp& pa = engines_[side].power_amp();
    // A type change alone keeps the feedback design; it takes the new gain at
    // its next design. A bias change rebuilds the curve and the design.
    if (valveType_ != pa.ValveType()) pa.SetValveType(valveType_);
    if (std::fabs(bias_ - pa.Bias()) > 1e-9) pa.SetBias(bias_);
    pa.feedback = feedback_;
  }
}

void IPlug_Ferro::Reset() {
  if (std::fabs(GetSampleRate() - storedHostRate_) > 1e-6) {
    storedHostRate_ = GetSampleRate();
    oversamplingFactor_ = quality_ != 0 ? 4.0 : 2.0;
    engines_[0].SetSampleRate(storedHostRate_ * oversamplingFactor_);
    engines_[1].SetSampleRate(storedHostRate_ * oversamplingFactor_);
    if (active_ && !audioStarted_) SettleForStart();
  }
}

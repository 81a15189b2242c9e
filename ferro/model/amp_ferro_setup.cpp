// Amp_Ferro set-up and control updates: engine initialisation at a rate, the
// rate change, and the redesigns a control change triggers. All of these run
// under the plug-in's instance lock, never during a block.
#include "ferro/model/amp_ferro.h"

namespace Ostra {

void Amp_Ferro::DesignAllFilters() noexcept {
  const EngineControls& c = controls_;
  const double fs = c.sample_rate;
  red_input_.Design(fs, c.pre_gain, c.lead_mod);
  green_bright_.Design(fs, c.channel, c.bright);
  green_tone_stack_.Design(fs, c.bass, c.mid, c.treble);
  red_lead_.Design(fs, c.lead_mod);
  red_tone_stack_.Design(fs, c.bass, c.mid, c.treble, c.lead_mod);
  pre_power_shelf_.Design(fs);
}

void Amp_Ferro::Initialise(double engine_rate) noexcept {
  controls_.sample_rate = engine_rate;
  stages_.Initialise(engine_rate);  // RC corners, the five valve stages
  DesignAllFilters();
  green_input_.Design(engine_rate, green_input_.current, controls_.crunch);
  power_amp_.Setup(engine_rate, controls_.presence, controls_.low_end, controls_.hifi);
  for (int i = 0; i < kSettlingRounds; ++i) {
    double red = 0.0;
    ProcessRed(red);
    double green = 0.0;
    ProcessGreen(green);
    double pa = 1e-12;
    power_amp_.Process(pa);
  }
}

void Amp_Ferro::SetSampleRate(double engine_rate) noexcept {
  controls_.sample_rate = engine_rate;
  stages_.SetRate(engine_rate);  // RC sections from their corners, stage periods
  DesignAllFilters();
  green_input_.SetRate(engine_rate);
  power_amp_.Setup(engine_rate, controls_.presence, controls_.low_end, controls_.hifi);
}

void Amp_Ferro::SetChannel(int32_t channel) noexcept { controls_.channel = channel != 0 ? 1 : 0; }

void Amp_Ferro::SetPostGain(double factor) noexcept { controls_.post_gain = factor; }

void Amp_Ferro::SetPaDisabled(bool disabled) noexcept { controls_.pa_disabled = disabled; }

void Amp_Ferro::SetPreGain(double pot) noexcept {
  controls_.pre_gain = pot;
  red_input_.Design(controls_.sample_rate, pot, controls_.lead_mod);
  green_input_.SetTarget(pot, controls_.crunch, controls_.sample_rate);
}

void Amp_Ferro::SetCrunch(bool on) noexcept {
  controls_.crunch = on;
  green_input_.SetCrunch(on);
}

void Amp_Ferro::SetLeadMod(bool on) noexcept {
  controls_.lead_mod = on;
  const EngineControls& c = controls_;
  red_input_.Design(c.sample_rate, c.pre_gain, on);
  red_tone_stack_.Design(c.sample_rate, c.bass, c.mid, c.treble, on);
  red_lead_.Design(c.sample_rate, on);
  stages_.hp_lead_mod.SetCutoff(on ? kLeadModCornerOn : kLeadModCornerOff, c.sample_rate);
}

void Amp_Ferro::SetToneControls(double bass, double mid, double treble) noexcept {
  controls_.bass = bass;
  controls_.mid = mid;
  controls_.treble = treble;
  green_tone_stack_.Design(controls_.sample_rate, bass, mid, treble);
  red_tone_stack_.Design(controls_.sample_rate, bass, mid, treble, controls_.lead_mod);
}

void Amp_Ferro::SetBright(bool on) noexcept {
  controls_.bright = on;
  green_bright_.Design(controls_.sample_rate, controls_.channel, on);
}

void Amp_Ferro::SetPowerAmpControls(double presence, double low_end, bool hifi) noexcept {
  controls_.presence = presence;
  controls_.low_end = low_end;
  controls_.hifi = hifi;
  power_amp_.Setup(controls_.sample_rate, presence, low_end, hifi);
}

}  // namespace Ostra

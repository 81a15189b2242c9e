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
  // PLACEHOLDER (issue 4): RC sections at their corners, the five triode stage
  // set-ups at this rate.
  DesignAllFilters();
  green_input_.Design(engine_rate, green_input_.current, controls_.crunch);
  // PLACEHOLDER (issue 4): power amp Setup(rate, presence, low end, HIFI).
  for (int i = 0; i < kSettlingRounds; ++i) {
    double red = 0.0;
    ProcessRed(red);
    double green = 0.0;
    ProcessGreen(green);
    // PLACEHOLDER (issue 4): power amp per-sample path on 1e-12.
  }
}

void Amp_Ferro::SetSampleRate(double engine_rate) noexcept {
  controls_.sample_rate = engine_rate;
  // PLACEHOLDER (issue 4): every RC section from its stored corner, SetRate on
  // the five triode stages.
  DesignAllFilters();
  green_input_.SetRate(engine_rate);
  // PLACEHOLDER (issue 4): power amp Setup(rate, presence, low end, HIFI).
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
  // PLACEHOLDER (issue 4): lead-mod coupling corner (HP 105.5 record) to
  // on ? kLeadModCornerOn : kLeadModCornerOff.
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
  // PLACEHOLDER (issue 4): power amp Setup(rate, presence, low end, HIFI).
}

}  // namespace Ostra

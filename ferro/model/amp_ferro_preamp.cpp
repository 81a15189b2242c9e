// The two preamp chains of Amp_Ferro, one engine-rate sample in place, in
// volts. They share the input valve stage, its 5 Hz coupling and the lead-mod
// coupling corner, so a channel switch continues from the other chain's state
// there. Audio thread.
#include "ferro/model/amp_ferro.h"

namespace Ostra {

// GREEN: input stage, gain pot network, two valve stages with their coupling
// and smoothing sections, bright network and tone stack.
void Amp_Ferro::ProcessGreen(double& w) noexcept {
  PreampStages& p = stages_;
  p.input.Process(w);
  p.hp_5.Process(w);
  w = green_input_.Process(w);
  p.green2.Process(w);
  p.hp_12.Process(w);
  w = w * 0.3188405797101449;  // interstage divider
  p.lp_7761.Process(w);
  p.green3.Process(w);
  p.hp_lead_mod.Process(w);
  w = w * 1.4 + 1.4e-12;
  w = green_bright_.Process(w);
  w = green_tone_stack_.Process(w);
  w = w * 0.25118862457147223;  // -12 dB into the post-gain
}

// RED: input stage, gain pot network, second stage into the inverting curve
// A, smoothing, third stage into the non-inverting curve B, lead network and
// tone stack.
void Amp_Ferro::ProcessRed(double& w) noexcept {
  PreampStages& p = stages_;
  p.input.Process(w);
  p.hp_5.Process(w);
  w = w * 1.090184;
  w = red_input_.Process(w);
  p.red2.Process(w);
  p.hp_lead_mod.Process(w);
  w = p.curves[PreampStages::kCurveA].LookupCubic(w);
  p.hp_16_91.Process(w);
  p.lp_2190.Process(w);
  p.lp_2905.Process(w);
  p.red3.Process(w);
  p.hp_6_2.Process(w);
  w = p.curves[PreampStages::kCurveB].LookupCubic(w);
  p.hp_5_9.Process(w);
  w = red_lead_.Process(w);
  w = red_tone_stack_.Process(w);
}

}  // namespace Ostra

// The engine parameter update: the selected channel's knob set and switches
// in, tapered into circuit quantities, and only the networks whose inputs
// changed are redesigned (a redesign never clears a filter state).
#include <cmath>

#include "ferro/model/amp_ferro.h"
#include "ferro/model/tapers.h"

namespace Ostra {

namespace {
// Knob movements this small are below what any design can resolve.
bool Moved(double now, double before) noexcept { return std::fabs(now - before) > 1e-6; }
}  // namespace

void Amp_Ferro::UpdateParameters(double pre_gain, double post_gain, double bass, double mid,
                                 double treble, double presence, double low_end, int32_t bright,
                                 int32_t crunch, bool pa_disabled, bool hifi,
                                 bool lead_mod) noexcept {
  EngineControls& c = controls_;
  const EngineControls old = c;

  c.pa_disabled = pa_disabled;
  c.hifi = hifi;
  c.pre_gain = GainTaper(pre_gain);
  c.post_gain = pa_disabled ? 0.35 : LevelTaper(post_gain);
  c.bass = GainTaper(bass);
  c.mid = mid;
  c.treble = treble;
  c.presence = presence;
  c.low_end = GainTaper(low_end);
  c.bright = bright != 0;
  c.crunch = crunch != 0;
  // Lead mod is stored by SetLeadMod below when it changes.

  const double fs = c.sample_rate;
  const bool lead_changed = lead_mod != old.lead_mod;
  if (lead_changed) {
    // RedInputNetwork, RedToneStack, RedLeadNetwork and the coupling corner.
    SetLeadMod(lead_mod);
  }
  if (Moved(c.pre_gain, old.pre_gain) || lead_changed) {
    if (!lead_changed) red_input_.Design(fs, c.pre_gain, c.lead_mod);
    green_input_.SetTarget(c.pre_gain, c.crunch, fs);
  }
  if (Moved(c.bass, old.bass) || Moved(c.mid, old.mid) || Moved(c.treble, old.treble))
    SetToneControls(c.bass, c.mid, c.treble);
  if (c.bright != old.bright) SetBright(c.bright);
  if (Moved(c.presence, old.presence) || Moved(c.low_end, old.low_end) || c.hifi != old.hifi)
    SetPowerAmpControls(c.presence, c.low_end, c.hifi);
  if (c.crunch != old.crunch) {
    green_input_.target = c.pre_gain;
    green_input_.SetCrunch(c.crunch);
  }
}

}  // namespace Ostra

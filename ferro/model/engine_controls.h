// The control values of one Amp_Ferro engine: written by the parameter mapping
// (under the instance lock), read by the stages and the filter designs.
#pragma once

#include <cstdint>

namespace Ostra {

struct EngineControls {
  // Start value of the tapered controls before the first parameter update.
  static constexpr double kStartValue = 0.08212422756417256;

  double pre_gain = kStartValue;   // gain-tapered PreGain (pot position)
  double post_gain = kStartValue;  // level-tapered PostGain factor, 0.35 with the PA disabled
  double bass = kStartValue;       // gain-tapered Bass (pot position)
  double mid = 0.5;                // Mid pot position
  double treble = 0.5;             // Treble pot position
  double presence = kStartValue;   // Presence, linear
  double low_end = kStartValue;    // gain-tapered LowEnd
  int32_t channel = 0;             // 0 = GREEN, 1 = RED
  bool pa_disabled = false;
  bool hifi = false;
  bool lead_mod = false;
  bool crunch = false;
  bool bright = false;
  double sample_rate = 88200.0;  // engine rate: host rate times the oversampling factor
};

}  // namespace Ostra

#include "ferro/model/power_amp.h"

#include <cmath>

#include "ferro/model/fixed_curves.h"

namespace Ostra {

PowerAmp::PowerAmp() noexcept {
  splitter[0].Init(curves::kPhaseSplitterA, curves::kPhaseSplitterSize, curves::kPhaseSplitterX0,
                   curves::kPhaseSplitterXmin);
  splitter[1].Init(curves::kPhaseSplitterB, curves::kPhaseSplitterSize, curves::kPhaseSplitterX0,
                   curves::kPhaseSplitterXmin);
  valve_curve.Init(curves::kPowerValveCurves[0], curves::kPowerValveSize, curves::kPowerValveX0,
                   curves::kPowerValveXmin);
  push_pull_table.Init(push_pull, kPushPullSize, kPushPullX0, kPushPullXmin);
  BuildPushPull();
  DesignNetwork();
}

const double* PowerAmp::ValveCurve(int32_t type) noexcept {
  if (type < 0 || type >= kValveTypes) type = 0;
  return curves::kPowerValveCurves[type];
}

void PowerAmp::Setup(double engine_rate, double new_presence, double new_low_end,
                     bool new_hifi) noexcept {
  rate = engine_rate;
  hp_15_5.SetCutoff(15.5, rate);
  hp_10_5.SetCutoff(10.5, rate);
  lp_28050.SetCutoff(28050.0, rate);
  presence = new_presence;
  low_end = new_low_end;
  hifi = new_hifi;
  DesignNetwork();
}

void PowerAmp::SetBias(double volts) noexcept {
  bias = volts;
  BuildPushPull();
  DesignNetwork();
}

void PowerAmp::SetValveType(int32_t type) noexcept {
  if (type >= 0 && type < kValveTypes) {
    valve_type = type;
    valve_curve.Init(curves::kPowerValveCurves[type], curves::kPowerValveSize,
                     curves::kPowerValveX0, curves::kPowerValveXmin);
  }
  BuildPushPull();
}

void PowerAmp::DesignNetwork() noexcept { network.Design(rate, presence, low_end, hifi, K); }

// Both grids sit at the bias plus the phase splitter's swing away from its
// rest output; the curve is their plate-to-plate difference over
// sqrt(529.375), the sign making the stage non-inverting.
void PowerAmp::BuildPushPull() noexcept {
  const double a0 = splitter[0].LookupCubic(0.0);
  const double b0 = splitter[1].LookupCubic(0.0);
  const double out_scale = std::sqrt(529.375);
  double x = kPushPullX0;
  for (int32_t i = 0; i < kPushPullSize; ++i) {
    const double ga = splitter[0].LookupCubic(x) - a0 + bias;
    const double gb = splitter[1].LookupCubic(x) - b0 + bias;
    push_pull[i] = -(valve_curve.LookupCubic(ga) - valve_curve.LookupCubic(gb)) / out_scale;
    x -= 0.007333333333333333;
  }
  K = (push_pull_table.LookupCubic(1.0) - push_pull_table.LookupCubic(-1.0)) * 0.5;
  BuildCubicSegments(push_pull_table, push_pull_segments);
}

}  // namespace Ostra

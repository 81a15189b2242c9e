// PowerAmp: the push-pull power stage. A phase splitter drives two power
// valves biased at the grid bias; their plate-to-plate voltage, scaled to the
// output level, is folded into one transfer curve (the push-pull curve),
// rebuilt whenever the bias or the valve type changes. In front of it run the
// input low-pass, the negative-feedback network and a coupling high-pass;
// after it the output coupling high-pass.
#pragma once

#include <cstdint>

#include "ferro/model/cubic_segments.h"
#include "ferro/model/curve_table.h"
#include "ferro/model/feedback_network.h"
#include "ferro/model/rc_sections.h"

namespace Ostra {

class PowerAmp {
 public:
  static constexpr int32_t kPushPullSize = 3000;
  static constexpr double kPushPullX0 = 11.0;
  static constexpr double kPushPullXmin = -11.0;
  static constexpr int32_t kValveTypes = 4;  // 0 6L6GC, 1 EL34, 2 6550, 3 KT88
  static constexpr double kDefaultBias = -55.0;

  // Phase-splitter and valve type 0 curves, bias -55 V, rate 88200 Hz; the
  // push-pull curve and K built for them, the network designed for them.
  PowerAmp() noexcept;
  PowerAmp(const PowerAmp&) = delete;
  PowerAmp& operator=(const PowerAmp&) = delete;

  // Set-up (initialisation, rate change, Presence / LowEnd / HIFI change):
  // the fixed RC sections and the network design. States stay.
  void Setup(double engine_rate, double presence, double low_end, bool hifi) noexcept;

  // Bias change (volts): new push-pull curve and K, network redesigned.
  void SetBias(double volts) noexcept;

  // Valve type change: types 0 to 3 select a curve (any other value keeps
  // the current one); new push-pull curve and K. The network keeps its last
  // design, made with the previous K, until the next Setup or SetBias.
  void SetValveType(int32_t type) noexcept;

  // One engine-rate sample, in place. Audio thread.
  void Process(double& w) noexcept {
    const double x = w + 1e-12;
    double u = x + 1e-12;
    lp_28050.Process(u);
    work = u + 1e-12;
    network.Process(work);
    hp_15_5.Process(work);
    work = push_pull_table.LookupCubic(work);
    hp_10_5.Process(work);
    w = work;
  }

  // The power-valve curve of a type (0 to 3): 1801 plate voltages from +30 V
  // grid (entry 0) to -150 V (entry 1800). The bias plot draws it.
  static const double* ValveCurve(int32_t type) noexcept;

  double Bias() const noexcept { return bias; }
  int32_t ValveType() const noexcept { return valve_type; }
  double Gain() const noexcept { return K; }

  RcHighpass hp_15_5;  // coupling after the feedback network
  RcHighpass hp_10_5;  // output coupling
  RcLowpass lp_28050;  // input low-pass
  FeedbackNetwork network;
  CurveTable splitter[2];  // phase-splitter outputs A and B
  CurveTable valve_curve;
  CurveTable push_pull_table;
  double push_pull[kPushPullSize] = {};
  CubicSegment push_pull_segments[kPushPullSize];  // rebuilt with the curve
  double rate = 88200.0;
  double bias = kDefaultBias;
  double work = 0.0;
  double presence = 0.0;
  double low_end = 0.0001;
  double K = 0.0;  // slope of the push-pull curve at 0
  bool hifi = false;
  int32_t valve_type = 0;
  double feedback = 0.0;  // the "Feedback" parameter: stored, read by nothing

 private:
  void BuildPushPull() noexcept;
  void DesignNetwork() noexcept;
};

}  // namespace Ostra

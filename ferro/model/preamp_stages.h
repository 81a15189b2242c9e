// The valve stages, coupling sections and fixed transfer curves of one
// engine's preamp (and the power amplifier's input coupling). The engine owns
// one of these; its two preamp chains run through them.
//
// Stages by name (B+ V, Ra, Rk, RL, Rg ohms, Ck F):
//   input   340, 215k, 1820, 150k, 68k, 2.6u  (both channels)
//   red2    340, 100k, 1820, 1.47M, 470k, 1u
//   red3    380, 220k, 1820, 1.1M, 220k, 1u
//   green2  340, 220k, 2200, 690k, 470k, 330n
//   green3  340, 220k, 2200, 110k, 470k, 2.2u
#pragma once

#include "ferro/model/cubic_segments.h"
#include "ferro/model/curve_table.h"
#include "ferro/model/rc_sections.h"
#include "ferro/model/triode_stage.h"

namespace Ostra {

struct PreampStages {
  enum Curve { kCurveA = 0, kCurveB = 1, kDriveCurve = 2, kCurveCount = 3 };

  // Curve tables set up; every RC corner at 5 Hz until Initialise.
  PreampStages() noexcept;

  // Engine initialisation (set-up): RC corners and the five valve stages at
  // the engine rate. The lead-mod corner starts at 105.5 Hz.
  void Initialise(double engine_rate);

  // Rate change: every RC section from its stored corner, the stages' periods.
  void SetRate(double engine_rate) noexcept;

  RcHighpass hp_5;         // both chains, after the input stage
  RcHighpass hp_lead_mod;  // GREEN after stage 3, RED after stage 2
  RcHighpass hp_12;        // GREEN after stage 2
  RcHighpass hp_16_91;     // RED after curve A
  RcHighpass hp_6_2;       // RED after stage 3
  RcHighpass hp_5_9;       // RED after curve B
  RcHighpass hp_14_5;      // power-amp input coupling
  RcLowpass lp_2190;       // RED after HP 16.91
  RcLowpass lp_7761;       // GREEN before stage 3
  RcLowpass lp_2905;       // RED before stage 3

  CurveTable curves[kCurveCount];  // curve A, curve B, power-amp drive curve
  // The cubic segments of curves A and B (the drive curve is linear).
  const CubicSegment* segments[kCurveCount] = {};

  TriodeStage input;
  TriodeStage red2;
  TriodeStage red3;
  TriodeStage green2;
  TriodeStage green3;
};

}  // namespace Ostra

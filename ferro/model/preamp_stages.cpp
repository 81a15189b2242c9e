#include "ferro/model/preamp_stages.h"

#include <initializer_list>

#include "ferro/model/fixed_curves.h"

namespace Ostra {

namespace {
constexpr double kLeadModCornerAtStart = 105.5;  // Hz, until Lead Mod is first applied
}

PreampStages::PreampStages() noexcept {
  curves[kCurveA].Init(curves::kCurveA, curves::kCurveASize, curves::kCurveAX0,
                       curves::kCurveAXmin);
  curves[kCurveB].Init(curves::kCurveB, curves::kCurveBSize, curves::kCurveBX0,
                       curves::kCurveBXmin);
  curves[kDriveCurve].Init(curves::kDriveCurve, curves::kDriveCurveSize, curves::kDriveCurveX0,
                           curves::kDriveCurveXmin);
  segments[kCurveA] = CurveASegments();
  segments[kCurveB] = CurveBSegments();
}

void PreampStages::Initialise(double engine_rate) {
  hp_5.SetCutoff(5.0, engine_rate);
  hp_lead_mod.SetCutoff(kLeadModCornerAtStart, engine_rate);
  hp_12.SetCutoff(12.0, engine_rate);
  hp_16_91.SetCutoff(16.91, engine_rate);
  hp_6_2.SetCutoff(6.2, engine_rate);
  hp_5_9.SetCutoff(5.9, engine_rate);
  hp_14_5.SetCutoff(14.5, engine_rate);
  lp_2190.SetCutoff(2190.0, engine_rate);
  lp_7761.SetCutoff(7761.0, engine_rate);
  lp_2905.SetCutoff(2905.0, engine_rate);

  input.Setup(engine_rate, 340.0, 215000.0, 1820.0, 150000.0, 68000.0, 2.6e-6);
  red2.Setup(engine_rate, 340.0, 100000.0, 1820.0, 1470000.0, 470000.0, 1e-6);
  red3.Setup(engine_rate, 380.0, 220000.0, 1820.0, 1100000.0, 220000.0, 1e-6);
  green2.Setup(engine_rate, 340.0, 220000.0, 2200.0, 690000.0, 470000.0, 3.3e-7);
  green3.Setup(engine_rate, 340.0, 220000.0, 2200.0, 110000.0, 470000.0, 2.2e-6);
}

void PreampStages::SetRate(double engine_rate) noexcept {
  for (RcHighpass* hp : {&hp_5, &hp_lead_mod, &hp_12, &hp_16_91, &hp_6_2, &hp_5_9, &hp_14_5}) {
    hp->SetRate(engine_rate);
  }
  for (RcLowpass* lp : {&lp_2190, &lp_7761, &lp_2905}) lp->SetRate(engine_rate);
  for (TriodeStage* stage : {&input, &red2, &red3, &green2, &green3}) stage->SetRate(engine_rate);
}

}  // namespace Ostra

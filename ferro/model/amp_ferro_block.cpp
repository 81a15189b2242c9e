// The engine's fast schedule: the elements of ProcessSample (and of the preamp
// chains) as steps of a skewed pipeline over a block of engine-rate samples.
// Each step is the same arithmetic as the plain chain, element for element, in
// the same order and with the same denormal guards; the channel and the
// power-amp switch hold for the whole block (they change only between blocks,
// under the instance lock). Audio thread.
#include "ferro/model/amp_ferro.h"
#include "ferro/model/skewed_pipeline.h"

namespace Ostra {

namespace {

// The power amplifier and the output scaling, after the post-gain. The
// power-amp object's own steps are split so that its five recursions overlap;
// its scratch value `work` ends the block as the plain Process leaves it.
template <class... Preamp>
void RunWithPowerAmp(double* w, int n, PrePowerShelf& shelf, const CurveTable& drive,
                     RcHighpass& coupling, PowerAmp& pa, double post_gain,
                     Preamp... preamp) noexcept {
  RunSkewed(
      w, n, preamp...,
      [&shelf, post_gain](double& x) {
        x = x * post_gain;
        x = shelf.Process(x);
      },
      [&drive, &coupling](double& x) {
        x = drive.LookupLinearOffset(x);
        coupling.Process(x);
      },
      [&pa](double& x) {
        const double in = x + 1e-12;
        double u = in + 1e-12;
        pa.lp_28050.Process(u);
        x = u + 1e-12;
        pa.network.Process(x);
      },
      [&pa](double& x) { pa.hp_15_5.Process(x); },
      [&pa](double& x) {
        x = pa.push_pull_table.LookupCubic(x);
        pa.hp_10_5.Process(x);
        pa.work = x;
        x = x * 0.9;
        x = x * 0.4;
      });
}

template <class... Preamp>
void RunWithoutPowerAmp(double* w, int n, double post_gain, Preamp... preamp) noexcept {
  RunSkewed(w, n, preamp..., [post_gain](double& x) {
    x = x * post_gain;
    x = x * 0.4;
  });
}

}  // namespace

void Amp_Ferro::ProcessEngineBlock(double* w, int n) noexcept {
  PreampStages& p = stages_;
  const bool pa = !controls_.pa_disabled;
  const double post_gain = controls_.post_gain;
  PowerAmp& power = power_amp_;
  PrePowerShelf& shelf = pre_power_shelf_;
  const CurveTable& drive = p.curves[PreampStages::kDriveCurve];

  auto input = [&p](double& x) {
    x = x + 1e-12;
    p.input.Process(x);
  };

  if (controls_.channel == 0) {
    GreenInputNetwork& gin = green_input_;
    GreenBrightNetwork& bright = green_bright_;
    GreenToneStack& stack = green_tone_stack_;
    auto hp5 = [&p](double& x) { p.hp_5.Process(x); };
    auto gain = [&gin](double& x) { x = gin.Process(x); };
    auto v2 = [&p](double& x) { p.green2.Process(x); };
    auto hp12 = [&p](double& x) {
      p.hp_12.Process(x);
      x = x * 0.3188405797101449;
    };
    auto lp = [&p](double& x) { p.lp_7761.Process(x); };
    auto v3 = [&p](double& x) { p.green3.Process(x); };
    auto hp_mod = [&p](double& x) {
      p.hp_lead_mod.Process(x);
      x = x * 1.4 + 1.4e-12;
    };
    auto br = [&bright](double& x) { x = bright.Process(x); };
    auto tone = [&stack](double& x) {
      x = stack.Process(x);
      x = x * 0.25118862457147223;
    };
    if (pa) {
      RunWithPowerAmp(w, n, shelf, drive, p.hp_14_5, power, post_gain, input, hp5, gain, v2, hp12,
                      lp, v3, hp_mod, br, tone);
    } else {
      RunWithoutPowerAmp(w, n, post_gain, input, hp5, gain, v2, hp12, lp, v3, hp_mod, br, tone);
    }
    return;
  }

  RedInputNetwork& rin = red_input_;
  RedLeadNetwork& lead = red_lead_;
  RedToneStack& stack = red_tone_stack_;
  const CurveTable& curve_a = p.curves[PreampStages::kCurveA];
  const CurveTable& curve_b = p.curves[PreampStages::kCurveB];
  auto hp5 = [&p](double& x) {
    p.hp_5.Process(x);
    x = x * 1.090184;
  };
  auto gain = [&rin](double& x) { x = rin.Process(x); };
  auto v2 = [&p](double& x) { p.red2.Process(x); };
  auto hp_mod = [&p, &curve_a](double& x) {
    p.hp_lead_mod.Process(x);
    x = curve_a.LookupCubic(x);
  };
  auto hp16 = [&p](double& x) { p.hp_16_91.Process(x); };
  auto lp1 = [&p](double& x) { p.lp_2190.Process(x); };
  auto lp2 = [&p](double& x) { p.lp_2905.Process(x); };
  auto v3 = [&p](double& x) { p.red3.Process(x); };
  auto hp62 = [&p, &curve_b](double& x) {
    p.hp_6_2.Process(x);
    x = curve_b.LookupCubic(x);
  };
  auto hp59 = [&p](double& x) { p.hp_5_9.Process(x); };
  auto ld = [&lead](double& x) { x = lead.Process(x); };
  auto tone = [&stack](double& x) { x = stack.Process(x); };
  if (pa) {
    RunWithPowerAmp(w, n, shelf, drive, p.hp_14_5, power, post_gain, input, hp5, gain, v2, hp_mod,
                    hp16, lp1, lp2, v3, hp62, hp59, ld, tone);
  } else {
    RunWithoutPowerAmp(w, n, post_gain, input, hp5, gain, v2, hp_mod, hp16, lp1, lp2, v3, hp62,
                       hp59, ld, tone);
  }
}

}  // namespace Ostra

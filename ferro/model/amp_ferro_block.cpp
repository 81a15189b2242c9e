// The engine's fast schedule: the elements of ProcessSample (and of the preamp
// chains) as steps of a skewed pipeline over a block of engine-rate samples.
// Each step is the same arithmetic as the plain chain, element for element, in
// the same order and with the same denormal guards; the channel and the
// power-amp switch hold for the whole block (they change only between blocks,
// under the instance lock).
//
// Every element runs on a working copy, a local the compiler can keep in
// registers (the block buffer cannot alias it), written back when the block
// ends: the element's state afterwards is what the plain chain leaves.
// Audio thread.
#include "ferro/model/amp_ferro.h"
#include "ferro/model/skewed_pipeline.h"

namespace Ostra {

namespace {

// A working copy of an element (or of its per-sample part, T) for one block.
template <class T, class Home = T>
class Working {
 public:
  explicit Working(Home& home) noexcept : home_(home), value_(home) {}
  ~Working() { static_cast<T&>(home_) = value_; }
  Working(const Working&) = delete;
  Working& operator=(const Working&) = delete;
  T& operator*() noexcept { return value_; }

 private:
  Home& home_;
  T value_;
};

// The post-gain, the power amplifier and the output scaling after a preamp
// chain. The power amp's own elements are separate steps so that their
// recursions overlap; its scratch value `work` ends the block as the plain
// Process leaves it.
template <class... Preamp>
void RunWithPowerAmp(double* w, int n, Amp_Ferro& amp, double post_gain,
                     Preamp... preamp) noexcept {
  PowerAmp& pa = amp.power_amp();
  Working<PrePowerShelf> shelf_copy(amp.pre_power_shelf());
  Working<RcHighpass> coupling_copy(amp.preamp_stages().hp_14_5);
  Working<RcLowpass> lp_copy(pa.lp_28050);
  Working<FeedbackNetwork> network_copy(pa.network);
  Working<RcHighpass> hp_in_copy(pa.hp_15_5);
  Working<RcHighpass> hp_out_copy(pa.hp_10_5);
  PrePowerShelf& shelf = *shelf_copy;
  RcHighpass& coupling = *coupling_copy;
  RcLowpass& lp = *lp_copy;
  FeedbackNetwork& network = *network_copy;
  RcHighpass& hp_in = *hp_in_copy;
  RcHighpass& hp_out = *hp_out_copy;
  const CurveTable drive = amp.preamp_stages().curves[PreampStages::kDriveCurve];
  const CurveTable push_pull = pa.push_pull_table;
  const CubicSegment* push_pull_segments = pa.push_pull_segments;
  double work = pa.work;
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
      [&lp, &network](double& x) {
        const double in = x + 1e-12;
        double u = in + 1e-12;
        lp.Process(u);
        x = u + 1e-12;
        network.Process(x);
      },
      [&hp_in](double& x) { hp_in.Process(x); },
      [&push_pull, push_pull_segments, &hp_out, &work](double& x) {
        x = LookupCubic(push_pull, push_pull_segments, x);
        hp_out.Process(x);
        work = x;
        x = x * 0.9;
        x = x * 0.4;
      });
  pa.work = work;
}

template <class... Preamp>
void RunWithoutPowerAmp(double* w, int n, double post_gain, Preamp... preamp) noexcept {
  RunSkewed(w, n, preamp..., [post_gain](double& x) {
    x = x * post_gain;
    x = x * 0.4;
  });
}

template <class... Preamp>
void RunTail(double* w, int n, Amp_Ferro& amp, Preamp... preamp) noexcept {
  const EngineControls& c = amp.controls();
  if (c.pa_disabled) {
    RunWithoutPowerAmp(w, n, c.post_gain, preamp...);
  } else {
    RunWithPowerAmp(w, n, amp, c.post_gain, preamp...);
  }
}

}  // namespace

void Amp_Ferro::ProcessEngineBlock(double* w, int n) noexcept {
  PreampStages& p = stages_;
  Working<TriodeState, TriodeStage> input_copy(p.input);
  Working<RcHighpass> hp5_copy(p.hp_5);
  Working<RcHighpass> hp_mod_copy(p.hp_lead_mod);
  TriodeState& input = *input_copy;
  RcHighpass& hp5 = *hp5_copy;
  RcHighpass& hp_mod = *hp_mod_copy;
  auto input_step = [&input](double& x) {
    x = x + 1e-12;
    input.Process(x);
  };

  if (controls_.channel == 0) {
    Working<GreenInputNetwork> gin_copy(green_input_);
    Working<TriodeState, TriodeStage> v2_copy(p.green2);
    Working<RcHighpass> hp12_copy(p.hp_12);
    Working<RcLowpass> lp_copy(p.lp_7761);
    Working<TriodeState, TriodeStage> v3_copy(p.green3);
    Working<GreenBrightNetwork> bright_copy(green_bright_);
    Working<GreenToneStack> stack_copy(green_tone_stack_);
    GreenInputNetwork& gin = *gin_copy;
    TriodeState& v2 = *v2_copy;
    RcHighpass& hp12 = *hp12_copy;
    RcLowpass& lp = *lp_copy;
    TriodeState& v3 = *v3_copy;
    GreenBrightNetwork& bright = *bright_copy;
    GreenToneStack& stack = *stack_copy;
    RunTail(
        w, n, *this, input_step, [&hp5](double& x) { hp5.Process(x); },
        [&gin](double& x) { x = gin.Process(x); }, [&v2](double& x) { v2.Process(x); },
        [&hp12](double& x) {
          hp12.Process(x);
          x = x * 0.3188405797101449;
        },
        [&lp](double& x) { lp.Process(x); }, [&v3](double& x) { v3.Process(x); },
        [&hp_mod](double& x) {
          hp_mod.Process(x);
          x = x * 1.4 + 1.4e-12;
        },
        [&bright](double& x) { x = bright.Process(x); },
        [&stack](double& x) {
          x = stack.Process(x);
          x = x * 0.25118862457147223;
        });
    return;
  }

  Working<RedInputNetwork> rin_copy(red_input_);
  Working<TriodeState, TriodeStage> v2_copy(p.red2);
  Working<RcHighpass> hp16_copy(p.hp_16_91);
  Working<RcLowpass> lp1_copy(p.lp_2190);
  Working<RcLowpass> lp2_copy(p.lp_2905);
  Working<TriodeState, TriodeStage> v3_copy(p.red3);
  Working<RcHighpass> hp62_copy(p.hp_6_2);
  Working<RcHighpass> hp59_copy(p.hp_5_9);
  Working<RedLeadNetwork> lead_copy(red_lead_);
  Working<RedToneStack> stack_copy(red_tone_stack_);
  RedInputNetwork& rin = *rin_copy;
  TriodeState& v2 = *v2_copy;
  RcHighpass& hp16 = *hp16_copy;
  RcLowpass& lp1 = *lp1_copy;
  RcLowpass& lp2 = *lp2_copy;
  TriodeState& v3 = *v3_copy;
  RcHighpass& hp62 = *hp62_copy;
  RcHighpass& hp59 = *hp59_copy;
  RedLeadNetwork& lead = *lead_copy;
  RedToneStack& stack = *stack_copy;
  const CurveTable curve_a = p.curves[PreampStages::kCurveA];
  const CurveTable curve_b = p.curves[PreampStages::kCurveB];
  const CubicSegment* segments_a = p.segments[PreampStages::kCurveA];
  const CubicSegment* segments_b = p.segments[PreampStages::kCurveB];
  RunTail(
      w, n, *this, input_step,
      [&hp5](double& x) {
        hp5.Process(x);
        x = x * 1.090184;
      },
      [&rin](double& x) { x = rin.Process(x); }, [&v2](double& x) { v2.Process(x); },
      [&hp_mod, &curve_a, segments_a](double& x) {
        hp_mod.Process(x);
        x = LookupCubic(curve_a, segments_a, x);
      },
      [&hp16](double& x) { hp16.Process(x); }, [&lp1](double& x) { lp1.Process(x); },
      [&lp2](double& x) { lp2.Process(x); }, [&v3](double& x) { v3.Process(x); },
      [&hp62, &curve_b, segments_b](double& x) {
        hp62.Process(x);
        x = LookupCubic(curve_b, segments_b, x);
      },
      [&hp59](double& x) { hp59.Process(x); }, [&lead](double& x) { x = lead.Process(x); },
      [&stack](double& x) { x = stack.Process(x); });
}

}  // namespace Ostra

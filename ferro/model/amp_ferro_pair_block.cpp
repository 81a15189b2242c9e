// The fast schedule for two engines at once (the stereo sides): the preamp
// chain, the post-gain and the power amplifier as the same skewed pipeline as the
// single engine's block, with the left engine in lane 0 and the right one in
// lane 1 of every value. Each element pair runs in each lane the arithmetic
// of the single element, so each engine gets the bits it would get alone.
// Audio thread.
#include "ferro/model/amp_ferro.h"
#include "ferro/model/element_pairs.h"
#include "ferro/model/skewed_pipeline.h"

namespace Ostra {

namespace {

// Engine-rate samples per run of the pair pipeline: a whole four-times pass
// (the buffer of pairs is on the stack, 8 KB).
constexpr int kPairChunk = 4 * OstraCore::kBlockPass;

template <class... Preamp>
void RunPairWithPowerAmp(LanePair* w, int n, Amp_Ferro& l, Amp_Ferro& r,
                         Preamp... preamp) noexcept {
  PowerAmp& pl = l.power_amp();
  PowerAmp& pr = r.power_amp();
  WorkingPair<PrePowerShelfPair, PrePowerShelf> shelf_copy(l.pre_power_shelf(),
                                                           r.pre_power_shelf());
  WorkingPair<RcHighpassPair, RcHighpass> coupling_copy(l.preamp_stages().hp_14_5,
                                                        r.preamp_stages().hp_14_5);
  WorkingPair<RcLowpassPair, RcLowpass> lp_copy(pl.lp_28050, pr.lp_28050);
  WorkingPair<FeedbackNetworkPair, FeedbackNetwork> network_copy(pl.network, pr.network);
  WorkingPair<RcHighpassPair, RcHighpass> hp_in_copy(pl.hp_15_5, pr.hp_15_5);
  WorkingPair<RcHighpassPair, RcHighpass> hp_out_copy(pl.hp_10_5, pr.hp_10_5);
  PrePowerShelfPair& shelf = *shelf_copy;
  RcHighpassPair& coupling = *coupling_copy;
  RcLowpassPair& lp = *lp_copy;
  FeedbackNetworkPair& network = *network_copy;
  RcHighpassPair& hp_in = *hp_in_copy;
  RcHighpassPair& hp_out = *hp_out_copy;
  const CurvePair drive(l.preamp_stages().curves[PreampStages::kDriveCurve],
                        r.preamp_stages().curves[PreampStages::kDriveCurve]);
  const CurvePair push_pull(pl.push_pull_table, pr.push_pull_table, pl.push_pull_segments,
                            pr.push_pull_segments);
  const LanePair post_gain = Lanes(l.controls().post_gain, r.controls().post_gain);
  LanePair work = Lanes(pl.work, pr.work);
  RunSkewed(
      w, n, preamp...,
      [&shelf, post_gain](LanePair& x) {
        x = x * post_gain;
        x = shelf.Process(x);
      },
      [&drive, &coupling](LanePair& x) {
        x = drive.LookupLinearOffset(x);
        coupling.Process(x);
      },
      [&lp, &network](LanePair& x) {
        const LanePair in = x + 1e-12;
        LanePair u = in + 1e-12;
        lp.Process(u);
        x = u + 1e-12;
        network.Process(x);
      },
      [&hp_in](LanePair& x) { hp_in.Process(x); },
      [&push_pull, &hp_out, &work](LanePair& x) {
        x = push_pull.LookupCubic(x);
        hp_out.Process(x);
        work = x;
        x = x * 0.9;
        x = x * 0.4;
      });
  StoreLanes(work, pl.work, pr.work);
}

template <class... Preamp>
void RunPairWithoutPowerAmp(LanePair* w, int n, LanePair post_gain, Preamp... preamp) noexcept {
  RunSkewed(w, n, preamp..., [post_gain](LanePair& x) {
    x = x * post_gain;
    x = x * 0.4;
  });
}

// A preamp chain, then the post-gain and the power amp if it runs (the two
// engines share the switch: checked by the caller).
template <class... Preamp>
void RunPairTail(LanePair* w, int n, Amp_Ferro& l, Amp_Ferro& r, Preamp... preamp) noexcept {
  if (l.controls().pa_disabled) {
    const LanePair post_gain = Lanes(l.controls().post_gain, r.controls().post_gain);
    RunPairWithoutPowerAmp(w, n, post_gain, preamp...);
  } else {
    RunPairWithPowerAmp(w, n, l, r, preamp...);
  }
}

// The GREEN chain on n pairs in place.
void RunGreenPair(LanePair* w, int n, Amp_Ferro& l, Amp_Ferro& r, TriodePair& input,
                  RcHighpassPair& hp5, RcHighpassPair& hp_mod) noexcept {
  PreampStages& pl = l.preamp_stages();
  PreampStages& pr = r.preamp_stages();
  WorkingPair<GreenInputPair, GreenInputNetwork> gin_copy(l.green_input_network(),
                                                          r.green_input_network());
  WorkingPair<TriodePair, TriodeState, TriodeStage> v2_copy(pl.green2, pr.green2);
  WorkingPair<RcHighpassPair, RcHighpass> hp12_copy(pl.hp_12, pr.hp_12);
  WorkingPair<RcLowpassPair, RcLowpass> lp_copy(pl.lp_7761, pr.lp_7761);
  WorkingPair<TriodePair, TriodeState, TriodeStage> v3_copy(pl.green3, pr.green3);
  WorkingPair<CircuitFilterPair<3>, CircuitFilter<3>, GreenBrightNetwork> bright_copy(
      l.green_bright_network(), r.green_bright_network());
  WorkingPair<CircuitFilterPair<3>, CircuitFilter<3>, GreenToneStack> stack_copy(
      l.green_tone_stack(), r.green_tone_stack());
  GreenInputPair& gin = *gin_copy;
  TriodePair& v2 = *v2_copy;
  RcHighpassPair& hp12 = *hp12_copy;
  RcLowpassPair& lp = *lp_copy;
  TriodePair& v3 = *v3_copy;
  CircuitFilterPair<3>& bright = *bright_copy;
  CircuitFilterPair<3>& stack = *stack_copy;
  RunPairTail(
      w, n, l, r,
      [&input](LanePair& x) {
        x = x + 1e-12;
        input.Process(x);
      },
      [&hp5](LanePair& x) { hp5.Process(x); }, [&gin](LanePair& x) { x = gin.Process(x); },
      [&v2](LanePair& x) { v2.Process(x); },
      [&hp12](LanePair& x) {
        hp12.Process(x);
        x = x * 0.3188405797101449;
      },
      [&lp](LanePair& x) { lp.Process(x); }, [&v3](LanePair& x) { v3.Process(x); },
      [&hp_mod](LanePair& x) {
        hp_mod.Process(x);
        x = x * 1.4 + 1.4e-12;
      },
      [&bright](LanePair& x) { x = bright.Process(x); },
      [&stack](LanePair& x) {
        x = stack.Process(x);
        x = x * 0.25118862457147223;
      });
}

// The RED chain on n pairs in place.
void RunRedPair(LanePair* w, int n, Amp_Ferro& l, Amp_Ferro& r, TriodePair& input,
                RcHighpassPair& hp5, RcHighpassPair& hp_mod) noexcept {
  PreampStages& pl = l.preamp_stages();
  PreampStages& pr = r.preamp_stages();
  WorkingPair<CircuitFilterPair<5>, CircuitFilter<5>, RedInputNetwork> rin_copy(
      l.red_input_network(), r.red_input_network());
  WorkingPair<TriodePair, TriodeState, TriodeStage> v2_copy(pl.red2, pr.red2);
  WorkingPair<RcHighpassPair, RcHighpass> hp16_copy(pl.hp_16_91, pr.hp_16_91);
  WorkingPair<RcLowpassPair, RcLowpass> lp1_copy(pl.lp_2190, pr.lp_2190);
  WorkingPair<RcLowpassPair, RcLowpass> lp2_copy(pl.lp_2905, pr.lp_2905);
  WorkingPair<TriodePair, TriodeState, TriodeStage> v3_copy(pl.red3, pr.red3);
  WorkingPair<RcHighpassPair, RcHighpass> hp62_copy(pl.hp_6_2, pr.hp_6_2);
  WorkingPair<RcHighpassPair, RcHighpass> hp59_copy(pl.hp_5_9, pr.hp_5_9);
  WorkingPair<RedLeadNetworkPair, RedLeadNetwork> lead_copy(l.red_lead_network(),
                                                            r.red_lead_network());
  WorkingPair<CircuitFilterPair<3>, CircuitFilter<3>, RedToneStack> stack_copy(l.red_tone_stack(),
                                                                               r.red_tone_stack());
  CircuitFilterPair<5>& rin = *rin_copy;
  TriodePair& v2 = *v2_copy;
  RcHighpassPair& hp16 = *hp16_copy;
  RcLowpassPair& lp1 = *lp1_copy;
  RcLowpassPair& lp2 = *lp2_copy;
  TriodePair& v3 = *v3_copy;
  RcHighpassPair& hp62 = *hp62_copy;
  RcHighpassPair& hp59 = *hp59_copy;
  RedLeadNetworkPair& lead = *lead_copy;
  CircuitFilterPair<3>& stack = *stack_copy;
  constexpr int kA = PreampStages::kCurveA;
  constexpr int kB = PreampStages::kCurveB;
  const CurvePair curve_a(pl.curves[kA], pr.curves[kA], pl.segments[kA], pr.segments[kA]);
  const CurvePair curve_b(pl.curves[kB], pr.curves[kB], pl.segments[kB], pr.segments[kB]);
  RunPairTail(
      w, n, l, r,
      [&input](LanePair& x) {
        x = x + 1e-12;
        input.Process(x);
      },
      [&hp5](LanePair& x) {
        hp5.Process(x);
        x = x * 1.090184;
      },
      [&rin](LanePair& x) { x = rin.Process(x); }, [&v2](LanePair& x) { v2.Process(x); },
      [&hp_mod, &curve_a](LanePair& x) {
        hp_mod.Process(x);
        x = curve_a.LookupCubic(x);
      },
      [&hp16](LanePair& x) { hp16.Process(x); }, [&lp1](LanePair& x) { lp1.Process(x); },
      [&lp2](LanePair& x) { lp2.Process(x); }, [&v3](LanePair& x) { v3.Process(x); },
      [&hp62, &curve_b](LanePair& x) {
        hp62.Process(x);
        x = curve_b.LookupCubic(x);
      },
      [&hp59](LanePair& x) { hp59.Process(x); }, [&lead](LanePair& x) { x = lead.Process(x); },
      [&stack](LanePair& x) { x = stack.Process(x); });
}

// One chunk: the elements both chains share, then the selected chain.
void RunPair(LanePair* w, int n, Amp_Ferro& l, Amp_Ferro& r) noexcept {
  PreampStages& pl = l.preamp_stages();
  PreampStages& pr = r.preamp_stages();
  WorkingPair<TriodePair, TriodeState, TriodeStage> input_copy(pl.input, pr.input);
  WorkingPair<RcHighpassPair, RcHighpass> hp5_copy(pl.hp_5, pr.hp_5);
  WorkingPair<RcHighpassPair, RcHighpass> hp_mod_copy(pl.hp_lead_mod, pr.hp_lead_mod);
  if (l.controls().channel == 0) {
    RunGreenPair(w, n, l, r, *input_copy, *hp5_copy, *hp_mod_copy);
  } else {
    RunRedPair(w, n, l, r, *input_copy, *hp5_copy, *hp_mod_copy);
  }
}

}  // namespace

bool Amp_Ferro::CanRunAsPair(const Amp_Ferro& l, const Amp_Ferro& r) noexcept {
  return l.controls_.channel == r.controls_.channel &&
         l.controls_.pa_disabled == r.controls_.pa_disabled;
}

void Amp_Ferro::ProcessEngineBlockPair(Amp_Ferro& l, Amp_Ferro& r, double* wl, double* wr,
                                       int n) noexcept {
  LanePair w[kPairChunk];
  for (int start = 0; start < n; start += kPairChunk) {
    const int m = n - start < kPairChunk ? n - start : kPairChunk;
    double* xl = wl + start;
    double* xr = wr + start;
    for (int i = 0; i < m; ++i) w[i] = Lanes(xl[i], xr[i]);
    RunPair(w, m, l, r);
    for (int i = 0; i < m; ++i) StoreLanes(w[i], xl[i], xr[i]);
  }
}

}  // namespace Ostra

// Amp_Ferro: one amplifier engine (one stereo side). The oversampling frame of
// OstraCore feeds ProcessSample with engine-rate samples; ProcessSample runs
// the selected preamp chain, the post-gain, the pre-power shelf, the
// power-amp drive curve and coupling, the power amplifier and the output
// scaling, all in volts and in double precision.
//
// Threads: ProcessSample and the frames run on the host's audio thread; every
// set-up and control operation below runs under the plug-in's instance lock,
// so it never overlaps a block. The engine is large: create it only inside
// the plug-in's heap-allocated engine array, never on the stack.
//
// Set-up API (what the parameter mapping calls):
//   Initialise(rate)       once after construction, at the engine rate (host
//                          rate x oversampling factor): RC corners, valve
//                          stages, every filter design, power amp set-up and
//                          500 settling rounds.
//   SetSampleRate(rate)    engine rate change (host rate or quality change):
//                          RC sections and stage periods follow, every filter
//                          is redesigned (GreenInputNetwork only if the rate
//                          moved by more than 1 Hz); no state is cleared.
//   SetChannel, SetPostGain, SetPaDisabled: store only.
//   SetPreGain(g)          RedInputNetwork redesigned at once; GreenInputNetwork
//                          glides to g (redesigned now if the rate moved > 1 Hz).
//   SetCrunch(on)          GreenInputNetwork redesigned now at its current position.
//   SetLeadMod(on)         RedInputNetwork, RedToneStack, RedLeadNetwork and the
//                          lead-mod coupling corner (105.7 Hz on, 7.0 Hz off).
//   SetToneControls(l,m,t) both tone stacks.
//   SetBright(on)          GreenBrightNetwork, designed for the channel selected now.
//   SetPowerAmpControls(presence, lowEnd, hifi)  power amp set-up.
// Each design setter redesigns unconditionally; the caller decides, by
// comparing with controls(), whether an input changed.
#pragma once

#include <cstdint>

#include "ferro/model/amp_core.h"
#include "ferro/model/engine_controls.h"
#include "ferro/model/green_bright_network.h"
#include "ferro/model/green_input_network.h"
#include "ferro/model/power_amp.h"
#include "ferro/model/pre_power_shelf.h"
#include "ferro/model/preamp_stages.h"
#include "ferro/model/red_input_network.h"
#include "ferro/model/red_lead_network.h"
#include "ferro/model/tone_stacks.h"

namespace Ostra {

class Amp_Ferro final : public AmpCore {
 public:
  Amp_Ferro() noexcept;
  ~Amp_Ferro();

  // One engine-rate sample through the amplifier model. Audio thread.
  void ProcessSample(double& sample) noexcept override;

  // The frames of OstraCore with the model bound statically. Audio thread.
  void ProcessOversampled2(double& sample) noexcept { RunFrame2(*this, sample); }
  void ProcessOversampled4(double& sample) noexcept { RunFrame4(*this, sample); }

  // The fast schedule: n host-rate samples in place through the two- or
  // four-times frame, bit for bit what n calls of the frames above give
  // (amp_ferro_block.cpp). Audio thread.
  void ProcessBlock2(double* samples, int n) noexcept { RunBlock2(*this, samples, n); }
  void ProcessBlock4(double* samples, int n) noexcept { RunBlock4(*this, samples, n); }

  // n engine-rate samples in place, the same as n ProcessSample calls; the
  // elements run as a skewed pipeline over the block. Audio thread.
  void ProcessEngineBlock(double* w, int n) noexcept;

  // Two engines (the stereo sides) at once: the same as ProcessBlock2/4 on
  // each, with the two engines in the two lanes of one pipeline when they
  // run the same chain (amp_ferro_pair_block.cpp), one after the other
  // otherwise. Audio thread.
  static void ProcessBlockPair2(Amp_Ferro& l, Amp_Ferro& r, double* xl, double* xr,
                                int n) noexcept {
    if (CanRunAsPair(l, r)) {
      RunBlockPair2(l, r, xl, xr, n);
    } else {
      l.ProcessBlock2(xl, n);
      r.ProcessBlock2(xr, n);
    }
  }
  static void ProcessBlockPair4(Amp_Ferro& l, Amp_Ferro& r, double* xl, double* xr,
                                int n) noexcept {
    if (CanRunAsPair(l, r)) {
      RunBlockPair4(l, r, xl, xr, n);
    } else {
      l.ProcessBlock4(xl, n);
      r.ProcessBlock4(xr, n);
    }
  }
  static bool CanRunAsPair(const Amp_Ferro& l, const Amp_Ferro& r) noexcept;

  // n engine-rate samples of each engine in place, the same as
  // ProcessEngineBlock on each; l and r are two different engines and
  // CanRunAsPair holds for them. Audio thread.
  static void ProcessEngineBlockPair(Amp_Ferro& l, Amp_Ferro& r, double* wl, double* wr,
                                     int n) noexcept;

  // --- Set-up (instance lock) ---
  void Initialise(double engine_rate) noexcept;
  void SetSampleRate(double engine_rate) noexcept;

  // --- Controls (instance lock) ---
  void SetChannel(int32_t channel) noexcept;
  void SetPostGain(double factor) noexcept;
  void SetPaDisabled(bool disabled) noexcept;
  void SetPreGain(double pot) noexcept;
  void SetCrunch(bool on) noexcept;
  void SetLeadMod(bool on) noexcept;
  void SetToneControls(double bass, double mid, double treble) noexcept;
  void SetBright(bool on) noexcept;
  void SetPowerAmpControls(double presence, double low_end, bool hifi) noexcept;

  // The parameter mapping's update: the selected channel's seven knobs as
  // set (untapered), the bright and crunch switches, then the flags. Tapers
  // the knobs and redesigns only what changed (amp_ferro_param_update.cpp).
  void UpdateParameters(double pre_gain, double post_gain, double bass, double mid, double treble,
                        double presence, double low_end, int32_t bright, int32_t crunch,
                        bool pa_disabled, bool hifi, bool lead_mod) noexcept;

  const EngineControls& controls() const noexcept { return controls_; }

  // The designed networks, for the preamp chains and for inspection.
  GreenInputNetwork& green_input_network() noexcept { return green_input_; }
  GreenBrightNetwork& green_bright_network() noexcept { return green_bright_; }
  GreenToneStack& green_tone_stack() noexcept { return green_tone_stack_; }
  RedInputNetwork& red_input_network() noexcept { return red_input_; }
  RedLeadNetwork& red_lead_network() noexcept { return red_lead_; }
  RedToneStack& red_tone_stack() noexcept { return red_tone_stack_; }
  PrePowerShelf& pre_power_shelf() noexcept { return pre_power_shelf_; }

  // The valve stages, coupling sections and fixed curves; the power amp
  // (bias, valve type and feedback amount are set on it directly).
  PreampStages& preamp_stages() noexcept { return stages_; }
  PowerAmp& power_amp() noexcept { return power_amp_; }

  // Lead-mod coupling corner for a Lead Mod state (Hz).
  static constexpr double kLeadModCornerOn = 105.7;
  static constexpr double kLeadModCornerOff = 7.0;
  static constexpr int kSettlingRounds = 500;

 private:
  // The preamp chains, in place on one engine-rate sample
  // (amp_ferro_preamp.cpp).
  void ProcessGreen(double& w) noexcept;
  void ProcessRed(double& w) noexcept;

  void DesignAllFilters() noexcept;

  EngineControls controls_;

  // The ten RC records (each at 5.0 Hz until initialisation), the curve
  // tables of curve A, curve B and the power-amp drive curve, and the five
  // triode stages.
  PreampStages stages_;

  GreenInputNetwork green_input_;
  GreenBrightNetwork green_bright_;
  GreenToneStack green_tone_stack_;
  RedInputNetwork red_input_;
  RedLeadNetwork red_lead_;
  RedToneStack red_tone_stack_;

  PowerAmp power_amp_;

  PrePowerShelf pre_power_shelf_;
};

}  // namespace Ostra

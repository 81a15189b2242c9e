// The Ostra Ferro B3 plug-in object: a high-gain head with a GREEN and a RED
// channel, two amplifier engines (left/mono and right) and the editor.
#pragma once

#include <memory>

#include "ferro/model/amp_ferro.h"
#include "ferro/shell/iplug_vst.h"

// Parameter indices, in host order.
enum EFerroParam {
  kRedInput = 0,
  kGreenInput,
  kRedOutput,
  kGreenOutput,
  kOversample,
  kStereo,
  kChannel,
  kRedPreGain,
  kRedPostGain,
  kRedBass,
  kRedMid,
  kRedTreble,
  kRedPresence,
  kRedLowEnd,
  kGreenBright,
  kGreenCrunch,
  kGreenPreGain,
  kGreenPostGain,
  kGreenBass,
  kGreenMid,
  kGreenTreble,
  kGreenPresence,
  kGreenLowEnd,
  kBias,
  kTubeType,
  kFeedback,
  kDisablePA,
  kHifi,
  kLeadMod,
  kLampGreen,
  kLampRed,
  kLampAlways,
  kSettingsShown,
  kNumFerroParams
};

// The seven knobs each channel has, in the order the engines take them.
struct ChannelKnobs {
  double preGain = 0.0;
  double postGain = 0.0;
  double bass = 0.0;
  double mid = 0.0;
  double treble = 0.0;
  double presence = 0.0;
  double lowEnd = 0.0;
};

class IPlug_Ferro : public IPlugVST {
 public:
  static constexpr int kEditorWidth = 834;
  static constexpr int kEditorHeight = 278;

  // Zero samples through the two-times frame of both engines so that a newly
  // selected chain settles: after a channel switch, and at the start of audio
  // for each chain (counted at an engine rate of 88.2 kHz and scaled with the
  // engine rate, so that it spans the same 136 ms at every rate and quality:
  // the chains' coupling and cathode time constants reach 32 ms and the RED
  // chain's gain amplifies what is left).
  static constexpr int kChannelSwitchSettling = 4000;
  static constexpr int kStartSettling = 12000;
  static constexpr double kStartSettlingRate = 88200.0;

  explicit IPlug_Ferro(vst2::HostCallback hostCallback);
  ~IPlug_Ferro() override;

  // Any thread that changed a parameter, inside the instance lock.
  void OnParamChange(int paramIdx) override;
  // After a sample-rate or block-size change, or processing switched off.
  void Reset() override;
  // effMainsChanged: on resume before the first block, both chains settle at
  // the rate and quality the host has chosen (again if the rate or quality
  // changes between resume and the first block).
  void OnActivate(bool active) override;
  // Audio thread, inside the instance lock.
  void ProcessDoubleReplacing(double** inputs, double** outputs, int nFrames) override;
  const char* StepName(int paramIdx, int step) const override;

  bool SerializeState(StateChunk* chunk) override { return WriteParamValues(chunk); }
  int UnserializeState(const StateChunk& chunk, int position) override {
    return UnserializeParams(chunk, position);
  }
  int CheckState(const StateChunk& chunk, int position) const override {
    return CheckParamValues(chunk, position);
  }

  // Read-only views for tests and the editor.
  double InputGain() const { return inputGain_; }
  double OutputGain() const { return outputGain_; }
  int Channel() const { return channel_; }
  int Quality() const { return quality_; }
  bool IsStereo() const { return stereo_; }
  double StoredHostRate() const { return storedHostRate_; }
  double OversamplingFactor() const { return oversamplingFactor_; }

  Ostra::Amp_Ferro& Engine(int side) { return engines_[side]; }

  // Selects the plain per-sample schedule (the definition of the sound, for
  // the identity test and the benchmark) instead of the fast block schedule.
  void UseReferenceSchedule(bool on) { referenceSchedule_ = on; }

 private:
  void DefineParameters();
  // Creates and sets up the engines for host rate x 2 and settles them.
  void SetUpEngines();
  // Copies every parameter's value into the plug-in fields (no engine update).
  void CopyParamsToModelSettings();
  void StoreParam(int paramIdx);
  // Runs both engines through the two-times frame on `count` zero samples.
  void SettleEngines(int count);
  // The settling before the first block: the chain not selected, then the
  // selected one, each for kStartSettling scaled to the engine rate.
  void SettleForStart();
  // Valve type, bias and feedback amount into both engines' power amps.
  void UpdatePowerAmps();

  // Index 0 = left (and mono), 1 = right; one allocation, created together.
  std::unique_ptr<Ostra::Amp_Ferro[]> engines_;

  double redInput_ = 1.0, greenInput_ = 1.0;
  double redOutput_ = 0.0, greenOutput_ = 0.0;
  double inputGain_ = 1.0, outputGain_ = 0.0;
  int quality_ = 0;
  bool stereo_ = false;
  int channel_ = 0;
  ChannelKnobs redSet_, greenSet_;
  int crunch_ = 0, bright_ = 0;
  double bias_ = -51.0;
  int valveType_ = 0;
  double feedback_ = 0.0;
  bool paDisabled_ = false, hifi_ = false, leadMod_ = false;
  bool settingsShown_ = false;
  double storedHostRate_ = 44100.0;
  double oversamplingFactor_ = 2.0;
  bool referenceSchedule_ = false;
  // Resumed (effMainsChanged 1) and not suspended since.
  bool active_ = false;
  // A block has run since construction: resume no longer settles.
  bool audioStarted_ = false;
};

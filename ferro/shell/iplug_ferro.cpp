#include "ferro/shell/iplug_ferro.h"

#include "ferro/editor/ferro_editor.h"
#include "ferro/model/tapers.h"

using Ostra::OutputTaper;

namespace {

IPlugConfig FerroConfig() {
  IPlugConfig c;
  c.nParams = kNumFerroParams;
  c.channelIOStr = "1-1 2-2";
  c.nPresets = 1;
  c.effectName = "Ostra Ferro B3";
  c.productName = "";
  c.vendorName = "Ostra Audio";
  c.vendorVersion = 0x00010000;
  c.uniqueId = 0x4F734665;  // 'OsFe'
  c.mfrId = 0x4F734665;
  c.latency = 0;
  c.plugDoesMidi = false;
  c.plugDoesChunks = false;
  c.plugIsInstrument = false;
  return c;
}

}  // namespace

IPlug_Ferro::IPlug_Ferro(vst2::HostCallback hostCallback) : IPlugVST(hostCallback, FerroConfig()) {
  DefineParameters();
  FillPresetsFromState("by Quarnby", 1);
  oversamplingFactor_ = 2.0;
  storedHostRate_ = GetSampleRate();
  quality_ = 0;
  SetUpEngines();
  CopyParamsToModelSettings();
  // The editor: its controls take the parameter values and defaults when
  // the base adopts it; the bias plot stays blank until the panel opens.
  FerroEditor* editor = FerroEditor::Build(this);
  AdoptEditor(editor);
  editor->FinishAdoption();
  SetEditorSize(kEditorWidth, kEditorHeight);
}

// The step texts of the multi-way switches: the panel's own legends and the
// valve types the help text names, in the order of the values.
const char* IPlug_Ferro::StepName(int paramIdx, int step) const {
  static const char* const kQuality[] = {"LOW", "HIGH", "AUTO"};
  static const char* const kChannels[] = {"GREEN", "RED"};
  static const char* const kValves[] = {"6L6GC", "EL34", "6550", "KT88"};
  auto pick = [step](const char* const* texts, int count) {
    return step >= 0 && step < count ? texts[step] : nullptr;
  };
  switch (paramIdx) {
    case kOversample:
      return pick(kQuality, 3);
    case kChannel:
      return pick(kChannels, 2);
    case kTubeType:
      return pick(kValves, 4);
    default:
      return nullptr;
  }
}

void IPlug_Ferro::DefineParameters() {
  struct Knob {
    int index;
    const char* name;
    double defaultValue;
    double min;
    double max;
    double step;
    const char* label;
  };
  static const Knob kKnobs[] = {
      {kRedInput, "RED:Input", 1.0, 0.001, 2.0, 0.001, "Input"},
      {kGreenInput, "GREEN:Input", 1.0, 0.001, 2.0, 0.001, "Input"},
      {kRedOutput, "RED:Output", 0.5, 0.0, 1.0, 0.001, "Output"},
      {kGreenOutput, "GREEN:Output", 0.5, 0.0, 1.0, 0.001, "Output"},
      {kRedPreGain, "RED:PreGain", 0.5, 0.0, 1.0, 0.001, "Pre Gain"},
      {kRedPostGain, "RED:PostGain", 0.3, 0.0, 1.0, 0.001, "Post Gain"},
      {kRedBass, "RED:Bass", 0.5, 0.0, 1.0, 0.001, "Bass"},
      {kRedMid, "RED:Mid", 0.5, 0.0, 1.0, 0.001, "Mid"},
      {kRedTreble, "RED:Treble", 0.5, 0.0, 1.0, 0.001, "Treble"},
      {kRedPresence, "RED:Presence", 0.5, 0.0, 1.0, 0.001, "Presence"},
      {kRedLowEnd, "RED:LowEnd", 0.5, 0.0, 1.0, 0.001, "LowEnd"},
      {kGreenPreGain, "GREEN:PreGain", 0.5, 0.0, 1.0, 0.001, "Pre Gain"},
      {kGreenPostGain, "GREEN:PostGain", 0.3, 0.0, 1.0, 0.001, "Post Gain"},
      {kGreenBass, "GREEN:Bass", 0.5, 0.0, 1.0, 0.001, "Bass"},
      {kGreenMid, "GREEN:Mid", 0.5, 0.0, 1.0, 0.001, "Mid"},
      {kGreenTreble, "GREEN:Treble", 0.5, 0.0, 1.0, 0.001, "Treble"},
      {kGreenPresence, "GREEN:Presence", 0.5, 0.0, 1.0, 0.001, "Presence"},
      {kGreenLowEnd, "GREEN:LowEnd", 0.5, 0.0, 1.0, 0.001, "LowEnd"},
      {kBias, "Bias", -51.0, -70.0, -30.0, 0.1, "Volt"},
      {kFeedback, "Feedback", 0.92, 0.0, 1.0, 0.001, "Amount"},
  };
  for (const Knob& k : kKnobs)
    GetParam(k.index)->DefineDouble(k.name, k.defaultValue, k.min, k.max, k.step, k.label);

  struct Switch {
    int index;
    const char* name;
    int defaultValue;
    int max;
    const char* label;
  };
  static const Switch kSwitches[] = {
      {kOversample, "Oversample", 0, 2, "LOW/HIGH/AUTO"},
      {kChannel, "Channel", 1, 1, "GREEN / RED"},
      {kGreenBright, "GREEN:Bright", 0, 1, "On/Off"},
      {kGreenCrunch, "GREEN:Crunch", 0, 1, "On/Off"},
      {kTubeType, "PA TubeType", 0, 3, "Type"},
      {kDisablePA, "Disable PA", 0, 1, " "},
      {kHifi, "HIFI", 0, 1, " "},
      {kLeadMod, "Lead Mod", 1, 1, " "},
  };
  for (const Switch& s : kSwitches)
    GetParam(s.index)->DefineInt(s.name, s.defaultValue, 0, s.max, s.label);

  GetParam(kStereo)->DefineBool("Stereo", false, "");
  GetParam(kLampGreen)->DefineBool("secret", true, "");
  GetParam(kLampRed)->DefineBool("grindlewick", false, "");
  GetParam(kLampAlways)->DefineBool("switches", true, "");
  GetParam(kSettingsShown)->DefineBool("are dangerous", true, "");
}

void IPlug_Ferro::CopyParamsToModelSettings() {
  for (int i = 0; i < NParams(); ++i) StoreParam(i);
  settingsShown_ = false;
  inputGain_ = greenInput_;
  outputGain_ = greenOutput_;
}

void IPlug_Ferro::StoreParam(int paramIdx) {
  const double v = GetParam(paramIdx)->Value();
  const int whole = static_cast<int>(v);
  switch (paramIdx) {
    case kRedInput:
      redInput_ = v;
      break;
    case kGreenInput:
      greenInput_ = v;
      break;
    case kRedOutput:
      redOutput_ = OutputTaper(v);
      break;
    case kGreenOutput:
      greenOutput_ = OutputTaper(v);
      break;
    case kOversample:
      quality_ = whole;
      break;
    case kStereo:
      stereo_ = v != 0.0;
      break;
    case kChannel:
      channel_ = whole;
      break;
    case kRedPreGain:
      redSet_.preGain = v;
      break;
    case kRedPostGain:
      redSet_.postGain = v;
      break;
    case kRedBass:
      redSet_.bass = v;
      break;
    case kRedMid:
      redSet_.mid = v;
      break;
    case kRedTreble:
      redSet_.treble = v;
      break;
    case kRedPresence:
      redSet_.presence = v;
      break;
    case kRedLowEnd:
      redSet_.lowEnd = v;
      break;
    case kGreenBright:
      bright_ = whole;
      break;
    case kGreenCrunch:
      crunch_ = whole;
      break;
    case kGreenPreGain:
      greenSet_.preGain = v;
      break;
    case kGreenPostGain:
      greenSet_.postGain = v;
      break;
    case kGreenBass:
      greenSet_.bass = v;
      break;
    case kGreenMid:
      greenSet_.mid = v;
      break;
    case kGreenTreble:
      greenSet_.treble = v;
      break;
    case kGreenPresence:
      greenSet_.presence = v;
      break;
    case kGreenLowEnd:
      greenSet_.lowEnd = v;
      break;
    case kBias:
      bias_ = v;
      break;
    case kTubeType:
      valveType_ = whole;
      break;
    case kFeedback:
      feedback_ = v;
      break;
    case kDisablePA:
      paDisabled_ = v != 0.0;
      break;
    case kHifi:
      hifi_ = v != 0.0;
      break;
    case kLeadMod:
      leadMod_ = v != 0.0;
      break;
    case kSettingsShown:
      settingsShown_ = v != 0.0;
      break;
    default:
      break;  // the lamps store nothing
  }
}

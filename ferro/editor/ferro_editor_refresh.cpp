// What a parameter change shows in the editor: the selected channel's knobs,
// the settings panel, the lamps, the bias plot and the bias read-out.
#include <cstdio>

#include "ferro/editor/ferro_editor.h"
#include "ferro/editor/ibias_plot.h"
#include "ferro/editor/iinfo_text.h"
#include "ferro/editor/itext_control.h"

namespace {
// Parameter indices the editor refresh touches.
constexpr int kRedKnobs[] = {0, 2, 7, 8, 9, 10, 11, 12, 13};
constexpr int kGreenKnobs[] = {1, 3, 16, 17, 18, 19, 20, 21, 22};
constexpr int kGreenBright = 14, kGreenCrunch = 15, kLeadMod = 28;
constexpr int kLampGreen = 29, kLampRed = 30, kLampAlways = 31;
constexpr int kPanelIndices[] = {FerroEditor::kPanelTag, 23, 24, 4, 26, 27, 28};
}  // namespace

void FerroEditor::ShowChannel(bool red) {
  platform::ScopedLock guard(StateLock());
  for (int i : kGreenKnobs) HideControlsOf(i, red);
  for (int i : kRedKnobs) HideControlsOf(i, !red);
  GrayControlsOf(kGreenBright, red);
  GrayControlsOf(kGreenCrunch, red);
  GrayControlsOf(kLeadMod, !red);
}

void FerroEditor::ShowSettings(bool open) {
  platform::ScopedLock guard(StateLock());
  for (int i : kPanelIndices) HideControlsOf(i, !open);
  biasReadout_->SetHidden(!open);
  infoText_->SetHidden(!open);
  biasPlot_->SetShow(open);
  SetAllControlsDirty();
}

void FerroEditor::ShowLamps(bool red) {
  platform::ScopedLock guard(StateLock());
  PushValueToControls(kLampGreen, red ? 0.0 : 1.0, true);
  PushValueToControls(kLampRed, red ? 1.0 : 0.0, true);
  PushValueToControls(kLampAlways, 1.0, true);
}

void FerroEditor::SetBiasPlot(double bias, int tubeType) {
  platform::ScopedLock guard(StateLock());
  biasPlot_->SetBias(bias);
  biasPlot_->SetTubeType(tubeType);
}

void FerroEditor::SetBiasReadout(double bias) {
  char text[32];
  std::snprintf(text, sizeof text, "%.4g", bias);
  platform::ScopedLock guard(StateLock());
  biasReadout_->SetTextFromPlug(text);
  SetAllControlsDirty();
}

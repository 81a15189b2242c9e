// The Ferro editor: the 834 x 278 window with the background, the two
// channels' knob sets, switches, lamps and the fold-out settings panel with
// the bias knob and read-out, the valve and quality buttons, the bias plot
// and the help text. Built once by the plug-in constructor; the refresh steps
// below are called from the plug-in's parameter change (inside the instance
// lock, on whichever thread changed the parameter).
#pragma once

#include "ferro/graphics/igraphics_lice.h"

class IBiasPlot;
class IInfoText;
class ITextControl;

class FerroEditor : public IGraphicsLice {
 public:
  static constexpr int kWidth = 834;
  static constexpr int kHeight = 278;
  // The panel image's tag: no parameter has it; it finds the image only.
  static constexpr int kPanelTag = 36;

  // Creates the graphics object and every control, in list order.
  static FerroEditor* Build(IPlugBase* plug);
  // The editor behind the plug-in's graphics object, or null.
  static FerroEditor* Of(IGraphics* graphics);

  // After the plug-in adopted the editor: the plot hidden, all marked changed.
  void FinishAdoption();

  // Refresh steps of a parameter change.
  void ShowChannel(bool red);
  void ShowSettings(bool open);
  void ShowLamps(bool red);
  void SetBiasPlot(double bias, int tubeType);
  void SetBiasReadout(double bias);

  IBiasPlot* BiasPlot() const { return biasPlot_; }
  IInfoText* InfoText() const { return infoText_; }
  ITextControl* BiasReadout() const { return biasReadout_; }

 private:
  explicit FerroEditor(IPlugBase* plug);
  void AddControls();

  ITextControl* biasReadout_ = nullptr;
  IBiasPlot* biasPlot_ = nullptr;
  IInfoText* infoText_ = nullptr;
};

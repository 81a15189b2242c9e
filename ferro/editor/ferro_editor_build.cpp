// The editor's images and its 37 controls, in the order they lie on top of
// each other (later ones on top, hit-tested first).
#include <cstdio>

#include "ferro/editor/ferro_editor.h"
#include "ferro/editor/ibias_plot.h"
#include "ferro/editor/ibitmap_control.h"
#include "ferro/editor/ibutton_row_control.h"
#include "ferro/editor/iinfo_text.h"
#include "ferro/editor/iknob_control.h"
#include "ferro/editor/itext_control.h"
#include "ferro/shell/iplug_base.h"
#include "ferro_resources.h"

namespace {

// Image resources of the library.
enum EImage {
  kImgWhiteButton = 100,  // 24 x 48, 2 frames
  kImgKnob = 101,         // 74 x 5994, 81 frames
  kImgBackground = 103,   // 834 x 278
  kImgGreenLed = 105,     // 20 x 40, 2 frames
  kImgRedLed = 106,       // 20 x 40, 2 frames
  kImgSettings = 107,     // 484 x 138
  kImgArrow = 111,        // 60 x 20, 2 frames
  kImgSmallButton = 112,  // 12 x 24, 2 frames
  kImgBiasKnob = 114,     // 24 x 1464, 61 frames
};

// The channel knobs share positions; the visible set follows "Channel".
struct KnobPlace {
  int x, y, red, green;
};
const KnobPlace kKnobs[] = {
    {46, 156, 0, 1},     // Input
    {115, 156, 2, 3},    // Output
    {228, 153, 7, 16},   // Pre Gain
    {322, 154, 9, 18},   // Bass
    {392, 154, 10, 19},  // Mid
    {460, 154, 11, 20},  // Treble
    {533, 154, 8, 17},   // Post Gain
    {606, 155, 13, 22},  // LowEnd
    {674, 155, 12, 21},  // Presence
};

IText EditorText(int size) {
  IText t;
  std::snprintf(t.font, sizeof t.font, "%s", "Arial");
  t.size = size;
  t.color = IColor{255, 0, 0, 0};
  t.style = IText::kStyleNormal;
  t.align = IText::kAlignCenter;
  t.orientation = 0;
  return t;
}

}  // namespace

FerroEditor::FerroEditor(IPlugBase* plug) : IGraphicsLice(plug, kWidth, kHeight, 0) {}

FerroEditor* FerroEditor::Of(IGraphics* graphics) { return dynamic_cast<FerroEditor*>(graphics); }

FerroEditor* FerroEditor::Build(IPlugBase* plug) {
  FerroEditor* editor = new FerroEditor(plug);
  editor->SetResourceSource(&ferro::EmbeddedResources());
  editor->AttachBackground(editor->LoadIBitmap(kImgBackground, 1));
  editor->AddControls();
  editor->biasPlot_->SetBias(-50.0);
  editor->biasPlot_->SetTubeType(0);
  editor->biasPlot_->SetShow(true);
  editor->HandleMouseOver(true);
  return editor;
}

void FerroEditor::AddControls() {
  IPlugBase* plug = Plug();
  const IBitmap knob = LoadIBitmap(kImgKnob, 81);
  for (const KnobPlace& k : kKnobs)
    AttachControl(new IKnobMultiControl(plug, k.x, k.y, k.red, knob));
  for (const KnobPlace& k : kKnobs)
    AttachControl(new IKnobMultiControl(plug, k.x, k.y, k.green, knob));

  const IBitmap white = LoadIBitmap(kImgWhiteButton, 2);
  AttachControl(new ISwitchControl(plug, 182, 167, 6, white));   // Channel
  AttachControl(new ISwitchControl(plug, 296, 167, 14, white));  // GREEN:Bright
  AttachControl(new ISwitchControl(plug, 296, 189, 15, white));  // GREEN:Crunch
  AttachControl(new ISwitchControl(plug, 182, 191, 5, white));   // Stereo

  const IBitmap redLed = LoadIBitmap(kImgRedLed, 2);
  AttachControl(new ISwitchControl(plug, 213, 165, 29, LoadIBitmap(kImgGreenLed, 2)));
  AttachControl(new ISwitchControl(plug, 213, 202, 30, redLed));
  AttachControl(new ISwitchControl(plug, 756, 159, 31, redLed));  // always lit

  AttachControl(new IBitmapControl(plug, 184, 8, kPanelTag, LoadIBitmap(kImgSettings, 1)));
  AttachControl(new ISwitchControl(plug, 392, 0, 32, LoadIBitmap(kImgArrow, 2)));
  AttachControl(new IKnobMultiControl(plug, 315, 64, 23, LoadIBitmap(kImgBiasKnob, 61)));

  char biasText[32];
  std::snprintf(biasText, sizeof biasText, "%g", plug->GetParam(23)->Value());
  biasReadout_ = new ITextControl(plug, IRect{358, 70, 372, 80}, EditorText(12), biasText);
  AttachControl(biasReadout_);

  const IBitmap small = LoadIBitmap(kImgSmallButton, 2);
  AttachControl(new IButtonRowControl(plug, IRect{202, 111, 298, 123}, 24, small, 4,
                                      IButtonRowControl::kRow));  // PA TubeType
  AttachControl(new IButtonRowControl(plug, IRect{397, 86, 409, 130}, 4, small, 3,
                                      IButtonRowControl::kColumn));  // Oversample
  AttachControl(new ISwitchControl(plug, 311, 30, 26, small));       // Disable PA
  AttachControl(new ISwitchControl(plug, 397, 30, 27, small));       // HIFI
  AttachControl(new ISwitchControl(plug, 314, 111, 28, small));      // Lead Mod

  biasPlot_ = new IBiasPlot(plug, 201, 26, 98, 56);
  AttachControl(biasPlot_);
  infoText_ = new IInfoText(plug, 490, 32, 162, 104, EditorText(24));
  AttachControl(infoText_);
}

void FerroEditor::FinishAdoption() {
  {
    platform::ScopedLock guard(StateLock());
    biasPlot_->SetShow(false);
  }
  SetAllControlsDirty();
}

#include "ferro/editor/iinfo_text.h"

#include "ferro/graphics/igraphics_lice.h"

namespace {

const char* const kHelpTexts[IInfoText::kTexts] = {
    "Ferro BETA 3\n13.04.2011\nPlease report bugs/crashes etc.\n\nwww.ostra-audio.example\n"
    "Ostra Audio",
    "PowerTubes:\n\nChoose your poweramp tubetype.\n\nDefault is 6L6GC.",
    "MODS:\n\nRed Channel Mod:\nSwitch from 'Plus' (default) to 'Standard'\n\n",
    "Bias:\n\nSet the working point of the powertubes.\n\nRecommended for 6L6GC: -51V.\n"
    "Recommended for EL34: -39V.\n",
    "Poweramp Disable:\n\nPreamp only (effects send).\nPresence/Resonance have no effect.\n"
    "PostGain is disabled for consistency.",
    "HIFI Mode:\n\nEnable/Disable.\nShift the NFB freq.response\n.\nB2-sound...",
    "Software:\n\nSelect quality..\nSelect high quality to reduce aliasing.\nSelect auto for a "
    "high quality mixdown,\nbut a lower quality in-session.\nSelect low quality for lowest cpu "
    "usage.",
    "Bias plot:\n\nTheoretical representation of the\npowertube's transferfunction. (White)\nRed "
    "line indicates the actual bias point.\n",
    "Empty\n\n :o",
};

// Open intervals unless the first region's inclusive x bounds.
struct Region {
  int x0, x1, y0, y1, selector;
};
const Region kRegions[] = {
    {200, 304, 96, 136, 1}, {308, 392, 96, 136, 2}, {308, 392, 49, 88, 3},  {308, 396, 16, 48, 4},
    {396, 480, 16, 43, 5},  {396, 480, 48, 66, 8},  {396, 480, 70, 140, 6}, {200, 299, 18, 88, 7},
};

}  // namespace

IInfoText::IInfoText(IPlugBase* plug, int x, int y, int width, int height, const IText& text)
    : IControl(plug, IRect{x, y, x + width, y + height}), text_(text) {
  SetTargetRect(IRect{});
}

const char* IInfoText::HelpText(int selector) {
  return (selector >= 0 && selector < kTexts) ? kHelpTexts[selector] : "";
}

int IInfoText::SelectorFor(int x, int y, int previous) {
  int selector = previous;
  if (x >= 2 && x <= 833 && y > 1 && y < 286) selector = 0;
  for (const Region& r : kRegions)
    if (x > r.x0 && x < r.x1 && y > r.y0 && y < r.y1) selector = r.selector;
  return selector;
}

bool IInfoText::HitTest(int x, int y) {
  selector_ = SelectorFor(x, y, selector_);
  return false;
}

void IInfoText::TakeSnapshot() {
  IControl::TakeSnapshot();
  drawnSelector_ = selector_;
}

bool IInfoText::Draw(IGraphicsLice* graphics) {
  const bool drawn = graphics->DrawIText(text_, HelpText(drawnSelector_), rect_);
  graphics->RequestMarkAllChanged();
  return drawn;
}

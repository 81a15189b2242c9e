// The help text on the settings panel: it follows the mouse. Its hit test
// never claims the mouse but picks the text for the region under it first;
// being the topmost control, it sees every position the layer hit-tests.
#pragma once

#include "ferro/graphics/icontrol.h"

class IInfoText : public IControl {
 public:
  static constexpr int kTexts = 9;

  IInfoText(IPlugBase* plug, int x, int y, int width, int height, const IText& text);

  bool HitTest(int x, int y) override;
  bool NeedsRedraw() override { return true; }
  bool Draw(IGraphicsLice* graphics) override;
  void TakeSnapshot() override;

  int Selector() const { return selector_; }
  static const char* HelpText(int selector);
  // The help text for a window position (the region table).
  static int SelectorFor(int x, int y, int previous);

 private:
  IText text_;
  int selector_ = 0;
  int drawnSelector_ = 0;
};

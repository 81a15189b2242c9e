// A line (or lines) of text in a rectangle, e.g. the bias read-out.
#pragma once

#include "ferro/graphics/icontrol.h"

class ITextControl : public IControl {
 public:
  static constexpr int kMaxText = 64;

  ITextControl(IPlugBase* plug, const IRect& rect, const IText& text, const char* str = "");
  // Sets the text; marks the control changed only when it differs.
  void SetTextFromPlug(const char* str);
  const char* Text() const { return str_; }
  bool Draw(IGraphicsLice* graphics) override;
  void TakeSnapshot() override;

 private:
  IText text_;
  char str_[kMaxText] = {};
  char drawnStr_[kMaxText] = {};
};

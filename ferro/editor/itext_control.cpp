#include "ferro/editor/itext_control.h"

#include <cstdio>
#include <cstring>

#include "ferro/graphics/igraphics_lice.h"

ITextControl::ITextControl(IPlugBase* plug, const IRect& rect, const IText& text, const char* str)
    : IControl(plug, rect), text_(text) {
  std::snprintf(str_, sizeof str_, "%s", str ? str : "");
}

void ITextControl::SetTextFromPlug(const char* str) {
  if (!str) str = "";
  if (std::strcmp(str, str_) == 0) return;
  std::snprintf(str_, sizeof str_, "%s", str);
  MarkChanged(false);
}

void ITextControl::TakeSnapshot() {
  IControl::TakeSnapshot();
  std::memcpy(drawnStr_, str_, sizeof str_);
}

bool ITextControl::Draw(IGraphicsLice* graphics) {
  if (!drawnStr_[0]) return false;
  return graphics->DrawIText(text_, drawnStr_, rect_);
}

// The repaint timer and the drawing operations controls use.
#include <algorithm>
#include <cstring>

#include "ferro/graphics/igraphics_lice.h"
#include "ferro/graphics/raster.h"
#include "platform/text/text.h"

namespace {
IRect Offset(const IRect& r, int dx, int dy) {
  return IRect{r.left - dx, r.top - dy, r.right - dx, r.bottom - dy};
}
}  // namespace

void IGraphicsLice::OnTimer() {
  platform::Window* window = liveWindow_;
  if (window) Paint(window);
}

// Collects the union of every control that needs drawing, copies the state
// the drawing reads (under the state lock), draws without the lock in list
// order, then marks every control drawn.
void IGraphicsLice::Paint(platform::Window* window) {
  IRect dirty;
  {
    platform::ScopedLock guard(stateLock_);
    for (auto& c : controls_) {
      c->NotifyIfChanged();
      if (c->NeedsRedraw()) dirty = platform::Union(dirty, c->Rect());
    }
    if (prompt_.IsOpen()) dirty = platform::Union(dirty, prompt_.Area());
    dirty = platform::Intersect(dirty, IRect{0, 0, width_, height_});
    if (dirty.empty()) return;
    drawList_.clear();
    for (auto& c : controls_) {
      if (c->IsHidden() || platform::Intersect(c->Rect(), dirty).empty()) continue;
      c->TakeSnapshot();
      drawList_.push_back(c.get());
    }
    markAllAfterPaint_ = false;
  }

  clip_ = dirty;
  for (IControl* c : drawList_) c->Draw(this);
  if (prompt_.IsOpen()) prompt_.Draw(PaintView(), clip_.left, clip_.top);

  {
    platform::ScopedLock guard(stateLock_);
    for (auto& c : controls_) c->MarkDrawn();
    if (markAllAfterPaint_)
      for (auto& c : controls_) c->MarkChanged(false);
    markAllAfterPaint_ = false;
    if (focusWanted_) {
      focusWanted_ = false;
      window->RequestKeyboardFocus();
    }
  }
  window->Present(frame_.view(), dirty);
}

bool IGraphicsLice::DrawBitmap(const IBitmap& bitmap, const IRect& dest, int frame,
                               const IBlend* blend) {
  if (!bitmap.image || bitmap.image->empty()) return false;
  const float weight = blend ? blend->weight : 1.0f;
  platform::ConstPixelView src = bitmap.image->Frame(frame - 1, bitmap.N);
  src = src.Sub(IRect{0, 0, dest.width(), dest.height()});
  platform::CompositeOver(PaintView(), dest.left - clip_.left, dest.top - clip_.top, src, weight);
  return true;
}

bool IGraphicsLice::DrawIText(const IText& text, const char* str, const IRect& rect) {
  if (!str || !str[0]) return false;
  if (!fontChosen_) {
    font_ = text;
    fontChosen_ = true;
  }
  platform::TextStyle style;
  style.face = font_.font;
  style.size = font_.size;
  style.unit = platform::FontSizeUnit::kCellHeight;
  style.bold = font_.style == IText::kStyleBold;
  style.italic = font_.style == IText::kStyleItalic;
  style.red = static_cast<uint8_t>(std::clamp(text.color.R, 0, 255));
  style.green = static_cast<uint8_t>(std::clamp(text.color.G, 0, 255));
  style.blue = static_cast<uint8_t>(std::clamp(text.color.B, 0, 255));
  style.alpha = static_cast<uint8_t>(std::clamp(text.color.A, 0, 255));
  style.align = text.align == IText::kAlignNear  ? platform::TextAlign::kLeft
                : text.align == IText::kAlignFar ? platform::TextAlign::kRight
                                                 : platform::TextAlign::kCenter;
  const IRect drawn =
      platform::DrawText(PaintView(), Offset(rect, clip_.left, clip_.top), style, str);
  return !drawn.empty();
}

bool IGraphicsLice::DrawPoint(const IColor& color, float x, float y) {
  raster::DrawPoint(PaintView(), color, x - static_cast<float>(clip_.left),
                    y - static_cast<float>(clip_.top));
  return true;
}

bool IGraphicsLice::DrawLine(const IColor& color, float x1, float y1, float x2, float y2,
                             bool antiAlias) {
  const float dx = static_cast<float>(clip_.left), dy = static_cast<float>(clip_.top);
  raster::DrawLine(PaintView(), color, x1 - dx, y1 - dy, x2 - dx, y2 - dy, antiAlias);
  return true;
}

#include "vortan/gui/c_on_off_button.h"

namespace vortan {

void COnOffButton::draw(platform::PixelView frame, const CRect& clip) noexcept {
  const CBitmap* states = background();
  if (!states) return;
  const CRect& r = getViewSize();
  const CRect area = platform::Intersect(r, clip);
  if (area.empty()) return;
  const int half = states->getHeight() / 2;
  const int top = isOn() ? half : 0;
  const platform::ConstPixelView image =
      states->pixels().view().Sub(CRect{0, top, states->getWidth(), top + half});
  platform::CompositeOver(frame.Sub(area), 0, 0,
                          image.Sub(CRect{area.left - r.left, area.top - r.top, area.right - r.left,
                                          area.bottom - r.top}));
}

bool COnOffButton::onMouseDown(int /*x*/, int /*y*/, const platform::Modifiers& /*mods*/) noexcept {
  userChanged(isOn() ? 0.0f : 1.0f);
  return true;
}

}  // namespace vortan

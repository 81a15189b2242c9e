#include "ferro/graphics/value_prompt.h"

#include <algorithm>

#include "platform/text/text.h"

namespace {

platform::TextStyle PromptStyle(bool inverted, platform::TextAlign align) {
  platform::TextStyle s;
  s.face = "Arial";
  s.size = IValuePrompt::kFontHeight;
  s.align = align;
  if (inverted) s.red = s.green = s.blue = 255;
  return s;
}

void FillRect(platform::PixelView dst, const IRect& r, uint8_t red, uint8_t green, uint8_t blue) {
  const IRect area = platform::Intersect(r, IRect{0, 0, dst.width, dst.height});
  for (int y = area.top; y < area.bottom; ++y) {
    for (int x = area.left; x < area.right; ++x) {
      uint8_t* p = dst.At(x, y);
      p[0] = red;
      p[1] = green;
      p[2] = blue;
      p[3] = 255;
    }
  }
}

void FrameRect(platform::PixelView dst, const IRect& r) {
  FillRect(dst, IRect{r.left, r.top, r.right, r.top + 1}, 64, 64, 64);
  FillRect(dst, IRect{r.left, r.bottom - 1, r.right, r.bottom}, 64, 64, 64);
  FillRect(dst, IRect{r.left, r.top, r.left + 1, r.bottom}, 64, 64, 64);
  FillRect(dst, IRect{r.right - 1, r.top, r.right, r.bottom}, 64, 64, 64);
}

IRect Shift(const IRect& r, int dx, int dy) {
  return IRect{r.left - dx, r.top - dy, r.right - dx, r.bottom - dy};
}

}  // namespace

void IValuePrompt::OpenList(const IRect& control, const std::vector<std::string>& texts,
                            int selected) {
  size_t longest = 0;
  for (const std::string& t : texts) longest = std::max(longest, t.size());
  const int width = std::max(24, 8 * static_cast<int>(longest) + 24);
  const int centreX = (control.left + control.right) / 2;
  const int top = (control.top + control.bottom) / 2;
  const int count = static_cast<int>(texts.size());
  // The closed box shows the current entry; the list drops below it, within
  // the dropped height of 36 x (entries + 1) pixels.
  const int listHeight = std::min(count * kRowHeight, 36 * (count + 1) - (kRowHeight + 2));
  box_ = IRect{centreX - width / 2, top, centreX - width / 2 + width, top + kRowHeight + 2};
  area_ = IRect{box_.left, box_.top, box_.right, box_.bottom + listHeight + 2};
  texts_ = texts;
  selected_ = std::clamp(selected, 0, std::max(0, count - 1));
  list_ = true;
  open_ = true;
}

void IValuePrompt::OpenField(const IRect& control, const std::string& text) {
  const int centreX = (control.left + control.right) / 2;
  const int centreY = (control.top + control.bottom) / 2;
  box_ = IRect{centreX - kFieldWidth / 2, centreY - kFieldHeight / 2,
               centreX - kFieldWidth / 2 + kFieldWidth, centreY - kFieldHeight / 2 + kFieldHeight};
  area_ = box_;
  field_ = text;
  allSelected_ = true;
  list_ = false;
  open_ = true;
}

const std::string& IValuePrompt::Text() const {
  static const std::string kEmpty;
  if (!list_) return field_;
  return texts_.empty() ? kEmpty : texts_[static_cast<size_t>(selected_)];
}

IRect IValuePrompt::RowRect(int i) const {
  const int top = box_.bottom + 1 + i * kRowHeight;
  return IRect{area_.left + 1, top, area_.right - 1, top + kRowHeight};
}

IValuePrompt::Result IValuePrompt::OnMouseDown(int x, int y, platform::MouseButton button) {
  if (!open_) return Result::kNone;
  if (button == platform::MouseButton::kRight) return Result::kCancel;
  if (button != platform::MouseButton::kLeft) return Result::kNone;
  if (list_) {
    for (int i = 0; i < static_cast<int>(texts_.size()); ++i) {
      const IRect row = RowRect(i);
      if (row.bottom <= area_.bottom && row.Contains(x, y)) selected_ = i;
    }
  }
  return Result::kCommit;
}

IValuePrompt::Result IValuePrompt::OnKey(const platform::Event& event) {
  if (!open_ || event.type != platform::EventType::kKeyDown) return Result::kNone;
  switch (event.key) {
    case platform::Key::kEnter:
      return Result::kCommit;
    case platform::Key::kEscape:
      return Result::kCancel;
    case platform::Key::kUp:
      if (list_ && selected_ > 0) --selected_;
      return Result::kNone;
    case platform::Key::kDown:
      if (list_ && selected_ + 1 < static_cast<int>(texts_.size())) ++selected_;
      return Result::kNone;
    case platform::Key::kBackspace:
      if (!list_) {
        if (allSelected_)
          field_.clear();
        else if (!field_.empty())
          field_.pop_back();
        allSelected_ = false;
      }
      return Result::kNone;
    case platform::Key::kCharacter:
      if (!list_) {
        if (allSelected_) field_.clear();
        allSelected_ = false;
        if (field_.size() < 32) field_ += event.text;
      }
      return Result::kNone;
    default:
      return Result::kNone;
  }
}

void IValuePrompt::Draw(platform::PixelView dst, int originX, int originY) const {
  if (!open_) return;
  const IRect box = Shift(box_, originX, originY);
  FillRect(dst, box, 255, 255, 255);
  FrameRect(dst, box);
  if (!list_) {
    const IRect inner{box.left + 1, box.top + 1, box.right - 1, box.bottom - 1};
    if (allSelected_ && !field_.empty()) FillRect(dst, inner, 0, 84, 166);
    platform::DrawText(dst, inner, PromptStyle(allSelected_, platform::TextAlign::kCenter), field_);
    return;
  }
  const IRect inner{box.left + 4, box.top + 1, box.right - 2, box.bottom - 1};
  platform::DrawText(dst, inner, PromptStyle(false, platform::TextAlign::kLeft), Text());
  const IRect listArea =
      Shift(IRect{area_.left, box_.bottom, area_.right, area_.bottom}, originX, originY);
  FillRect(dst, listArea, 255, 255, 255);
  FrameRect(dst, listArea);
  for (int i = 0; i < static_cast<int>(texts_.size()); ++i) {
    const IRect row = RowRect(i);
    if (row.bottom > area_.bottom) break;
    const IRect r = Shift(row, originX, originY);
    if (i == selected_) FillRect(dst, r, 0, 84, 166);
    platform::DrawText(dst, IRect{r.left + 3, r.top, r.right, r.bottom},
                       PromptStyle(i == selected_, platform::TextAlign::kLeft),
                       texts_[static_cast<size_t>(i)]);
  }
}

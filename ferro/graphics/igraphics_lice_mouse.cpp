// Mouse and keyboard dispatch on the window thread, and the value prompt.
#include <cmath>
#include <cstdlib>

#include "ferro/graphics/igraphics_lice.h"
#include "ferro/shell/iplug_base.h"

namespace {

IMouseMod ToMod(const platform::Event& e) {
  IMouseMod mod;
  mod.L = e.mods.left || e.button == platform::MouseButton::kLeft;
  mod.R = e.mods.right || e.button == platform::MouseButton::kRight;
  mod.S = e.mods.shift;
  mod.C = e.mods.control;
  mod.A = e.mods.alt;
  return mod;
}

constexpr int kWheelNotch = 120;

}  // namespace

void IGraphicsLice::OnEvent(const platform::Event& event) {
  {
    platform::ScopedLock guard(stateLock_);
    switch (event.type) {
      case platform::EventType::kMouseDown:
        MouseDown(event, false);
        break;
      case platform::EventType::kDoubleClick:
        MouseDown(event, true);
        break;
      case platform::EventType::kMouseUp:
        MouseUp(event);
        break;
      case platform::EventType::kMouseMove:
        MouseMove(event);
        break;
      case platform::EventType::kWheel:
        MouseWheel(event);
        break;
      case platform::EventType::kMouseLeave:
        for (auto& c : controls_) c->OnMouseOut();
        break;
      case platform::EventType::kKeyDown:
        KeyDown(event);
        break;
      default:
        break;
    }
  }
  FlushRequests();
}

IControl* IGraphicsLice::ControlAt(int x, int y) {
  for (auto it = controls_.rbegin(); it != controls_.rend(); ++it) {
    IControl* c = it->get();
    if (!c->IsHidden() && !c->IsGrayed() && c->HitTest(x, y)) return c;
  }
  return nullptr;
}

void IGraphicsLice::MouseDown(const platform::Event& event, bool doubleClick) {
  if (prompt_.IsOpen()) {
    const IValuePrompt::Result r = prompt_.OnMouseDown(event.x, event.y, event.button);
    if (r == IValuePrompt::Result::kCommit) {
      commitText_ = prompt_.Text();
      Queue(Request::kCommitPrompt, 0, 0.0, promptControl_);
    }
    if (r != IValuePrompt::Result::kNone) prompt_.Close();
    return;
  }
  IControl* c = ControlAt(event.x, event.y);
  if (!c) return;
  const IMouseMod mod = ToMod(event);
  captured_ = c;
  lastX_ = event.x;
  lastY_ = event.y;
  if (doubleClick && !c->DoubleClickAsClick())
    c->OnMouseDoubleClick(event.x, event.y, mod);
  else
    c->OnMouseDown(event.x, event.y, mod);
  if (c->IsBoundToParameter()) Queue(Request::kBegin, c->ParamIdx(), 0.0, nullptr);
}

void IGraphicsLice::MouseUp(const platform::Event& event) {
  IControl* c = captured_;
  if (!c) return;
  captured_ = nullptr;
  c->OnMouseUp(event.x, event.y, ToMod(event));
  if (c->IsBoundToParameter()) Queue(Request::kEnd, c->ParamIdx(), 0.0, nullptr);
}

void IGraphicsLice::MouseMove(const platform::Event& event) {
  const IMouseMod mod = ToMod(event);
  if (mod.L || mod.R) {
    if (!captured_) return;
    const int dX = event.x - lastX_, dY = event.y - lastY_;
    lastX_ = event.x;
    lastY_ = event.y;
    captured_->OnMouseDrag(event.x, event.y, dX, dY, mod);
    return;
  }
  if (!mouseOver_ || prompt_.IsOpen()) return;
  if (IControl* c = ControlAt(event.x, event.y)) c->OnMouseOver(event.x, event.y, mod);
}

void IGraphicsLice::MouseWheel(const platform::Event& event) {
  if (prompt_.IsOpen()) return;
  IControl* c = ControlAt(event.x, event.y);
  if (c) c->OnMouseWheel(event.x, event.y, ToMod(event), event.wheel_delta / double(kWheelNotch));
}

void IGraphicsLice::KeyDown(const platform::Event& event) {
  if (!prompt_.IsOpen()) return;
  const IValuePrompt::Result r = prompt_.OnKey(event);
  if (r == IValuePrompt::Result::kCommit) {
    commitText_ = prompt_.Text();
    Queue(Request::kCommitPrompt, 0, 0.0, promptControl_);
  }
  if (r != IValuePrompt::Result::kNone) prompt_.Close();
}

// Instance lock held (window thread).
void IGraphicsLice::OpenPrompt(IControl* control) {
  const IParameter* param = plug_->GetParam(control->ParamIdx());
  if (!param) return;
  std::vector<std::string> texts;
  int selected = 0;
  for (int i = 0; i < param->DisplayTextCount(); ++i) {
    texts.emplace_back(param->DisplayText(i));
    if (param->DisplayTextValue(i) == static_cast<int>(param->Value())) selected = i;
  }
  char current[64];
  param->FormatValue(current, sizeof current);

  platform::ScopedLock guard(stateLock_);
  if (prompt_.IsOpen()) return;
  if (!texts.empty())
    prompt_.OpenList(control->Rect(), texts, selected);
  else
    prompt_.OpenField(control->Rect(), current);
  promptControl_ = control;
  focusWanted_ = true;
}

// Instance lock held (window thread).
void IGraphicsLice::CommitPrompt(IControl* control, const std::string& text) {
  if (!control) return;
  const IParameter* param = plug_->GetParam(control->ParamIdx());
  if (!param) return;
  double value = 0.0;
  if (param->DisplayTextCount() > 0) {
    if (!param->ValueForText(text.c_str(), &value)) value = 0.0;
  } else {
    char* end = nullptr;
    value = std::strtod(text.c_str(), &end);
    // Nothing numeric typed (or no finite number): the value stays as it was.
    if (end == text.c_str() || !std::isfinite(value)) return;
  }
  const double normalized = param->NormalizeValue(value);
  platform::ScopedLock guard(stateLock_);
  control->TakeUserValue(normalized);
}

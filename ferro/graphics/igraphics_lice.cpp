// The control list, the plug-in side of the layer, the window's life, the
// requests the window thread carries out inside the instance lock and the
// notices it then sends to the host outside it.
#include "ferro/graphics/igraphics_lice.h"

#if defined(_WIN32)
// Sleep only: the kernel headers, without the user interface's macros.
#include <windef.h>
#include <winbase.h>
#else
#include <time.h>
#endif

#include "ferro/graphics/bitmap_cache.h"
#include "ferro/shell/iplug_base.h"

namespace {

// A short wait between attempts at the instance lock (mingw's default thread
// model has no std::this_thread).
void PauseBriefly() {
#if defined(_WIN32)
  Sleep(1);
#else
  const timespec pause{0, 250000};
  nanosleep(&pause, nullptr);
#endif
}

// A control without its own class: the background picture.
class BackgroundControl : public IControl {
 public:
  BackgroundControl(IPlugBase* plug, const IBitmap& bitmap)
      : IControl(plug, IRect{0, 0, bitmap.W, bitmap.FrameHeight()}), bitmap_(bitmap) {}
  bool Draw(IGraphicsLice* graphics) override {
    return graphics->DrawBitmap(bitmap_, rect_, 1, &DrawnBlend());
  }

 private:
  IBitmap bitmap_;
};
}  // namespace

IGraphicsLice::IGraphicsLice(IPlugBase* plug, int width, int height, int fps)
    : plug_(plug),
      width_(width),
      height_(height),
      fps_(fps > 0 ? fps : kDefaultFps),
      frame_(width, height) {}

IGraphicsLice::~IGraphicsLice() { CloseWindowAndNotify(false); }

IBitmap IGraphicsLice::LoadIBitmap(int id, int frames) {
  IBitmap b;
  if (!source_) return b;
  const platform::Bitmap& image = bitmap_cache::Get(*source_, id);
  b.image = &image;
  b.W = image.width();
  b.H = image.height();
  b.N = frames > 0 ? frames : 1;
  return b;
}

void IGraphicsLice::AttachBackground(const IBitmap& bitmap) {
  platform::ScopedLock guard(stateLock_);
  auto control = std::make_unique<BackgroundControl>(plug_, bitmap);
  control->SetGraphics(this);
  controls_.insert(controls_.begin(), std::move(control));
  drawList_.reserve(controls_.size());
}

int IGraphicsLice::AttachControl(IControl* control) {
  platform::ScopedLock guard(stateLock_);
  control->SetGraphics(this);
  controls_.emplace_back(control);
  drawList_.reserve(controls_.size());
  return NControls() - 1;
}

void IGraphicsLice::PushValueToControls(int paramIdx, double value, bool normalized) {
  platform::ScopedLock guard(stateLock_);
  if (!normalized) {
    const IParameter* param = plug_->GetParam(paramIdx);
    if (!param) return;
    value = param->NormalizeValue(value);
  }
  for (auto& c : controls_)
    if (c->ParamIdx() == paramIdx) c->ShowValue(value);
}

void IGraphicsLice::PrepDraw() {
  platform::ScopedLock guard(stateLock_);
  for (auto& c : controls_)
    if (c->IsBoundToParameter()) c->SetDefaultValue(c->Value());
}

void IGraphicsLice::SetAllControlsDirty() {
  platform::ScopedLock guard(stateLock_);
  for (auto& c : controls_) c->MarkChanged(false);
}

void IGraphicsLice::HideControlsOf(int paramIdx, bool hide) {
  platform::ScopedLock guard(stateLock_);
  for (auto& c : controls_)
    if (c->ParamIdx() == paramIdx) c->SetHidden(hide);
}

void IGraphicsLice::GrayControlsOf(int paramIdx, bool gray) {
  platform::ScopedLock guard(stateLock_);
  for (auto& c : controls_)
    if (c->ParamIdx() == paramIdx) c->SetGrayed(gray);
}

void IGraphicsLice::HandleMouseOver(bool on) {
  platform::ScopedLock guard(stateLock_);
  mouseOver_ = on;
}

bool IGraphicsLice::OpenWindow(void* parentWindow) {
  if (!parentWindow) return false;
  CloseWindow();
  SetAllControlsDirty();
  platform::WindowConfig config;
  config.parent = reinterpret_cast<uintptr_t>(parentWindow);
  config.width = width_;
  config.height = height_;
  config.timer_ms = 1000 / fps_;
  config.title = "IPlug";
  std::unique_ptr<platform::Window> window = platform::CreateChildWindow(config, this);
  if (!window) return false;
  liveWindow_ = window.get();
  window_ = std::move(window);
  return true;
}

platform::HeadlessWindow* IGraphicsLice::OpenHeadlessWindow() {
  CloseWindow();
  SetAllControlsDirty();
  platform::WindowConfig config;
  config.width = width_;
  config.height = height_;
  config.timer_ms = 1000 / fps_;
  config.title = "IPlug";
  auto window = std::make_unique<platform::HeadlessWindow>(config, this);
  platform::HeadlessWindow* raw = window.get();
  liveWindow_ = raw;
  window_ = std::move(window);
  return raw;
}

void IGraphicsLice::CloseWindow() { CloseWindowAndNotify(true); }

void IGraphicsLice::CloseWindowAndNotify(bool notifyHost) {
  if (!window_) return;
  // The window thread may be waiting for the instance lock that our caller
  // holds: tell it to give up before waiting for it to finish.
  closing_ = true;
  ++closings_;
  std::unique_ptr<platform::Window> window = std::move(window_);
  window.reset();
  liveWindow_ = nullptr;
  closing_ = false;

  {
    platform::ScopedLock guard(stateLock_);
    nRequests_ = 0;
    prompt_.Close();
    promptControl_ = nullptr;
    captured_ = nullptr;
  }
  // A gesture cut short by the close still ends for the host (the caller is
  // the host's thread; the binding closes without the instance lock). Not
  // while the plug-in is being destroyed: then the host is no longer listening.
  const int begun = begun_.exchange(-1);
  if (notifyHost && begun >= 0) plug_->HostEditEnd(begun);
}

void IGraphicsLice::QueueParamEdit(int paramIdx, double normalized) {
  Queue(Request::kEdit, paramIdx, normalized, nullptr);
}

void IGraphicsLice::RequestPrompt(IControl* control) {
  Queue(Request::kPrompt, control->ParamIdx(), 0.0, control);
}

void IGraphicsLice::Queue(Request::Kind kind, int paramIdx, double value, IControl* control) {
  if (nRequests_ >= kMaxRequests) return;  // one gesture never makes this many
  requests_[nRequests_++] = Request{kind, paramIdx, value, control};
}

bool IGraphicsLice::LockPlug(unsigned closings) {
  for (;;) {
    if (plug_->Lock().TryLock()) return true;
    if (closing_ || closings_ != closings) return false;
    PauseBriefly();
  }
}

void IGraphicsLice::FlushRequests() {
  const unsigned closings = closings_;
  // Requests may lead to more (a committed prompt value is an edit).
  for (int round = 0; round < 4; ++round) {
    Request batch[kMaxRequests];
    int count = 0;
    std::string text;
    {
      platform::ScopedLock guard(stateLock_);
      count = nRequests_;
      for (int i = 0; i < count; ++i) batch[i] = requests_[i];
      nRequests_ = 0;
      text = commitText_;
    }
    if (count == 0) return;
    if (!LockPlug(closings)) return;
    HostNotice notices[kMaxRequests];
    int nNotices = 0;
    for (int i = 0; i < count; ++i) {
      const Request& r = batch[i];
      switch (r.kind) {
        case Request::kEdit:
          if (plug_->SetParameterFromGUI(r.paramIdx, r.value))
            notices[nNotices++] = HostNotice{HostNotice::kAutomate, r.paramIdx, r.value};
          break;
        case Request::kBegin:
          notices[nNotices++] = HostNotice{HostNotice::kBegin, r.paramIdx, 0.0};
          break;
        case Request::kEnd:
          notices[nNotices++] = HostNotice{HostNotice::kEnd, r.paramIdx, 0.0};
          break;
        case Request::kPrompt:
          OpenPrompt(r.control);
          break;
        case Request::kCommitPrompt:
          CommitPrompt(r.control, text);
          break;
      }
    }
    plug_->Lock().Unlock();
    NotifyHost(notices, nNotices);
  }
}

// Window thread, instance lock released. A close waits for this thread, so
// every change applied above is reported before the close ends the gesture.
void IGraphicsLice::NotifyHost(const HostNotice* notices, int count) {
  for (int i = 0; i < count; ++i) {
    const HostNotice& n = notices[i];
    switch (n.kind) {
      case HostNotice::kAutomate:
        plug_->HostAutomate(n.paramIdx, n.value);
        break;
      case HostNotice::kBegin:
        plug_->HostEditBegin(n.paramIdx);
        begun_ = n.paramIdx;
        break;
      case HostNotice::kEnd:
        plug_->HostEditEnd(n.paramIdx);
        begun_ = -1;
        break;
    }
  }
}

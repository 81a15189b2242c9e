#include "host/amprig/rig_window.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "host/cabinet/cabinet.h"
#include "platform/text/text.h"

namespace amprig {
namespace {

Display* Dpy(void* d) { return static_cast<Display*>(d); }

// Strip layout, left to right: the two meters, the tuner, cabinet and levels.
constexpr int kMeterX = 8, kMeterW = 180, kMeterH = 12;
constexpr int kTunerX = 380;
constexpr int kControlsX = 520;
constexpr double kLevelStepDb = 1.0;

struct Colour {
  uint8_t r, g, b;
};
constexpr Colour kBack{28, 28, 30}, kTrack{60, 60, 64}, kGreen{70, 200, 90}, kAmber{230, 170, 40},
    kRed{230, 50, 40}, kText{220, 220, 215}, kDim{140, 140, 135};

void Fill(platform::PixelView v, int x, int y, int w, int h, Colour c) {
  for (int j = std::max(0, y); j < std::min(v.height, y + h); ++j)
    for (int i = std::max(0, x); i < std::min(v.width, x + w); ++i) {
      uint8_t* p = v.At(i, j);
      p[0] = c.r;
      p[1] = c.g;
      p[2] = c.b;
      p[3] = 255;
    }
}

void Text(platform::PixelView v, int x, int y, int w, const std::string& s, int size, Colour c,
          bool bold = false, platform::TextAlign align = platform::TextAlign::kLeft) {
  platform::TextStyle style;
  style.size = size;
  style.bold = bold;
  style.red = c.r;
  style.green = c.g;
  style.blue = c.b;
  style.align = align;
  platform::DrawText(v, platform::Rect{x, y, x + w, y + size + 4}, style, s);
}

// A meter bar from -60 dBFS to 0: RMS filled, peak as a tick.
void Meter(platform::PixelView v, int y, const char* label, const LevelMeter::Reading& r) {
  auto pos = [](double db) {
    return static_cast<int>(std::lround(kMeterW * std::clamp((db + 60.0) / 60.0, 0.0, 1.0)));
  };
  Text(v, kMeterX, y - 2, 30, label, 12, kDim, true);
  const int x = kMeterX + 32;
  Fill(v, x, y, kMeterW, kMeterH, kTrack);
  const double rms = r.rmsDb;
  Fill(v, x, y, pos(rms), kMeterH, rms > -6.0 ? kAmber : kGreen);
  Fill(v, x + std::max(0, pos(r.peakDb) - 2), y, 2, kMeterH, r.peakDb > -1.0 ? kRed : kText);
  char text[32];
  if (r.peakDb <= -120.0)
    std::snprintf(text, sizeof text, "-inf");
  else
    std::snprintf(text, sizeof text, "%.1f dB", r.peakDb);
  Text(v, x + kMeterW + 6, y - 2, 80, text, 12, kText);
  Fill(v, x + kMeterW + 90, y, 36, kMeterH, r.clip ? kRed : kTrack);
  Text(v, x + kMeterW + 90, y - 1, 36, "CLIP", 11, r.clip ? kText : kDim, true,
       platform::TextAlign::kCenter);
}

}  // namespace

std::unique_ptr<RigWindow> RigWindow::Open(vst2::AEffect* effect, std::string* error) {
  error->clear();
  const char* name = std::getenv("DISPLAY");
  if (!name || !*name) return nullptr;
  Display* d = XOpenDisplay(name);
  if (!d) {
    *error = std::string("cannot open the display ") + name;
    return nullptr;
  }
  std::unique_ptr<RigWindow> w(new RigWindow());
  w->effect_ = effect;
  w->display_ = d;
  vst2::ERect* rect = nullptr;
  const bool hasEditor = (effect->flags & vst2::effFlagsHasEditor) &&
                         effect->dispatcher(effect, vst2::effEditGetRect, 0, 0, &rect, 0.0f) && rect;
  const int editorW = hasEditor ? rect->right - rect->left : 0;
  w->editorHeight_ = hasEditor ? rect->bottom - rect->top : 0;
  w->width_ = std::max(editorW, 760);
  const int height = w->editorHeight_ + kStripHeight;
  const int screen = DefaultScreen(d);
  w->window_ = XCreateSimpleWindow(d, RootWindow(d, screen), 0, 0, w->width_, height, 0, 0,
                                   (kBack.r << 16) | (kBack.g << 8) | kBack.b);
  XStoreName(d, w->window_, "amprig");
  XSizeHints hints{};
  hints.flags = PMinSize | PMaxSize;
  hints.min_width = hints.max_width = w->width_;
  hints.min_height = hints.max_height = height;
  XSetWMNormalHints(d, w->window_, &hints);
  Atom del = XInternAtom(d, "WM_DELETE_WINDOW", False);
  w->deleteAtom_ = del;
  XSetWMProtocols(d, w->window_, &del, 1);
  XSelectInput(d, w->window_, ExposureMask | ButtonPressMask | StructureNotifyMask);
  XMapWindow(d, w->window_);
  XSync(d, False);
  if (hasEditor) {
    w->editorOpen_ = effect->dispatcher(effect, vst2::effEditOpen, 0, 0,
                                        reinterpret_cast<void*>(w->window_), 0.0f) != 0;
  }
  w->strip_.assign(static_cast<size_t>(w->width_) * kStripHeight * 4, 0);
  w->presented_.assign(static_cast<size_t>(w->width_) * kStripHeight, 0);
  Visual* visual = DefaultVisual(d, screen);
  w->image_ = XCreateImage(d, visual, static_cast<unsigned>(DefaultDepth(d, screen)), ZPixmap, 0,
                           reinterpret_cast<char*>(w->presented_.data()), w->width_, kStripHeight,
                           32, w->width_ * 4);
  if (!w->image_) {
    *error = "cannot create the strip's image";
    return nullptr;
  }
  return w;
}

RigWindow::~RigWindow() {
  if (editorOpen_) effect_->dispatcher(effect_, vst2::effEditClose, 0, 0, nullptr, 0.0f);
  Display* d = Dpy(display_);
  if (image_) {
    auto* image = static_cast<XImage*>(image_);
    image->data = nullptr;  // the pixels belong to presented_
    XDestroyImage(image);
  }
  if (window_) XDestroyWindow(d, window_);
  XCloseDisplay(d);
}

bool RigWindow::TakeRequest(Request* request) {
  Display* d = Dpy(display_);
  while (XPending(d) > 0) {
    XEvent e;
    XNextEvent(d, &e);
    if (e.type == ClientMessage && static_cast<unsigned long>(e.xclient.data.l[0]) == deleteAtom_) {
      closed_ = true;
    } else if (e.type == Expose && e.xexpose.count == 0) {
      Present();
    } else if (e.type == ButtonPress && e.xbutton.button == Button1) {
      const int x = e.xbutton.x, y = e.xbutton.y - editorHeight_;
      if (y < 0 || x < kControlsX) continue;
      if (y < kStripHeight / 3) {  // the cabinet: the next built-in one
        const std::vector<std::string> names = cabinet::BuiltinNames();
        auto at = std::find(names.begin(), names.end(), cab_);
        request->kind = Request::kCabinet;
        request->cab = at == names.end() || at + 1 == names.end() ? names.front() : *(at + 1);
        cab_ = request->cab;
        return true;
      }
      // The levels: the left half of a row lowers, the right half raises.
      const bool gain = y < 2 * kStripHeight / 3;
      const double step = x < kControlsX + (width_ - kControlsX) / 2 ? -kLevelStepDb : kLevelStepDb;
      double& level = gain ? gainDb_ : outDb_;
      level = std::clamp(level + step, -60.0, 60.0);
      request->kind = gain ? Request::kInputGain : Request::kOutputLevel;
      request->db = level;
      return true;
    }
  }
  if (editorOpen_) effect_->dispatcher(effect_, vst2::effEditIdle, 0, 0, nullptr, 0.0f);
  return false;
}

void RigWindow::Show(const RigStatus& status, const std::string& cab, double gainDb, double outDb) {
  cab_ = cab;
  gainDb_ = gainDb;
  outDb_ = outDb;
  platform::PixelView v{strip_.data(), width_, kStripHeight, width_ * 4};
  Fill(v, 0, 0, width_, kStripHeight, kBack);
  Meter(v, 12, "IN", status.in);
  Meter(v, 38, "OUT", status.out);
  if (status.tuner.valid) {
    Text(v, kTunerX, 6, 120, status.tuner.note, 28, kText, true, platform::TextAlign::kCenter);
    char cents[16];
    std::snprintf(cents, sizeof cents, "%+d cents", status.tuner.cents);
    Text(v, kTunerX, 40, 120, cents, 12, std::abs(status.tuner.cents) <= 5 ? kGreen : kAmber,
         false, platform::TextAlign::kCenter);
  } else {
    Text(v, kTunerX, 14, 120, "--", 22, kDim, true, platform::TextAlign::kCenter);
  }
  char line[96];
  std::snprintf(line, sizeof line, "Cabinet: %s", cab.c_str());
  Text(v, kControlsX, 3, width_ - kControlsX, line, 13, kText, true);
  std::snprintf(line, sizeof line, "Gain  %+.1f dB     -  |  +", gainDb);
  Text(v, kControlsX, 24, width_ - kControlsX, line, 12, kText);
  std::snprintf(line, sizeof line, "Level %+.1f dB     -  |  +   xruns %d  DSP %.0f%%", outDb,
                status.xruns, status.dspLoadPercent);
  Text(v, kControlsX, 44, width_ - kControlsX, line, 12, kText);
  Present();
}

void RigWindow::Present() {
  for (int i = 0; i < width_ * kStripHeight; ++i) {
    const uint8_t* p = &strip_[static_cast<size_t>(i) * 4];
    presented_[i] = (static_cast<uint32_t>(p[0]) << 16) | (p[1] << 8) | p[2];
  }
  Display* d = Dpy(display_);
  XPutImage(d, window_, DefaultGC(d, DefaultScreen(d)), static_cast<XImage*>(image_), 0, 0, 0,
            editorHeight_, width_, kStripHeight);
  XFlush(d);
}

}  // namespace amprig

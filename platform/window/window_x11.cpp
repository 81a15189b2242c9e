// The X11 backend: a child of the host's X window on a display connection of
// our own, served by one thread that runs the timer and the event loop and
// makes every Xlib call on that connection. Presenting converts the dirty
// area of the RGBA frame into a client-side XImage of the window's visual;
// the loop puts that area once the callback has returned, and repairs
// exposures from the same image.
//
// Losing the server: Xlib releases the connection's lock before it calls the
// I/O error handlers, and an exit handler that returns goes back into the
// Xlib call that found the error, which then releases the lock a second time
// (an unlock of an unlocked mutex, and a connection in an unknown state).
// So the exit handler never returns: it jumps back to the loop, out of the
// Xlib call, and the connection is used for nothing but XCloseDisplay from
// then on. Every Xlib call after set-up is therefore made directly from the
// loop, inside XCalls(), with no C++ frame in between that owns anything.
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/cursorfont.h>
#include <fcntl.h>
#include <poll.h>
#include <setjmp.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cassert>
#include <chrono>
#include <cstdlib>
#include <future>
#include <thread>

#include "platform/window/window.h"
#include "platform/window/x11_error_trap.h"
#include "platform/window/x11_input.h"

namespace platform {
namespace {

using Clock = std::chrono::steady_clock;

// Where each 8-bit channel goes in a pixel of a TrueColor visual.
struct ChannelPlacement {
  int shift = 0;
  int bits = 8;
};

ChannelPlacement PlacementOf(unsigned long mask) {
  ChannelPlacement p;
  if (mask == 0) return p;
  p.shift = 0;
  while (((mask >> p.shift) & 1UL) == 0) ++p.shift;
  p.bits = 0;
  while (((mask >> (p.shift + p.bits)) & 1UL) != 0) ++p.bits;
  return p;
}

unsigned long Place(uint8_t value, const ChannelPlacement& p) {
  const unsigned long v = p.bits >= 8 ? (static_cast<unsigned long>(value) << (p.bits - 8))
                                      : (static_cast<unsigned long>(value) >> (8 - p.bits));
  return v << p.shift;
}

class X11Window final : public Window {
 public:
  X11Window(const WindowConfig& config, WindowListener* listener)
      : Window(config.width, config.height), config_(config), listener_(listener) {}

  // Starts the thread and waits until the window exists (or failed).
  bool Start() {
    if (pipe2(wake_, O_CLOEXEC | O_NONBLOCK) != 0) return false;
    std::promise<bool> ready;
    std::future<bool> created = ready.get_future();
    try {
      thread_ = std::thread([this, &ready] { Run(&ready); });
    } catch (...) {
      return false;
    }
    if (!created.get()) {
      thread_.join();
      return false;
    }
    return true;
  }

  ~X11Window() override {
    assert(!thread_.joinable() || thread_.get_id() != std::this_thread::get_id());
    quit_.store(true);
    if (wake_[1] >= 0) {
      const char byte = 1;
      [[maybe_unused]] ssize_t n = write(wake_[1], &byte, 1);
    }
    if (thread_.joinable()) thread_.join();
    for (int fd : wake_) {
      if (fd >= 0) close(fd);
    }
  }

  void Present(ConstPixelView frame, const Rect& dirty) noexcept override {
    if (gone_ || broken_ || image_ == nullptr) return;
    const Rect area = Intersect(
        dirty, Intersect(Rect{0, 0, frame.width, frame.height}, Rect{0, 0, width(), height()}));
    if (area.empty()) return;
    Convert(frame, area);
    AddToPut(area);  // the loop puts it when the callback has returned
  }

  void RequestKeyboardFocus() noexcept override {
    if (gone_ || broken_ || !viewable_) return;
    focus_pending_ = true;
  }

  uintptr_t native_handle() const noexcept override { return window_; }

 private:
  // Thread body: set up, loop, tear down; Xlib is used only here.
  void Run(std::promise<bool>* ready) {
    const bool ok = Setup();
    ready->set_value(ok);  // after this the promise (on Start's stack) is gone
    if (!ok) {
      Teardown();
      return;
    }
    listener_->OnOpen(*this);
    Loop();
    Teardown();
  }

  bool Setup() {
    if (width() <= 0 || height() <= 0 || listener_ == nullptr) return false;
    display_ = XOpenDisplay(config_.display_name.empty() ? nullptr : config_.display_name.c_str());
    if (display_ == nullptr) return false;
    TrapErrorsOn(display_);
    // Losing the server must not end the host process (Xlib's default).
    XSetIOErrorExitHandler(display_, &X11Window::OnConnectionLost, this);
    const int screen = DefaultScreen(display_);
    const ::Window parent =
        config_.parent != 0 ? static_cast<::Window>(config_.parent) : RootWindow(display_, screen);
    XWindowAttributes parent_attributes;
    if (XGetWindowAttributes(display_, parent, &parent_attributes) == 0) return false;
    visual_ = parent_attributes.visual;
    depth_ = parent_attributes.depth;
    if (visual_ == nullptr || visual_->c_class != TrueColor || depth_ < 15) return false;

    XSetWindowAttributes attributes{};
    attributes.background_pixel = BlackPixel(display_, screen);
    attributes.border_pixel = 0;
    attributes.event_mask = ExposureMask | ButtonPressMask | ButtonReleaseMask | PointerMotionMask |
                            EnterWindowMask | LeaveWindowMask | KeyPressMask | KeyReleaseMask |
                            FocusChangeMask | StructureNotifyMask;
    window_ = XCreateWindow(display_, parent, 0, 0, static_cast<unsigned>(width()),
                            static_cast<unsigned>(height()), 0, CopyFromParent, InputOutput,
                            CopyFromParent, CWBackPixel | CWBorderPixel | CWEventMask, &attributes);
    // A parent that vanished under us shows up here as an error on our
    // connection: sync so it has arrived, then check the window is real.
    XSync(display_, False);
    XWindowAttributes ours;
    if (window_ == 0 || XGetWindowAttributes(display_, window_, &ours) == 0) {
      window_ = 0;
      return false;
    }
    if (!config_.title.empty()) XStoreName(display_, window_, config_.title.c_str());
    cursor_ = XCreateFontCursor(display_, XC_left_ptr);
    XDefineCursor(display_, window_, cursor_);
    gc_ = XCreateGC(display_, window_, 0, nullptr);

    const size_t bytes = static_cast<size_t>(width()) * height() * 4;
    char* pixels = static_cast<char*>(std::calloc(bytes, 1));
    if (pixels == nullptr) return false;
    image_ = XCreateImage(display_, visual_, static_cast<unsigned>(depth_), ZPixmap, 0, pixels,
                          static_cast<unsigned>(width()), static_cast<unsigned>(height()), 32, 0);
    if (image_ == nullptr) {
      std::free(pixels);
      return false;
    }
    red_ = PlacementOf(visual_->red_mask);
    green_ = PlacementOf(visual_->green_mask);
    blue_ = PlacementOf(visual_->blue_mask);
    XMapWindow(display_, window_);
    XSync(display_, False);
    return true;
  }

  // Xlib's exit handler for our connection, called from inside the Xlib
  // call that found the connection lost (see the top of the file): back to
  // XCalls(), never into Xlib again.
  static void OnConnectionLost(Display*, void* self) {
    auto* window = static_cast<X11Window*>(self);
    window->broken_ = true;
    if (window->in_xcalls_) siglongjmp(window->xcalls_jump_, 1);
  }

  // Runs Xlib calls from the loop; false when the connection was lost in
  // them. `calls` must own nothing (it is left by a jump when that happens).
  template <typename Calls>
  bool XCalls(Calls&& calls) {
    if (broken_) return false;
    if (sigsetjmp(xcalls_jump_, 0) != 0) {
      in_xcalls_ = false;
      return false;
    }
    in_xcalls_ = true;
    calls();
    in_xcalls_ = false;
    return !broken_;
  }

  void AddToPut(const Rect& area) {
    if (to_put_.empty()) {
      to_put_ = area;
    } else {
      to_put_ = Rect{std::min(to_put_.left, area.left), std::min(to_put_.top, area.top),
                     std::max(to_put_.right, area.right), std::max(to_put_.bottom, area.bottom)};
    }
  }

  // What the callbacks asked for: the presented area, the keyboard focus.
  void PutPending() {
    if (gone_ || (to_put_.empty() && !focus_pending_)) return;
    const Rect area = to_put_;
    const bool focus = focus_pending_ && viewable_;
    to_put_ = Rect{};
    focus_pending_ = false;
    XCalls([this, area, focus] {
      if (!area.empty()) {
        XPutImage(display_, window_, gc_, image_, area.left, area.top, area.left, area.top,
                  static_cast<unsigned>(area.width()), static_cast<unsigned>(area.height()));
      }
      if (focus) XSetInputFocus(display_, window_, RevertToParent, CurrentTime);
      XFlush(display_);
    });
  }

  void Teardown() {
    if (display_ == nullptr) return;
    if (image_ != nullptr) XDestroyImage(image_);  // client memory, frees the pixels too
    image_ = nullptr;
    // On a lost connection nothing is sent (XCalls refuses), and closing
    // makes no requests once Xlib has marked it failed.
    XCalls([this] {
      if (gc_ != nullptr) XFreeGC(display_, gc_);
      gc_ = nullptr;
      // A window the host destroyed together with its own is already gone.
      if (window_ != 0 && !gone_) XDestroyWindow(display_, window_);
      if (cursor_ != 0) XFreeCursor(display_, cursor_);
      XSync(display_, False);  // any error lands while our handler still knows us
    });
    // Lost before the GC was freed: its client side is still ours, and Xlib,
    // having marked the connection failed, sends nothing for it.
    if (gc_ != nullptr) XFreeGC(display_, gc_);
    gc_ = nullptr;
    cursor_ = 0;
    Display* display = display_;
    display_ = nullptr;
    XCloseDisplay(display);
    UntrapErrorsOn(display);
  }

  void Loop() {
    const auto period = std::chrono::milliseconds(config_.timer_ms < 1 ? 1 : config_.timer_ms);
    auto next_tick = Clock::now();
    const int x_fd = ConnectionNumber(display_);
    while (!quit_.load()) {
      const auto now = Clock::now();
      if (!gone_ && now >= next_tick) {
        listener_->OnTimer();
        PutPending();
        next_tick += period;
        if (next_tick < now) next_tick = now + period;  // do not race to catch up
      }
      while (!quit_.load() && !broken_) {
        XEvent event;
        bool got = false;
        if (!XCalls([this, &event, &got] {
              if (XPending(display_) > 0) {
                XNextEvent(display_, &event);
                got = true;
              }
            }) ||
            !got) {
          break;
        }
        Handle(event);
        PutPending();
      }
      if (broken_ && !gone_) {
        gone_ = true;
        Event closed;
        closed.type = EventType::kClosed;
        listener_->OnEvent(closed);
      }
      if (quit_.load()) break;
      int timeout_ms = -1;
      if (!gone_) {
        const auto wait =
            std::chrono::duration_cast<std::chrono::milliseconds>(next_tick - Clock::now());
        timeout_ms = wait.count() < 0 ? 0 : static_cast<int>(wait.count()) + 1;
      }
      // A broken connection stays readable: then wait for the close only.
      pollfd fds[2] = {{wake_[0], POLLIN, 0}, {x_fd, POLLIN, 0}};
      if (poll(fds, broken_ ? 1 : 2, timeout_ms) > 0 && (fds[0].revents & POLLIN) != 0) {
        char drain[16];
        while (read(wake_[0], drain, sizeof drain) > 0) {
        }
      }
    }
  }

  void Handle(XEvent& xe) {
    if (gone_) return;
    if (xe.xany.window != window_) return;
    Event e;
    switch (xe.type) {
      case Expose: {
        const Rect r{xe.xexpose.x, xe.xexpose.y, xe.xexpose.x + xe.xexpose.width,
                     xe.xexpose.y + xe.xexpose.height};
        const Rect area = Intersect(r, Rect{0, 0, width(), height()});
        if (!area.empty()) AddToPut(area);
        return;
      }
      case MapNotify:
        viewable_ = true;
        return;
      case UnmapNotify:
        viewable_ = false;
        return;
      case DestroyNotify:
        if (xe.xdestroywindow.window != window_) return;
        gone_ = true;
        e.type = EventType::kClosed;
        listener_->OnEvent(e);
        return;
      case ButtonPress:
      case ButtonRelease: {
        const unsigned b = xe.xbutton.button;
        e.x = xe.xbutton.x;
        e.y = xe.xbutton.y;
        e.mods = ModifiersFromState(xe.xbutton.state);
        if (b == Button4 || b == Button5) {
          if (xe.type == ButtonRelease) return;
          e.type = EventType::kWheel;
          e.wheel_delta = b == Button4 ? 120 : -120;
          listener_->OnEvent(e);
          return;
        }
        if (b == Button1) {
          e.button = MouseButton::kLeft, e.mods.left = true;
        } else if (b == Button2) {
          e.button = MouseButton::kMiddle, e.mods.middle = true;
        } else if (b == Button3) {
          e.button = MouseButton::kRight, e.mods.right = true;
        } else {
          return;  // horizontal wheel and extra buttons
        }
        if (xe.type == ButtonPress) {
          e.type = clicks_.Press(e.button, e.x, e.y, xe.xbutton.time) ? EventType::kDoubleClick
                                                                      : EventType::kMouseDown;
        } else {
          e.type = EventType::kMouseUp;
        }
        listener_->OnEvent(e);
        return;
      }
      case MotionNotify:
        e.type = EventType::kMouseMove;
        e.x = xe.xmotion.x;
        e.y = xe.xmotion.y;
        e.mods = ModifiersFromState(xe.xmotion.state);
        listener_->OnEvent(e);
        return;
      case EnterNotify:
      case LeaveNotify:
        if (xe.xcrossing.mode != NotifyNormal) return;
        e.type = xe.type == EnterNotify ? EventType::kMouseEnter : EventType::kMouseLeave;
        e.x = xe.xcrossing.x;
        e.y = xe.xcrossing.y;
        e.mods = ModifiersFromState(xe.xcrossing.state);
        listener_->OnEvent(e);
        return;
      case KeyPress:
      case KeyRelease:
        e.type = xe.type == KeyPress ? EventType::kKeyDown : EventType::kKeyUp;
        TranslateKey(&xe.xkey, &e);
        listener_->OnEvent(e);
        return;
      case FocusIn:
      case FocusOut:
        e.type = xe.type == FocusIn ? EventType::kFocusIn : EventType::kFocusOut;
        listener_->OnEvent(e);
        return;
      default:
        return;
    }
  }

  // Premultiplied RGBA -> the visual's pixels (an opaque window shows the
  // colour as composited over black, which is the premultiplied value).
  void Convert(ConstPixelView frame, const Rect& area) {
    const bool packed32 = image_->bits_per_pixel == 32;
    for (int y = area.top; y < area.bottom; ++y) {
      const uint8_t* s = frame.At(area.left, y);
      auto* row = reinterpret_cast<uint32_t*>(image_->data + y * image_->bytes_per_line);
      for (int x = area.left; x < area.right; ++x, s += 4) {
        const unsigned long pixel = Place(s[0], red_) | Place(s[1], green_) | Place(s[2], blue_);
        if (packed32) {
          row[x] = static_cast<uint32_t>(pixel);
        } else {
          XPutPixel(image_, x, y, pixel);
        }
      }
    }
  }

  const WindowConfig config_;
  WindowListener* const listener_;
  std::thread thread_;
  std::atomic<bool> quit_{false};
  int wake_[2] = {-1, -1};

  // Owned by the window thread.
  Display* display_ = nullptr;
  ::Window window_ = 0;
  Visual* visual_ = nullptr;
  int depth_ = 0;
  GC gc_ = nullptr;
  Cursor cursor_ = 0;
  XImage* image_ = nullptr;
  ChannelPlacement red_, green_, blue_;
  bool gone_ = false;    // our window no longer exists (or cannot be reached)
  bool broken_ = false;  // the connection to the server is lost
  bool viewable_ = false;
  Rect to_put_;                // presented or exposed, not yet put
  bool focus_pending_ = false;
  sigjmp_buf xcalls_jump_;
  bool in_xcalls_ = false;
  DoubleClickDetector clicks_;
};

}  // namespace

std::unique_ptr<Window> CreateChildWindow(const WindowConfig& config, WindowListener* listener) {
  auto window = std::make_unique<X11Window>(config, listener);
  if (!window->Start()) return nullptr;
  return window;
}

}  // namespace platform

// The Win32 backend: a child window of the host's HWND, owned by the thread
// that creates it (the host's editor thread), whose message loop delivers
// the window's messages. The repaint timer is a window timer (SetTimer), so
// "the window thread" of window.h is that thread. The frame is kept in a
// 32-bit top-down DIB section; Present converts the dirty area into it and
// blits that area, WM_PAINT restores uncovered areas from the same section.
#include <windows.h>
#include <windowsx.h>

#include <cstring>
#include <string>

#include "platform/lock/recursive_lock.h"
#include "platform/window/window.h"

namespace platform {
namespace {

constexpr UINT_PTR kTimerId = 1;

// The module that contains this code (the plug-in DLL, not the host's exe):
// window classes are registered per module.
HINSTANCE ThisModule() {
  HMODULE module = nullptr;
  GetModuleHandleExW(
      GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
      reinterpret_cast<LPCWSTR>(&ThisModule), &module);
  return module;
}

std::wstring Widen(const std::string& utf8) {
  if (utf8.empty()) return std::wstring();
  const int n =
      MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
  std::wstring out(static_cast<size_t>(n), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), &out[0], n);
  return out;
}

// The window class is named after the title ("IPlug" -> "IPlugWndClass"),
// registered with the first window of that module and unregistered when its
// last window closes.
class ClassRegistry {
 public:
  static ClassRegistry& Instance() {
    static ClassRegistry registry;
    return registry;
  }
  bool Acquire(const std::wstring& name, WNDPROC proc) {
    ScopedLock guard(lock_);
    if (users_ == 0) {
      WNDCLASSEXW wc = {};
      wc.cbSize = sizeof(wc);
      wc.style = CS_DBLCLKS;
      wc.lpfnWndProc = proc;
      wc.hInstance = ThisModule();
      wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
      wc.lpszClassName = name.c_str();
      if (!RegisterClassExW(&wc) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) return false;
      name_ = name;
    } else if (name != name_) {
      return false;  // one module, one editor window class
    }
    ++users_;
    return true;
  }
  void Release() {
    ScopedLock guard(lock_);
    if (users_ > 0 && --users_ == 0) UnregisterClassW(name_.c_str(), ThisModule());
  }

 private:
  RecursiveLock lock_;
  int users_ = 0;
  std::wstring name_;
};

Modifiers ModifiersNow(WPARAM buttons) {
  Modifiers m;
  m.left = (buttons & MK_LBUTTON) != 0;
  m.middle = (buttons & MK_MBUTTON) != 0;
  m.right = (buttons & MK_RBUTTON) != 0;
  m.shift = GetKeyState(VK_SHIFT) < 0;
  m.control = GetKeyState(VK_CONTROL) < 0;
  m.alt = GetKeyState(VK_MENU) < 0;
  return m;
}

Key KeyOf(WPARAM vk) {
  switch (vk) {
    case VK_BACK:
      return Key::kBackspace;
    case VK_TAB:
      return Key::kTab;
    case VK_RETURN:
      return Key::kEnter;
    case VK_ESCAPE:
      return Key::kEscape;
    case VK_DELETE:
      return Key::kDelete;
    case VK_LEFT:
      return Key::kLeft;
    case VK_RIGHT:
      return Key::kRight;
    case VK_UP:
      return Key::kUp;
    case VK_DOWN:
      return Key::kDown;
    case VK_HOME:
      return Key::kHome;
    case VK_END:
      return Key::kEnd;
    case VK_PRIOR:
      return Key::kPageUp;
    case VK_NEXT:
      return Key::kPageDown;
    case VK_SHIFT:
      return Key::kShift;
    case VK_CONTROL:
      return Key::kControl;
    case VK_MENU:
      return Key::kAlt;
    default:
      return Key::kOther;
  }
}

class Win32Window final : public Window {
 public:
  Win32Window(const WindowConfig& config, WindowListener* listener)
      : Window(config.width, config.height), config_(config), listener_(listener) {}

  bool Create() {
    std::string title = config_.title.empty() ? std::string("Valve") : config_.title;
    if (!ClassRegistry::Instance().Acquire(Widen(title + "WndClass"), &WndProc)) return false;
    registered_ = true;
    if (!CreateSection()) return false;
    const HWND parent = reinterpret_cast<HWND>(config_.parent);
    const DWORD style = parent ? (WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS)
                               : (WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_VISIBLE);
    RECT frame = {0, 0, width(), height()};
    AdjustWindowRectEx(&frame, style, FALSE, 0);
    hwnd_ = CreateWindowExW(0, Widen(title + "WndClass").c_str(), Widen(title).c_str(), style, 0, 0,
                            frame.right - frame.left, frame.bottom - frame.top, parent, nullptr,
                            ThisModule(), this);
    if (!hwnd_) return false;
    listener_->OnOpen(*this);
    live_ = true;
    listener_->OnTimer();  // the first full frame
    if (live_)
      SetTimer(hwnd_, kTimerId, static_cast<UINT>(config_.timer_ms > 0 ? config_.timer_ms : 1),
               nullptr);
    return true;
  }

  ~Win32Window() override {
    live_ = false;
    if (hwnd_) {
      KillTimer(hwnd_, kTimerId);
      if (GetCapture() == hwnd_) ReleaseCapture();
      SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
      DestroyWindow(hwnd_);
    }
    if (memory_dc_) {
      SelectObject(memory_dc_, old_bitmap_);
      DeleteDC(memory_dc_);
    }
    if (section_) DeleteObject(section_);
    if (registered_) ClassRegistry::Instance().Release();
  }

  void Present(ConstPixelView frame, const Rect& dirty) noexcept override {
    if (!hwnd_ || !bits_) return;
    const Rect area = Intersect(dirty, Rect{0, 0, width(), height()});
    if (area.empty() || !frame.pixels) return;
    for (int y = area.top; y < area.bottom && y < frame.height; ++y) {
      const uint8_t* src = frame.At(area.left, y);
      uint8_t* dst = bits_ + static_cast<size_t>(y) * width() * 4 + area.left * 4;
      for (int x = area.left; x < area.right && x < frame.width; ++x, src += 4, dst += 4) {
        dst[0] = src[2];  // the DIB is B, G, R, unused
        dst[1] = src[1];
        dst[2] = src[0];
        dst[3] = 0;
      }
    }
    GdiFlush();
    HDC dc = GetDC(hwnd_);
    if (dc) {
      BitBlt(dc, area.left, area.top, area.width(), area.height(), memory_dc_, area.left, area.top,
             SRCCOPY);
      ReleaseDC(hwnd_, dc);
    }
  }

  void RequestKeyboardFocus() noexcept override {
    if (hwnd_) SetFocus(hwnd_);
  }

  uintptr_t native_handle() const noexcept override { return reinterpret_cast<uintptr_t>(hwnd_); }

 private:
  bool CreateSection() {
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width();
    info.bmiHeader.biHeight = -height();  // top-down rows, like the frame
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    section_ = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!section_) return false;
    bits_ = static_cast<uint8_t*>(bits);
    std::memset(bits_, 0, static_cast<size_t>(width()) * height() * 4);
    memory_dc_ = CreateCompatibleDC(nullptr);
    if (!memory_dc_) return false;
    old_bitmap_ = SelectObject(memory_dc_, section_);
    return true;
  }

  void Send(const Event& event) {
    if (live_) listener_->OnEvent(event);
  }

  void SendMouse(EventType type, MouseButton button, LPARAM lp, WPARAM wp) {
    Event e;
    e.type = type;
    e.x = GET_X_LPARAM(lp);
    e.y = GET_Y_LPARAM(lp);
    e.button = button;
    e.mods = ModifiersNow(wp);
    if (type == EventType::kMouseUp) {  // the released button still counts
      if (button == MouseButton::kLeft) e.mods.left = true;
      if (button == MouseButton::kMiddle) e.mods.middle = true;
      if (button == MouseButton::kRight) e.mods.right = true;
    }
    Send(e);
  }

  void Pressed(EventType type, MouseButton button, LPARAM lp, WPARAM wp) {
    SetCapture(hwnd_);
    SendMouse(type, button, lp, wp);
  }

  void Released(MouseButton button, LPARAM lp, WPARAM wp) {
    if ((wp & (MK_LBUTTON | MK_MBUTTON | MK_RBUTTON)) == 0 && GetCapture() == hwnd_) {
      ReleaseCapture();
    }
    SendMouse(EventType::kMouseUp, button, lp, wp);
  }

  void Moved(LPARAM lp, WPARAM wp) {
    if (!tracking_) {
      TRACKMOUSEEVENT track = {};
      track.cbSize = sizeof(track);
      track.dwFlags = TME_LEAVE;
      track.hwndTrack = hwnd_;
      tracking_ = TrackMouseEvent(&track) != 0;
      Event enter;
      enter.type = EventType::kMouseEnter;
      enter.x = GET_X_LPARAM(lp);
      enter.y = GET_Y_LPARAM(lp);
      enter.mods = ModifiersNow(wp);
      Send(enter);
    }
    SendMouse(EventType::kMouseMove, MouseButton::kNone, lp, wp);
  }

  void Keyed(EventType type, WPARAM vk) {
    Event e;
    e.type = type;
    e.key = KeyOf(vk);
    e.mods = ModifiersNow(0);
    Send(e);
  }

  void Character(WPARAM unit) {
    // UTF-16 from WM_CHAR; a surrogate pair arrives in two messages.
    if (unit >= 0xD800 && unit < 0xDC00) {
      high_surrogate_ = static_cast<wchar_t>(unit);
      return;
    }
    wchar_t units[2] = {static_cast<wchar_t>(unit), 0};
    int count = 1;
    if (unit >= 0xDC00 && unit < 0xE000) {
      if (!high_surrogate_) return;
      units[1] = units[0];
      units[0] = high_surrogate_;
      count = 2;
    }
    high_surrogate_ = 0;
    if (count == 1 && unit < 0x20) return;  // control keys come as WM_KEYDOWN
    if (count == 1 && unit == 0x7F) return;
    Event e;
    e.type = EventType::kKeyDown;
    e.key = Key::kCharacter;
    e.mods = ModifiersNow(0);
    WideCharToMultiByte(CP_UTF8, 0, units, count, e.text, sizeof(e.text) - 1, nullptr, nullptr);
    Send(e);
  }

  static bool PrintableKey(WPARAM vk) {
    return KeyOf(vk) == Key::kOther && vk != VK_LWIN && vk != VK_RWIN && vk != VK_CAPITAL;
  }

  LRESULT Handle(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
      case WM_TIMER:
        if (wp == kTimerId && live_) listener_->OnTimer();
        return 0;
      case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(hwnd_, &ps);
        const RECT& r = ps.rcPaint;
        BitBlt(dc, r.left, r.top, r.right - r.left, r.bottom - r.top, memory_dc_, r.left, r.top,
               SRCCOPY);
        EndPaint(hwnd_, &ps);
        return 0;
      }
      case WM_ERASEBKGND:
        return 1;
      case WM_MOUSEACTIVATE:
        SetFocus(hwnd_);
        return MA_ACTIVATE;
      case WM_LBUTTONDOWN:
        Pressed(EventType::kMouseDown, MouseButton::kLeft, lp, wp);
        return 0;
      case WM_MBUTTONDOWN:
        Pressed(EventType::kMouseDown, MouseButton::kMiddle, lp, wp);
        return 0;
      case WM_RBUTTONDOWN:
        Pressed(EventType::kMouseDown, MouseButton::kRight, lp, wp);
        return 0;
      case WM_LBUTTONDBLCLK:
        Pressed(EventType::kDoubleClick, MouseButton::kLeft, lp, wp);
        return 0;
      case WM_MBUTTONDBLCLK:
        Pressed(EventType::kDoubleClick, MouseButton::kMiddle, lp, wp);
        return 0;
      case WM_RBUTTONDBLCLK:
        Pressed(EventType::kDoubleClick, MouseButton::kRight, lp, wp);
        return 0;
      case WM_LBUTTONUP:
        Released(MouseButton::kLeft, lp, wp);
        return 0;
      case WM_MBUTTONUP:
        Released(MouseButton::kMiddle, lp, wp);
        return 0;
      case WM_RBUTTONUP:
        Released(MouseButton::kRight, lp, wp);
        return 0;
      case WM_MOUSEMOVE:
        Moved(lp, wp);
        return 0;
      case WM_MOUSELEAVE: {
        tracking_ = false;
        Event e;
        e.type = EventType::kMouseLeave;
        e.mods = ModifiersNow(0);
        Send(e);
        return 0;
      }
      case WM_MOUSEWHEEL: {
        POINT p = {GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};  // screen coordinates
        ScreenToClient(hwnd_, &p);
        Event e;
        e.type = EventType::kWheel;
        e.x = p.x;
        e.y = p.y;
        e.wheel_delta = GET_WHEEL_DELTA_WPARAM(wp);
        e.mods = ModifiersNow(GET_KEYSTATE_WPARAM(wp));
        Send(e);
        return 0;
      }
      case WM_CAPTURECHANGED:
        return 0;
      case WM_GETDLGCODE:
        return DLGC_WANTALLKEYS | DLGC_WANTCHARS;
      case WM_KEYDOWN:
      case WM_SYSKEYDOWN:
        if (!PrintableKey(wp)) Keyed(EventType::kKeyDown, wp);
        return 0;
      case WM_KEYUP:
      case WM_SYSKEYUP:
        Keyed(EventType::kKeyUp, wp);
        return 0;
      case WM_CHAR:
        Character(wp);
        return 0;
      case WM_SETFOCUS: {
        Event e;
        e.type = EventType::kFocusIn;
        Send(e);
        return 0;
      }
      case WM_KILLFOCUS: {
        Event e;
        e.type = EventType::kFocusOut;
        Send(e);
        return 0;
      }
      case WM_DESTROY:
        // The host destroyed its window (and so ours) before closing us.
        KillTimer(hwnd_, kTimerId);
        if (live_) {
          Event e;
          e.type = EventType::kClosed;
          listener_->OnEvent(e);
        }
        live_ = false;
        SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
        hwnd_ = nullptr;
        return 0;
      default:
        return DefWindowProcW(hwnd_, msg, wp, lp);
    }
  }

  static LRESULT CALLBACK WndProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_NCCREATE) {
      const CREATESTRUCTW* cs = reinterpret_cast<const CREATESTRUCTW*>(lp);
      Win32Window* self = static_cast<Win32Window*>(cs->lpCreateParams);
      self->hwnd_ = hwnd;
      SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    Win32Window* self = reinterpret_cast<Win32Window*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (!self) return DefWindowProcW(hwnd, msg, wp, lp);
    return self->Handle(msg, wp, lp);
  }

  WindowConfig config_;
  WindowListener* listener_;
  HWND hwnd_ = nullptr;
  HBITMAP section_ = nullptr;
  HGDIOBJ old_bitmap_ = nullptr;
  HDC memory_dc_ = nullptr;
  uint8_t* bits_ = nullptr;
  bool registered_ = false;
  bool live_ = false;
  bool tracking_ = false;
  wchar_t high_surrogate_ = 0;
};

}  // namespace

std::unique_ptr<Window> CreateChildWindow(const WindowConfig& config, WindowListener* listener) {
  if (!listener || config.width <= 0 || config.height <= 0) return nullptr;
  if (config.parent && !IsWindow(reinterpret_cast<HWND>(config.parent))) return nullptr;
  auto window = std::make_unique<Win32Window>(config, listener);
  if (!window->Create()) return nullptr;
  return window;
}

}  // namespace platform

// A child window inside a host's window, with its own thread that runs a
// periodic timer and the event loop, delivers mouse and keyboard input, and
// presents parts of an RGBA frame buffer.
//
// One small interface, one file per backend: window_x11.cpp (Linux: its own
// X display connection, a child of the X window id a VST host passes in
// effEditOpen), window_win32.cpp (Windows: a child of the host's HWND with a
// window timer; there "the window's own thread" is the thread that created
// it, the host's editor thread, whose message loop delivers the timer and the
// input), and window_headless.cpp, which has no window at all and lets tests
// drive the listener by hand.
//
// Threads: Create... and the destructor are called from the host's editor
// thread (whichever thread calls effEditOpen / effEditClose). Every listener
// callback runs on the window's own thread, one at a time, never after the
// destructor has returned. Present() and RequestKeyboardFocus() may only be
// called from inside a listener callback (the window thread).
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "platform/image/image.h"

namespace platform {

enum class MouseButton { kNone = 0, kLeft, kMiddle, kRight };

// Keys and buttons held while an event happened. `left`, `middle` and
// `right` are the mouse buttons held down (for a button event: including the
// button that changed, as on Windows the message names it).
struct Modifiers {
  bool left = false;
  bool middle = false;
  bool right = false;
  bool shift = false;
  bool control = false;
  bool alt = false;
};

enum class EventType {
  kMouseDown,    // button pressed
  kMouseUp,      // button released (also outside the window while captured)
  kDoubleClick,  // second press of the same button within the double-click
                 // time and distance: replaces that press's kMouseDown, so
                 // a double click reads Down, Up, DoubleClick, Up
  kMouseMove,    // pointer moved; a drag when modifiers show a button held.
                 // While a button is held the window keeps the pointer
                 // (coordinates may then lie outside the window)
  kWheel,        // vertical wheel; wheel_delta = +120 per notch away from the user
  kMouseEnter,   // pointer entered the window
  kMouseLeave,   // pointer left the window
  kKeyDown,      // key pressed (repeats arrive as further kKeyDown)
  kKeyUp,        // key released
  kFocusIn,      // the window got the keyboard focus
  kFocusOut,     // the window lost the keyboard focus
  kClosed,       // the window is gone (e.g. the host destroyed its window);
                 // no event follows, the timer stops; the destructor is still
                 // needed to release the rest
};

// Key codes for the keys an editor cares about; printable keys arrive as
// kCharacter with their text in Event::text.
enum class Key {
  kNone = 0,
  kCharacter,
  kBackspace,
  kTab,
  kEnter,
  kEscape,
  kDelete,
  kLeft,
  kRight,
  kUp,
  kDown,
  kHome,
  kEnd,
  kPageUp,
  kPageDown,
  kShift,
  kControl,
  kAlt,
  kOther,
};

struct Event {
  EventType type = EventType::kMouseMove;
  int x = 0;  // pointer position in window pixels (mouse events)
  int y = 0;
  MouseButton button = MouseButton::kNone;  // kMouseDown/Up/DoubleClick
  Modifiers mods;
  int wheel_delta = 0;   // kWheel
  Key key = Key::kNone;  // kKeyDown/Up
  char text[8] = {};     // UTF-8 of a printable key, zero-terminated
};

class Window;

// What the window calls back, on the window thread.
class WindowListener {
 public:
  virtual ~WindowListener() = default;
  // Once, on the window thread, before any other callback: the window to
  // Present() to from the callbacks. (CreateChildWindow may not have
  // returned yet, so keep this reference rather than its result.)
  virtual void OnOpen(Window& window) { (void)window; }
  // Every timer period (the first tick comes right after the window exists,
  // so the listener can present its first full frame there).
  virtual void OnTimer() = 0;
  virtual void OnEvent(const Event& event) = 0;
};

struct WindowConfig {
  // The host's window: an X11 Window id on Linux, an HWND on Windows. 0 makes
  // a top-level window (for tools and tests).
  uintptr_t parent = 0;
  int width = 0;
  int height = 0;
  int timer_ms = 41;  // timer period in milliseconds (>= 1)
  std::string title = "";
  // X11 only: the display to connect to; empty means $DISPLAY.
  std::string display_name = "";
};

class Window {
 public:
  virtual ~Window() = default;  // closes: stops the thread, destroys the window
  Window(const Window&) = delete;
  Window& operator=(const Window&) = delete;

  // Copies the area `dirty` of frame (which has the window's size, in the
  // premultiplied RGBA of image.h; alpha is ignored, the window is opaque) to
  // the screen. Window thread only. The window keeps its own copy, so areas
  // the system uncovers later are restored without asking the listener.
  virtual void Present(ConstPixelView frame, const Rect& dirty) noexcept = 0;

  // Asks for the keyboard focus (e.g. when a text prompt opens). Window thread only.
  virtual void RequestKeyboardFocus() noexcept = 0;

  // The native window id (X11 Window, HWND), 0 for the headless backend.
  virtual uintptr_t native_handle() const noexcept = 0;

  int width() const { return width_; }
  int height() const { return height_; }

 protected:
  Window(int width, int height) : width_(width), height_(height) {}

 private:
  int width_;
  int height_;
};

// The native child window of config.parent (X11 on Linux). Returns null when
// the display cannot be opened, the parent does not exist or the size is not
// positive. The listener must outlive the window.
std::unique_ptr<Window> CreateChildWindow(const WindowConfig& config, WindowListener* listener);

// The headless backend: no thread, no system window. The constructor calls
// listener->OnOpen(*this); tests call Tick() and Send() to run the listener
// on the calling thread, and read what was presented from presented().
class HeadlessWindow : public Window {
 public:
  HeadlessWindow(const WindowConfig& config, WindowListener* listener);

  void Tick();                    // one timer period: listener->OnTimer()
  void Send(const Event& event);  // listener->OnEvent(event)
  const Bitmap& presented() const { return presented_; }
  int present_count() const { return present_count_; }
  bool focus_requested() const { return focus_requested_; }

  void Present(ConstPixelView frame, const Rect& dirty) noexcept override;
  void RequestKeyboardFocus() noexcept override { focus_requested_ = true; }
  uintptr_t native_handle() const noexcept override { return 0; }

 private:
  WindowListener* listener_;
  Bitmap presented_;
  int present_count_ = 0;
  bool focus_requested_ = false;
};

}  // namespace platform

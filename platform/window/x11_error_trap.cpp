#include "platform/window/x11_error_trap.h"

#include <algorithm>
#include <atomic>
#include <mutex>
#include <vector>

namespace platform {
namespace {

std::mutex g_mutex;
std::vector<Display*> g_displays;  // ours, one entry per registration
XErrorHandler g_previous = nullptr;
XIOErrorHandler g_previous_io = nullptr;
bool g_installed = false;
std::atomic<unsigned long> g_trapped{0};

bool Ours(Display* display) {
  return std::find(g_displays.begin(), g_displays.end(), display) != g_displays.end();
}

int Handler(Display* display, XErrorEvent* error) {
  XErrorHandler previous = nullptr;
  {
    std::lock_guard<std::mutex> guard(g_mutex);
    if (Ours(display)) {
      g_trapped.fetch_add(1, std::memory_order_relaxed);
      return 0;
    }
    previous = g_previous;
  }
  return previous != nullptr ? previous(display, error) : 0;
}

// A lost connection of ours returns to Xlib, which then calls that
// connection's exit handler (the window's, which returns) instead of ending
// the process.
int IoHandler(Display* display) {
  XIOErrorHandler previous = nullptr;
  {
    std::lock_guard<std::mutex> guard(g_mutex);
    if (Ours(display)) return 0;
    previous = g_previous_io;
  }
  return previous != nullptr ? previous(display) : 0;
}

}  // namespace

void TrapErrorsOn(Display* display) noexcept {
  std::lock_guard<std::mutex> guard(g_mutex);
  g_displays.push_back(display);
  if (!g_installed) {
    g_previous = XSetErrorHandler(Handler);
    g_previous_io = XSetIOErrorHandler(IoHandler);
    g_installed = true;
  }
}

void UntrapErrorsOn(Display* display) noexcept {
  std::lock_guard<std::mutex> guard(g_mutex);
  const auto it = std::find(g_displays.begin(), g_displays.end(), display);
  if (it != g_displays.end()) g_displays.erase(it);
  if (g_displays.empty() && g_installed) {
    // Put back what was there, but leave a handler alone that someone
    // installed over ours.
    XErrorHandler current = XSetErrorHandler(g_previous);
    if (current != Handler) XSetErrorHandler(current);
    XIOErrorHandler current_io = XSetIOErrorHandler(g_previous_io);
    if (current_io != IoHandler) XSetIOErrorHandler(current_io);
    g_previous = nullptr;
    g_previous_io = nullptr;
    g_installed = false;
  }
}

unsigned long TrappedErrorCount() noexcept { return g_trapped.load(std::memory_order_relaxed); }

}  // namespace platform

// Placeholder until the X11 backend lands: no native window yet.
#include "platform/window/window.h"

namespace platform {

std::unique_ptr<Window> CreateChildWindow(const WindowConfig&, WindowListener*) { return nullptr; }

}  // namespace platform

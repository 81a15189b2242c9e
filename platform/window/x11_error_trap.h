// Xlib reports protocol errors through one process-wide handler, and its
// default handler exits the process. A plug-in window must survive errors
// on its own connection (a request racing the host's destruction of the
// parent window, focus on a window not yet viewable) and the loss of its
// connection (the server going away) without taking over the host's errors:
// while one of our connections is open, handlers are installed that swallow
// protocol and I/O errors on our connections and pass all others to the
// handlers that were there before. (A lost connection then goes on to the
// window's own exit handler, XSetIOErrorExitHandler, which returns.)
#pragma once

#include <X11/Xlib.h>

namespace platform {

// Registers a connection of ours (first registration installs the handlers).
void TrapErrorsOn(Display* display) noexcept;
// Unregisters it (the last one puts the previous handlers back, unless
// someone has replaced ours meanwhile).
void UntrapErrorsOn(Display* display) noexcept;
// Number of errors swallowed so far on our connections (for tests).
unsigned long TrappedErrorCount() noexcept;

}  // namespace platform

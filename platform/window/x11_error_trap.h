// Xlib reports protocol errors through one process-wide handler, and its
// default handler exits the process. A plug-in window must survive errors
// on its own connection (a request racing the host's destruction of the
// parent window, focus on a window not yet viewable) without taking over
// the host's errors: while one of our connections is open, a handler is
// installed that swallows errors on our connections and passes all others
// to the handler that was there before.
#pragma once

#include <X11/Xlib.h>

namespace platform {

// Registers a connection of ours (first registration installs the handler).
void TrapErrorsOn(Display* display) noexcept;
// Unregisters it (the last one puts the previous handler back, unless
// someone has replaced ours meanwhile).
void UntrapErrorsOn(Display* display) noexcept;
// Number of errors swallowed so far on our connections (for tests).
unsigned long TrappedErrorCount() noexcept;

}  // namespace platform

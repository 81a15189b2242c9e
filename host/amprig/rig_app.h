// amprig from start to exit: the amplifier module loaded as a DAW loads it,
// its state restored (or a preset), the cabinet, the JACK client, and the
// control loop (meters, tuner, status line, saving a change that has rested,
// signals, the window).
#pragma once

#include <string>
#include <vector>

namespace amprig {

// The whole program; returns the exit code.
int Run(const std::vector<std::string>& args);

}  // namespace amprig

// One audio channel between the host and the block process: whether the host
// connected it, the pointer the block process reads or writes, and a scratch
// buffer of one block of 64-bit samples.
#pragma once

#include <vector>

struct ChannelConnection {
  bool connected = true;
  double* slot = nullptr;        // what ProcessDoubleReplacing sees for this channel
  std::vector<double> scratch;   // one block, zero-filled when resized
  float* destination = nullptr;  // outputs only: the host's 32-bit buffer of this block

  void Resize(int frames) {
    scratch.assign(static_cast<size_t>(frames > 0 ? frames : 0), 0.0);
    slot = scratch.data();
  }
};

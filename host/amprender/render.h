// The render loop: source frames in blocks through the plug-in's float
// process callback into the sink, with the plug-in's reported latency taken
// out so the output lines up with the input and has its length.
#pragma once

#include <csignal>
#include <string>

#include "host/amprender/audio_io.h"
#include "host/amprender/progress.h"
#include "host/cabinet/cabinet.h"
#include "platform/vst2/aeffect.h"

namespace amprender {

struct RenderJob {
  vst2::AEffect* effect = nullptr;
  AudioSource* source = nullptr;
  FrameSink* sink = nullptr;
  int blockSize = 512;
  float gain = 1.0f;  // trim on the output
  // Prepared for the source's rate with one input and output per file
  // channel; may be null (no cabinet).
  cabinet::Cabinet* cabinet = nullptr;
  ProgressBar* progress = nullptr;                   // may be null
  const volatile std::sig_atomic_t* stop = nullptr;  // set by a signal handler; may be null
};

// Channels: plug-in input c reads file channel min(c, channels - 1), so a
// mono file feeds every input; file channel c takes plug-in output
// min(c, outputs - 1), through the cabinet when there is one (its latency is
// taken out with the plug-in's). The stats measure the input as read and the
// output as written. False with *error on a read or write failure or a stop.
bool Render(const RenderJob& job, RenderStats* stats, std::string* error);

}  // namespace amprender

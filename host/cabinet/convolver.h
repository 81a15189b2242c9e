// zita-convolver's partitioned convolver for a cabinet: one or two inputs,
// one or two outputs, output c fed by input min(c, inputs - 1) through IR
// channel min(c, IR channels - 1).
//
// Live, the partitions grow from the processing quantum (run in the caller's
// thread) to 8192 frames (run on the convolver's worker threads), so a long
// IR costs little per block. Offline, every partition is one quantum long and
// all of them run in the caller's thread: the convolver's workers start
// asynchronously and the first periods are computed inline or on a worker
// depending on when a worker thread first runs, which changes the rounding
// from render to render; a single level has no workers and gives the same
// output every time.
#pragma once

#include <chrono>
#include <memory>
#include <string>

#include "host/cabinet/cabinet.h"

class Convproc;

namespace cabinet {

class Convolver {
 public:
  Convolver();
  ~Convolver();  // stops the workers and frees the convolver (set-up thread)
  Convolver(const Convolver&) = delete;
  Convolver& operator=(const Convolver&) = delete;

  // quantum: a power of two, 64..8192, the frames of every ProcessQuantum.
  bool Configure(const ImpulseResponse& ir, int inputs, int outputs, int quantum, bool offline,
                 int realtimePriority, std::string* error);
  int quantum() const { return quantum_; }

  // Audio thread: exactly quantum() frames from in[i] to out[c]; non-finite
  // input samples enter as zero so one bad sample cannot poison the history.
  void ProcessQuantum(const float* const* in, float* const* out) noexcept;
  // Clears the history (stops and restarts the workers). Not during processing.
  void Reset();

 private:
  void Start();
  void Stop();

  std::unique_ptr<Convproc> proc_;
  int inputs_ = 0;
  int outputs_ = 0;
  int quantum_ = 0;
  bool offline_ = true;
  int priority_ = 0;
  std::chrono::steady_clock::time_point started_;
};

}  // namespace cabinet

// zita-convolver's partitioned convolver for a cabinet: one or two inputs,
// one or two outputs, output c fed by input min(c, inputs - 1) through IR
// channel min(c, IR channels - 1). The first partition is the processing
// quantum and runs in the caller's thread; longer partitions run on the
// convolver's worker threads, which offline are waited for on every call.
#pragma once

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
};

}  // namespace cabinet

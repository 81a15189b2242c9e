#include "host/cabinet/convolver.h"

#include <pthread.h>
#include <sched.h>
#include <unistd.h>
#include <zita-convolver.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <mutex>
#include <thread>

#include "host/cabinet/fftw_lock.h"

namespace cabinet {

Convolver::Convolver() = default;

Convolver::~Convolver() {
  if (!proc_) return;
  Stop();
  std::lock_guard<std::mutex> lock(FftwPlannerLock());
  proc_->cleanup();
}

bool Convolver::Configure(const ImpulseResponse& ir, int inputs, int outputs, int quantum,
                          bool offline, int realtimePriority, std::string* error) {
  inputs_ = inputs;
  outputs_ = outputs;
  quantum_ = quantum;
  offline_ = offline;
  priority_ = realtimePriority;
  proc_ = std::make_unique<Convproc>();
  const uint32_t frames = static_cast<uint32_t>(ir.frames());
  // One IR per output: the share of the input x output matrix that is used.
  const float density = static_cast<float>(outputs) / static_cast<float>(inputs * outputs);
  // Live: a late worker (an overloaded machine) costs a partition's worth of
  // output, never the whole convolver (by default it stops itself after five
  // late periods).
  if (!offline) proc_->set_options(Convproc::OPT_LATE_CONTIN);
  int rc;
  {
    std::lock_guard<std::mutex> lock(FftwPlannerLock());
    rc = proc_->configure(
        static_cast<uint32_t>(inputs), static_cast<uint32_t>(outputs), frames,
        static_cast<uint32_t>(quantum), static_cast<uint32_t>(quantum),
        offline ? static_cast<uint32_t>(quantum) : static_cast<uint32_t>(Convproc::MAXPART),
        density);
  }
  if (rc != 0) {
    *error = "the convolver cannot be set up for " + ir.source + " (" + std::to_string(frames) +
             " frames, partition " + std::to_string(quantum) + "): error " + std::to_string(rc);
    return false;
  }
  const int irChannels = static_cast<int>(ir.channels.size());
  for (int c = 0; c < outputs; ++c) {
    // zita copies and transforms the data; it takes a non-const pointer only.
    float* data = const_cast<float*>(ir.channels[std::min(c, irChannels - 1)].data());
    rc = proc_->impdata_create(static_cast<uint32_t>(std::min(c, inputs - 1)),
                               static_cast<uint32_t>(c), 1, data, 0, static_cast<int32_t>(frames));
    if (rc != 0) {
      *error = "the convolver refused the IR of " + ir.source + ": error " + std::to_string(rc);
      return false;
    }
  }
  Start();
  return true;
}

namespace {
// zita starts its workers without checking that the thread was made: a
// priority this process may not take would leave the convolver without
// workers. Probe it with a thread of that priority first.
bool CanRunRealtimeThreads(int priority) {
  pthread_attr_t attr;
  pthread_attr_init(&attr);
  sched_param param{};
  param.sched_priority = priority;
  pthread_attr_setschedpolicy(&attr, SCHED_FIFO);
  pthread_attr_setschedparam(&attr, &param);
  pthread_attr_setinheritsched(&attr, PTHREAD_EXPLICIT_SCHED);
  pthread_t probe;
  const bool made = pthread_create(&probe, &attr, [](void*) -> void* { return nullptr; }, nullptr) == 0;
  if (made) pthread_join(probe, nullptr);
  pthread_attr_destroy(&attr);
  return made;
}
}  // namespace

void Convolver::Start() {
  started_ = std::chrono::steady_clock::now();
  // Offline the workers' scheduling does not matter (every call waits for
  // them); live they run below the audio thread when it is real-time, so a
  // busy desktop does not make them late (a late worker drops a partition
  // of the cabinet's response).
  if (!offline_ && priority_ > 0 && CanRunRealtimeThreads(priority_))
    proc_->start_process(priority_, SCHED_FIFO);
  else
    proc_->start_process(0, SCHED_OTHER);
}

void Convolver::Stop() {
  // A worker that has not yet run its first line is taken for stopped, then
  // starts and waits forever, and the convolver waits for it. Workers start
  // within microseconds; a live convolver stopped at once waits a moment.
  if (!offline_) std::this_thread::sleep_until(started_ + std::chrono::milliseconds(200));
  if (proc_->state() == Convproc::ST_PROC) proc_->stop_process();
  while (proc_->state() == Convproc::ST_WAIT && !proc_->check_stop()) usleep(1000);
  // A worker marks itself idle just before its last store and return; give
  // it that moment before its level is reset or freed.
  if (!offline_) usleep(10000);
}

void Convolver::Reset() {
  if (!proc_) return;
  Stop();
  proc_->reset();
  Start();
}

void Convolver::ProcessQuantum(const float* const* in, float* const* out) noexcept {
  for (int i = 0; i < inputs_; ++i) {
    float* to = proc_->inpdata(static_cast<uint32_t>(i));
    const float* from = in[i];
    for (int t = 0; t < quantum_; ++t) to[t] = std::isfinite(from[t]) ? from[t] : 0.0f;
  }
  proc_->process(offline_);
  for (int c = 0; c < outputs_; ++c)
    std::copy_n(proc_->outdata(static_cast<uint32_t>(c)), quantum_, out[c]);
}

}  // namespace cabinet

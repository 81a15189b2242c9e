#include "tests/amprig/machine_stalls.h"

#include <pthread.h>
#include <sched.h>

#include <algorithm>

namespace amprig_test {

MachineStalls::MachineStalls(int priority, std::chrono::microseconds threshold)
    : threshold_(threshold) {
  const unsigned processors = std::max(1u, std::thread::hardware_concurrency());
  for (unsigned p = 0; p < processors; ++p)
    watchers_.emplace_back([this, p, priority] { Watch(static_cast<int>(p), priority); });
}

MachineStalls::~MachineStalls() {
  stop_ = true;
  for (std::thread& t : watchers_) t.join();
}

bool MachineStalls::Since(std::chrono::steady_clock::time_point since) const {
  return lastStallEnd_.load() >= std::chrono::duration_cast<std::chrono::nanoseconds>(
                                     since.time_since_epoch()).count();
}

void MachineStalls::Watch(int processor, int priority) {
  cpu_set_t set;
  CPU_ZERO(&set);
  CPU_SET(processor, &set);
  pthread_setaffinity_np(pthread_self(), sizeof set, &set);
  if (priority > 0) {
    sched_param param{};
    param.sched_priority = priority;
    pthread_setschedparam(pthread_self(), SCHED_FIFO, &param);  // best effort
  }
  using Clock = std::chrono::steady_clock;
  const auto nap = std::chrono::milliseconds(1);
  while (!stop_) {
    const Clock::time_point before = Clock::now();
    std::this_thread::sleep_for(nap);
    const Clock::time_point after = Clock::now();
    if (after - before - nap > threshold_) {
      count_.fetch_add(1);
      lastStallEnd_ = std::chrono::duration_cast<std::chrono::nanoseconds>(
                          after.time_since_epoch()).count();
    }
  }
}

}  // namespace amprig_test

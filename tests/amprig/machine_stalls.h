// Time the machine takes from every thread of the process: one thread pinned
// to each processor, at a real-time priority above the audio client's,
// sleeps a millisecond at a time and notes each wake-up that came later than
// a threshold. A virtual machine whose processor the host deschedules (this
// kind of machine: 3 to 100 ms at a time while the host is busy) shows as
// such stalls; a JACK client can make up for none of them, and an xrun
// during one says nothing about the client.
#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <thread>
#include <vector>

namespace amprig_test {

class MachineStalls {
 public:
  // `priority` 0: normal threads (the stalls they see include the
  // machine's load, not only its absences).
  MachineStalls(int priority, std::chrono::microseconds threshold);
  ~MachineStalls();
  MachineStalls(const MachineStalls&) = delete;
  MachineStalls& operator=(const MachineStalls&) = delete;

  int count() const { return count_.load(); }
  // Whether a stall was going on at or after `since`.
  bool Since(std::chrono::steady_clock::time_point since) const;

 private:
  void Watch(int processor, int priority);

  std::chrono::microseconds threshold_;
  std::vector<std::thread> watchers_;
  std::atomic<bool> stop_{false};
  std::atomic<int> count_{0};
  std::atomic<int64_t> lastStallEnd_{0};  // steady clock, nanoseconds
};

}  // namespace amprig_test

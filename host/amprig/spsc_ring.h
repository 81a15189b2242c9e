// A single-producer single-consumer ring of trivially copyable values: the
// audio thread pushes, one control thread pops. Wait-free on both sides; the
// storage is allocated once, at construction.
#pragma once

#include <atomic>
#include <cstddef>
#include <vector>

namespace amprig {

template <typename T>
class SpscRing {
 public:
  // Holds up to capacity - 1 values.
  explicit SpscRing(size_t capacity) : slots_(capacity < 2 ? 2 : capacity) {}

  // Producer. False (and nothing stored) when the ring is full.
  bool Push(const T& value) noexcept {
    const size_t head = head_.load(std::memory_order_relaxed);
    const size_t next = head + 1 == slots_.size() ? 0 : head + 1;
    if (next == tail_.load(std::memory_order_acquire)) return false;
    slots_[head] = value;
    head_.store(next, std::memory_order_release);
    return true;
  }

  // Consumer. False when the ring is empty.
  bool Pop(T* value) noexcept {
    const size_t tail = tail_.load(std::memory_order_relaxed);
    if (tail == head_.load(std::memory_order_acquire)) return false;
    *value = slots_[tail];
    tail_.store(tail + 1 == slots_.size() ? 0 : tail + 1, std::memory_order_release);
    return true;
  }

 private:
  std::vector<T> slots_;
  std::atomic<size_t> head_{0};  // next slot the producer writes
  std::atomic<size_t> tail_{0};  // next slot the consumer reads
};

}  // namespace amprig

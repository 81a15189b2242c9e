// Relaxed atomic loads and stores on plain floats and name bytes. The stored
// programs and the working values are written by one host thread while
// others read them (displays, names, chunk copies); each value moves whole,
// no lock is taken, and the records keep their byte layout for the chunks.
#pragma once

#include <cstddef>

namespace vortan {

inline float LoadRelaxed(const float& slot) noexcept {
  float value;
  __atomic_load(&slot, &value, __ATOMIC_RELAXED);
  return value;
}

inline void StoreRelaxed(float& slot, float value) noexcept {
  __atomic_store(&slot, &value, __ATOMIC_RELAXED);
}

inline char LoadRelaxed(const char& slot) noexcept {
  return __atomic_load_n(&slot, __ATOMIC_RELAXED);
}

inline void StoreRelaxed(char& slot, char value) noexcept {
  __atomic_store_n(&slot, value, __ATOMIC_RELAXED);
}

// Copies `count` elements one relaxed access at a time (either side may be
// shared).
template <typename T>
void CopyRelaxed(T* dst, const T* src, size_t count) noexcept {
  for (size_t i = 0; i < count; ++i) StoreRelaxed(dst[i], LoadRelaxed(src[i]));
}

// A record made only of floats, copied float by float.
template <typename Record>
void CopyRecordRelaxed(Record& dst, const Record& src) noexcept {
  static_assert(sizeof(Record) % sizeof(float) == 0, "a record of floats");
  CopyRelaxed(reinterpret_cast<float*>(&dst), reinterpret_cast<const float*>(&src),
              sizeof(Record) / sizeof(float));
}

}  // namespace vortan

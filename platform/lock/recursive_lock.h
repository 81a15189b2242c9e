// A re-entrant mutual-exclusion lock and its scoped guard. The thread that
// holds the lock may take it again; each take needs its own release, which
// the guard does on every exit path.
#pragma once

#if defined(_WIN32)
// Only the kernel's part: <windows.h> would bring the user interface's
// macros (LoadBitmap, min, max ...) into every file that takes a lock.
#ifndef NOMINMAX
#define NOMINMAX
#endif
// clang-format off
#include <windef.h>  // first: winbase.h builds on its types
#include <winbase.h>
// clang-format on
#else
#include <mutex>
#endif

namespace platform {

class RecursiveLock {
 public:
  RecursiveLock() {
#if defined(_WIN32)
    InitializeCriticalSection(&section_);
#endif
  }
  ~RecursiveLock() {
#if defined(_WIN32)
    DeleteCriticalSection(&section_);
#endif
  }
  RecursiveLock(const RecursiveLock&) = delete;
  RecursiveLock& operator=(const RecursiveLock&) = delete;

  void Lock() {
#if defined(_WIN32)
    EnterCriticalSection(&section_);
#else
    mutex_.lock();
#endif
  }
  // Takes the lock only if no other thread holds it; true when taken.
  bool TryLock() {
#if defined(_WIN32)
    return TryEnterCriticalSection(&section_) != 0;
#else
    return mutex_.try_lock();
#endif
  }
  void Unlock() {
#if defined(_WIN32)
    LeaveCriticalSection(&section_);
#else
    mutex_.unlock();
#endif
  }

 private:
#if defined(_WIN32)
  CRITICAL_SECTION section_;
#else
  std::recursive_mutex mutex_;
#endif
};

class ScopedLock {
 public:
  explicit ScopedLock(RecursiveLock& lock) : lock_(lock) { lock_.Lock(); }
  ~ScopedLock() { lock_.Unlock(); }
  ScopedLock(const ScopedLock&) = delete;
  ScopedLock& operator=(const ScopedLock&) = delete;

 private:
  RecursiveLock& lock_;
};

}  // namespace platform

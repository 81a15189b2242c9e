#include "host/cabinet/fftw_lock.h"

namespace cabinet {

std::mutex& FftwPlannerLock() {
  static std::mutex lock;
  return lock;
}

}  // namespace cabinet

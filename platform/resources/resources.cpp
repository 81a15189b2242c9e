// Lookup in a generated resource table (sorted by id).
#include "platform/resources/resources.h"

namespace platform {

Resource ResourceSource::Find(int id) const noexcept {
  size_t lo = 0;
  size_t hi = count_;
  while (lo < hi) {
    const size_t mid = lo + (hi - lo) / 2;
    if (entries_[mid].id < id) {
      lo = mid + 1;
    } else {
      hi = mid;
    }
  }
  if (lo < count_ && entries_[lo].id == id) return Resource{entries_[lo].data, entries_[lo].size};
  return Resource{};
}

}  // namespace platform

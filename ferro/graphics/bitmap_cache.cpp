#include "ferro/graphics/bitmap_cache.h"

#include <cassert>
#include <map>
#include <memory>

#include "platform/lock/recursive_lock.h"

namespace bitmap_cache {
namespace {

struct Cache {
  platform::RecursiveLock lock;
  std::map<int, std::unique_ptr<platform::Bitmap>> images;
  int decodes = 0;
};

Cache& TheCache() {
  static Cache cache;
  return cache;
}

}  // namespace

const platform::Bitmap& Get(const platform::ResourceSource& source, int id) {
  Cache& cache = TheCache();
  platform::ScopedLock guard(cache.lock);
  auto found = cache.images.find(id);
  if (found != cache.images.end()) return *found->second;
  const platform::Resource res = source.Find(id);
  assert(res && "editor image resource missing");
  auto image = std::make_unique<platform::Bitmap>(platform::DecodeFixedPng(res.data, res.size));
  ++cache.decodes;
  const platform::Bitmap& result = *image;
  cache.images.emplace(id, std::move(image));
  return result;
}

int DecodeCount() {
  Cache& cache = TheCache();
  platform::ScopedLock guard(cache.lock);
  return cache.decodes;
}

}  // namespace bitmap_cache

// Read-only blobs (the editors' PNG images) carried inside the plug-in
// library and found by numeric resource identifier.
//
// A plug-in embeds its own folder of images with the CMake function
//   valve_embed_resources(<target> <namespace> <dir>)
// which takes every <dir>/<id>.png (id a decimal number), places the bytes in
// the target's library at build time and generates the header
// "<namespace>_resources.h" (on the target's include path) declaring
//   namespace <namespace> {
//   const platform::ResourceSource& EmbeddedResources() noexcept;
//   }
// The source is a generated table inside the library: on Linux the
// assembler's .incbin places each file's bytes in read-only data under hidden
// symbols; on Windows the files are the DLL's RCDATA resources (from a
// generated .rc file), found by the same ids through the module handle.
// Nothing is read from files at run time, and nothing here allocates.
#pragma once

#include <cstddef>
#include <cstdint>

namespace platform {

// The bytes of one resource; data is null and size 0 when it was not found.
struct Resource {
  const uint8_t* data = nullptr;
  size_t size = 0;
  explicit operator bool() const { return data != nullptr; }
};

// One row of a generated table.
struct ResourceEntry {
  int id;
  const uint8_t* data;
  size_t size;
};

// A set of resources of one library. Cheap to copy; the bytes live as long
// as the library is loaded. Thread-safe (read-only).
#if defined(_WIN32)
// Windows: the module's RCDATA resource with this id (data null when the
// module has none), found through the handle DllMain stored at load.
ResourceEntry ModuleResource(int id) noexcept;
#endif

class ResourceSource {
 public:
  constexpr ResourceSource() = default;
  // Over a table sorted by increasing id (the generator writes it so).
  constexpr ResourceSource(const ResourceEntry* entries, size_t count)
      : entries_(entries), count_(count) {}

  // The resource with this id, or an empty Resource.
  Resource Find(int id) const noexcept;

  size_t count() const { return count_; }
  // Entry i in increasing id order (i < count()), for tests and tools.
  const ResourceEntry& entry(size_t i) const { return entries_[i]; }

 private:
  const ResourceEntry* entries_ = nullptr;
  size_t count_ = 0;
};

}  // namespace platform

// A file that appears under its final name only when it is complete: it is
// written under a hidden temporary name in the same folder and renamed at
// Commit(). Destroying an uncommitted file removes the temporary.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace amprender {

class AtomicFile {
 public:
  explicit AtomicFile(std::string finalPath) : finalPath_(std::move(finalPath)) {}
  ~AtomicFile() { Discard(); }
  AtomicFile(const AtomicFile&) = delete;
  AtomicFile& operator=(const AtomicFile&) = delete;

  // Creates the temporary file; returns its descriptor or -1 with *error set.
  // The descriptor belongs to the caller, who closes it before Commit().
  int Create(std::string* error);
  // Renames the temporary to the final name.
  bool Commit(std::string* error);
  // Removes the temporary if it still exists.
  void Discard();

  const std::string& finalPath() const { return finalPath_; }
  const std::string& tempPath() const { return tempPath_; }

 private:
  std::string finalPath_;
  std::string tempPath_;
  bool pending_ = false;
};

// Writes bytes through an AtomicFile: complete file or none.
bool WriteFileAtomically(const std::string& path, const std::vector<uint8_t>& bytes,
                         std::string* error);

// Reads a whole file (or standard input for "-").
bool ReadWholeFile(const std::string& path, std::vector<uint8_t>* bytes, std::string* error);

}  // namespace amprender

// The growable little-endian byte buffer that carries all plug-in state:
// parameter values, preset banks and the chunks handed to the host.
#pragma once

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

class StateChunk {
 public:
  int Size() const { return static_cast<int>(bytes_.size()); }
  const uint8_t* Data() const { return bytes_.data(); }
  uint8_t* Data() { return bytes_.data(); }
  void Clear() { bytes_.clear(); }
  // New bytes are zero.
  void Resize(int size) { bytes_.resize(size > 0 ? static_cast<size_t>(size) : 0u, 0); }

  void PutBytes(const void* data, int size);
  template <typename T>
  void Put(const T& value) {
    PutBytes(&value, static_cast<int>(sizeof(T)));
  }
  // A 32-bit signed length followed by the bytes, no terminator.
  void PutString(const char* text);
  void PutChunk(const StateChunk& other) { PutBytes(other.Data(), other.Size()); }

  // Reads at `position`: the new position on success; -1 on failure with the
  // destination untouched. A negative position always fails.
  int GetBytes(void* data, int size, int position) const;
  template <typename T>
  int Get(T* value, int position) const {
    return GetBytes(value, static_cast<int>(sizeof(T)), position);
  }
  // Reads a length-prefixed string. `*length` receives the declared length
  // (or is untouched if the field is missing); `text` receives the bytes only
  // when the length is positive and they all lie inside the buffer. Returns
  // the position after the declared bytes, or -1 when the length field is
  // missing, negative, or declares more bytes than the buffer holds.
  int GetString(std::string* text, int position) const;

 private:
  std::vector<uint8_t> bytes_;
};

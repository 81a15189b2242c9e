#include "ferro/shell/state_chunk.h"

void StateChunk::PutBytes(const void* data, int size) {
  if (size <= 0) return;
  const auto* p = static_cast<const uint8_t*>(data);
  bytes_.insert(bytes_.end(), p, p + size);
}

void StateChunk::PutString(const char* text) {
  const int32_t length = text ? static_cast<int32_t>(std::strlen(text)) : 0;
  Put(length);
  PutBytes(text, length);
}

int StateChunk::GetBytes(void* data, int size, int position) const {
  if (position < 0 || size < 0) return -1;
  // In 64-bit arithmetic so a position near INT_MAX cannot wrap.
  if (static_cast<int64_t>(position) + size > static_cast<int64_t>(bytes_.size())) return -1;
  if (size > 0) std::memcpy(data, bytes_.data() + position, static_cast<size_t>(size));
  return position + size;
}

int StateChunk::GetString(std::string* text, int position) const {
  int32_t length = 0;
  position = Get(&length, position);
  if (position < 0) return -1;
  if (length < 0 || static_cast<int64_t>(position) + length > Size()) return -1;
  if (length > 0 && text)
    text->assign(reinterpret_cast<const char*>(bytes_.data() + position),
                 static_cast<size_t>(length));
  return position + length;
}

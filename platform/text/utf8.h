// A forgiving UTF-8 decoder: each call yields one code point; bytes that do
// not form a valid, shortest-form sequence yield U+FFFD and are skipped one
// at a time, so decoding always advances and never reads past the end.
#pragma once

#include <cstddef>
#include <cstdint>

namespace platform {

constexpr char32_t kReplacementCharacter = 0xFFFD;

// Decodes the code point at text[*pos] (pos < size) and advances *pos.
char32_t DecodeUtf8(const char* text, size_t size, size_t* pos) noexcept;

}  // namespace platform

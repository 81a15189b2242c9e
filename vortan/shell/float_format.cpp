#include "vortan/shell/float_format.h"

#include <cmath>
#include <cstdint>
#include <cstring>

namespace vortan {
namespace {

// Decimal digits of n, most significant first; returns how many.
int Digits(uint64_t n, char* out) noexcept {
  char reversed[24];
  int count = 0;
  do {
    reversed[count++] = static_cast<char>('0' + n % 10);
    n /= 10;
  } while (n != 0);
  for (int i = 0; i < count; ++i) out[i] = reversed[count - 1 - i];
  return count;
}

}  // namespace

void FormatFloatCut(float value, char* text, int maxChars) noexcept {
  if (maxChars < 1) maxChars = 1;
  if (maxChars > kMaxFormatChars) maxChars = kMaxFormatChars;
  const double v = static_cast<double>(value);
  char buffer[64];
  int length = 0;
  if (std::isnan(v)) {
    std::memcpy(buffer, "nan", 3);
    length = 3;
  } else {
    const bool negative = v < 0.0;
    const double magnitude = std::fabs(v);
    if (negative) buffer[length++] = '-';
    if (magnitude >= 1e18) {
      std::memcpy(buffer + length, "inf", 3);  // also for values too wide to print
      length += 3;
    } else {
      const double whole = std::floor(magnitude);
      length += Digits(static_cast<uint64_t>(whole), buffer + length);
      buffer[length++] = '.';
      const int fractionDigits = maxChars - length;
      if (fractionDigits > 0) {
        // The fraction of a float is exact in a double, and the scaled value
        // stays far enough from an integer that the product cannot round up
        // across one.
        const double scaled = (magnitude - whole) * std::pow(10.0, fractionDigits);
        char digits[24];
        const int count = Digits(static_cast<uint64_t>(scaled), digits);
        for (int i = count; i < fractionDigits; ++i) buffer[length++] = '0';
        std::memcpy(buffer + length, digits, static_cast<size_t>(count));
        length += count;
      }
    }
  }
  if (length > maxChars) length = maxChars;
  std::memcpy(text, buffer, static_cast<size_t>(length));
  text[length] = '\0';
}

}  // namespace vortan

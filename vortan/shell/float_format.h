// Display text of a parameter value: the integer part, a point, then as many
// fraction digits as fit in the width. Digits are cut off, not rounded, so
// 0.7f (stored as 0.69999998...) shows as "0.699999".
#pragma once

namespace vortan {

constexpr int kMaxFormatChars = 16;

// Writes at most maxChars characters (1..kMaxFormatChars) and a terminator,
// so text must hold maxChars + 1 bytes.
void FormatFloatCut(float value, char* text, int maxChars) noexcept;

}  // namespace vortan

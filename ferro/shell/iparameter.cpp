#include "ferro/shell/iparameter.h"

#include <cmath>
#include <cstdio>
#include <cstring>

#include "platform/text/utf8_cut.h"

namespace {
// Truncation toward zero that stays defined for any double a host may send.
int TruncateToInt(double v) {
  if (!(v > -2.0e9)) return -2000000000;
  if (v > 2.0e9) return 2000000000;
  return static_cast<int>(v);
}

void CopyName(char* dst, const char* src) {
  platform::CopyUtf8Cut(dst, src, IParameter::kNameLength);
}
}  // namespace

void IParameter::DefineDouble(const char* name, double defaultValue, double min, double max,
                              double step, const char* label) {
  if (kind_ == kTypeNone) kind_ = kTypeDouble;
  CopyName(name_, name);
  CopyName(label_, label);
  value_ = defaultValue;
  defaultValue_ = defaultValue;
  min_ = min;
  max_ = (min + step > max) ? min + step : max;
  step_ = step;
  // Decimals shown: one per decade the step lies below a whole number, six at most.
  precision_ = 0;
  for (double s = step; s != std::floor(s) && precision_ < 6; s *= 10.0) ++precision_;
}

void IParameter::DefineInt(const char* name, int defaultValue, int min, int max,
                           const char* label) {
  if (kind_ == kTypeNone) kind_ = kTypeInt;
  DefineDouble(name, defaultValue, min, max, 1.0, label);
}

void IParameter::DefineBool(const char* name, bool defaultValue, const char*) {
  if (kind_ == kTypeNone) kind_ = kTypeBool;
  DefineDouble(name, defaultValue ? 1.0 : 0.0, 0.0, 1.0, 1.0, "");
  AddValueText(0, "off");
  AddValueText(1, "on");
}

void IParameter::AddValueText(int value, const char* text) {
  ValueText entry{value, {}};
  CopyName(entry.text, text);
  texts_.push_back(entry);
}

double IParameter::NormalizeValue(double value) const {
  double v = value < min_ ? min_ : (value > max_ ? max_ : value);
  return std::pow((v - min_) / (max_ - min_), 1.0 / shape_);
}

double IParameter::Normalized() const { return NormalizeValue(value_); }

double IParameter::PlainForNormalized(double normalized) const {
  // Hosts are expected to send 0..1; anything else (or NaN) must not push the
  // value outside its range, where the model has no meaning for it.
  if (std::isnan(normalized)) return value_;
  if (normalized < 0.0) normalized = 0.0;
  double v = min_ + std::pow(normalized, shape_) * (max_ - min_);
  if (kind_ != kTypeDouble) v = step_ * std::floor(v / step_ + 0.5);
  if (v >= max_) v = max_;
  return v;
}

void IParameter::SetFromNormalized(double normalized) {
  if (std::isnan(normalized)) return;
  value_ = PlainForNormalized(normalized);
}

void IParameter::SetClamped(double value) {
  if (std::isnan(value)) return;  // no range clamp catches a NaN
  value_ = value < min_ ? min_ : (value > max_ ? max_ : value);
}

const char* IParameter::TextFor(int value) const {
  for (const ValueText& t : texts_)
    if (t.value == value) return t.text;
  return nullptr;
}

void IParameter::FormatValue(double value, bool normalized, char* out, int capacity) const {
  if (!out || capacity <= 0) return;
  double v = normalized ? min_ + std::pow(value, shape_) * (max_ - min_) : value;
  // A NaN would make the integer conversion undefined; show it as the minimum.
  if (std::isnan(v)) v = min_;
  const char* text = TextFor(TruncateToInt(v));
  if (text && text[0]) {
    platform::CopyUtf8Cut(out, text, static_cast<size_t>(capacity));
    return;
  }
  if (negateDisplay_) v = -v;
  if (v == 0.0) {
    std::snprintf(out, static_cast<size_t>(capacity), "0");
  } else if (precision_ == 0) {
    std::snprintf(out, static_cast<size_t>(capacity), "%d", TruncateToInt(v));
  } else {
    char format[16];
    std::snprintf(format, sizeof format, "%%.%df", precision_);
    std::snprintf(out, static_cast<size_t>(capacity), format, v);
  }
}

bool IParameter::ValueForText(const char* text, double* value) const {
  if (!text) return false;
  for (const ValueText& t : texts_) {
    if (std::strcmp(t.text, text) == 0) {
      if (value) *value = t.value;
      return true;
    }
  }
  return false;
}

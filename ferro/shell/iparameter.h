// One plug-in parameter: its kind, plain value, range and step, the
// normalisation exchanged with the host and the editor (0..1), and the text
// the host shows for a value.
#pragma once

#include <cstddef>
#include <vector>

class IParameter {
 public:
  enum Kind { kTypeNone = 0, kTypeBool = 1, kTypeInt = 2, kTypeEnum = 3, kTypeDouble = 4 };
  static constexpr int kNameLength = 32;  // bytes, terminator included

  // Initialisers used by the plug-in constructor.
  void DefineDouble(const char* name, double defaultValue, double min, double max, double step,
                    const char* label);
  void DefineInt(const char* name, int defaultValue, int min, int max, const char* label);
  void DefineBool(const char* name, bool defaultValue, const char* label);
  void AddValueText(int value, const char* text);

  double Normalized() const;
  double NormalizeValue(double value) const;
  void SetFromNormalized(double normalized);
  // The plain value SetFromNormalized would store (the current one for NaN).
  double PlainForNormalized(double normalized) const;
  // Plain value, clamped into the range, not rounded to the step.
  void SetClamped(double value);

  // The display text of a value: `value` is normalised when `normalized` is
  // true. Writes at most `capacity` bytes including the terminator.
  void FormatValue(double value, bool normalized, char* out, int capacity) const;
  void FormatValue(char* out, int capacity) const { FormatValue(value_, false, out, capacity); }

  // The value of the first display text equal to `text` (exact, case-sensitive).
  bool ValueForText(const char* text, double* value) const;

  const char* Name() const { return name_; }
  const char* Label() const { return label_; }
  Kind kind() const { return kind_; }
  double Value() const { return value_; }
  double DefaultValue() const { return defaultValue_; }
  double Min() const { return min_; }
  double Max() const { return max_; }
  double Step() const { return step_; }
  int Precision() const { return precision_; }
  int DisplayTextCount() const { return static_cast<int>(texts_.size()); }
  const char* DisplayText(int i) const { return texts_[static_cast<size_t>(i)].text; }
  int DisplayTextValue(int i) const { return texts_[static_cast<size_t>(i)].value; }

 private:
  struct ValueText {
    int value;
    char text[kNameLength];
  };
  const char* TextFor(int value) const;

  Kind kind_ = kTypeNone;
  double value_ = 0.0;
  double defaultValue_ = 0.0;
  double min_ = 0.0;
  double max_ = 1.0;
  double step_ = 1.0;
  double shape_ = 1.0;
  int precision_ = 0;
  char name_[kNameLength] = {};
  char label_[kNameLength] = {};
  bool negateDisplay_ = false;
  std::vector<ValueText> texts_;
};

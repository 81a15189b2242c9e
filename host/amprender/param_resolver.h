// --set NAME=VALUE: finds a parameter by the name the plug-in reports and
// turns a value into the normalised 0..1 number the plug-in takes. A plain
// number is the normalised value itself; a number with the parameter's unit
// ("-45 Volt") or a display text ("on") is found through the plug-in's own
// display: the normalised value whose display shows it.
#pragma once

#include <string>
#include <vector>

namespace amprender {

struct ParamInfo {
  int index = 0;
  std::string name;   // as reported, surrounding spaces removed
  std::string label;  // unit, surrounding spaces removed
};

// What the plug-in displays for a parameter at a normalised value.
class DisplayProbe {
 public:
  virtual ~DisplayProbe() = default;
  virtual std::string DisplayAt(int index, float normalized) = 0;
};

// Index into params of the parameter called `name` (exact, else the only
// case-insensitive match), or -1 with *error naming the close matches.
int FindParam(const std::vector<ParamInfo>& params, const std::string& name, std::string* error);

// The candidates nearest to `wanted` (edit distance, ignoring case, or
// containing it), best first, at most `limit`.
std::vector<std::string> CloseMatches(const std::vector<std::string>& candidates,
                                      const std::string& wanted, size_t limit = 6);

// Resolves `value` for `param`; false with *error when nothing matches.
bool ResolveValue(const ParamInfo& param, const std::string& value, DisplayProbe& probe,
                  float* normalized, std::string* error);

std::string Trim(const std::string& text);

}  // namespace amprender

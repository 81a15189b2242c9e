#include "host/amprender/param_resolver.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdlib>
#include <limits>

namespace amprender {

std::string Trim(const std::string& text) {
  size_t b = 0, e = text.size();
  while (b < e && std::isspace(static_cast<unsigned char>(text[b]))) ++b;
  while (e > b && std::isspace(static_cast<unsigned char>(text[e - 1]))) --e;
  return text.substr(b, e - b);
}

namespace {

std::string Lower(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

std::string Quoted(const std::string& text) { return "\"" + text + "\""; }

size_t EditDistance(const std::string& a, const std::string& b) {
  std::vector<size_t> row(b.size() + 1);
  for (size_t j = 0; j <= b.size(); ++j) row[j] = j;
  for (size_t i = 1; i <= a.size(); ++i) {
    size_t diagonal = row[0];
    row[0] = i;
    for (size_t j = 1; j <= b.size(); ++j) {
      size_t up = row[j];
      row[j] = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (a[i - 1] == b[j - 1] ? 0 : 1)});
      diagonal = up;
    }
  }
  return row[b.size()];
}

// The whole text is one finite number.
bool ParseNumber(const std::string& text, double* out) {
  std::string t = Trim(text);
  if (t.empty()) return false;
  char* end = nullptr;
  double v = std::strtod(t.c_str(), &end);
  if (*end != '\0' || !std::isfinite(v)) return false;
  *out = v;
  return true;
}

// The display starts with a finite number; *decimals counts its fraction digits.
bool LeadingNumber(const std::string& display, double* out, int* decimals) {
  std::string t = Trim(display);
  char* end = nullptr;
  double v = std::strtod(t.c_str(), &end);
  if (end == t.c_str() || !std::isfinite(v)) return false;
  *out = v;
  std::string number(t.c_str(), static_cast<size_t>(end - t.c_str()));
  size_t point = number.find('.');
  *decimals = 0;
  if (point != std::string::npos)
    while (point + 1 + *decimals < number.size() &&
           std::isdigit(static_cast<unsigned char>(number[point + 1 + *decimals])))
      ++*decimals;
  return true;
}

constexpr int kGrid = 256;  // first scan of the normalised range
constexpr int kBisections = 40;

float GridPoint(int i) { return static_cast<float>(i) / kGrid; }

// The normalised range over which the display reads `text` around n: the
// lower end when that is 0, the upper when that is 1 (the natural host values
// of switches and range ends), else the middle.
float PlateauChoice(DisplayProbe& probe, int index, float n, const std::string& text) {
  auto same = [&](float x) { return Trim(probe.DisplayAt(index, x)) == text; };
  auto edge = [&](float step) {
    float inside = n, outside = n;
    for (;;) {
      float next = std::clamp(inside + step, 0.0f, 1.0f);
      if (next == inside) return inside;  // reached 0 or 1 with the same text
      if (!same(next)) {
        outside = next;
        break;
      }
      inside = next;
    }
    for (int k = 0; k < kBisections; ++k) {
      float mid = 0.5f * (inside + outside);
      if (mid == inside || mid == outside) break;
      (same(mid) ? inside : outside) = mid;
    }
    return inside;
  };
  const float lo = edge(-1.0f / kGrid);
  const float hi = edge(1.0f / kGrid);
  float choice = lo == 0.0f ? 0.0f : hi == 1.0f ? 1.0f : 0.5f * (lo + hi);
  return same(choice) ? choice : n;
}

std::string DisplayHint(const ParamInfo& param, DisplayProbe& probe) {
  std::vector<std::string> texts;
  bool numeric = true;
  for (int i = 0; i <= kGrid; ++i) {
    std::string d = Trim(probe.DisplayAt(param.index, GridPoint(i)));
    char* end = nullptr;
    std::strtod(d.c_str(), &end);  // "-inf" counts as a number on a scale here
    numeric = numeric && end != d.c_str();
    if (std::find(texts.begin(), texts.end(), d) == texts.end()) texts.push_back(d);
  }
  const std::string unit = param.label.empty() ? "" : " " + param.label;
  if (numeric && texts.size() > 8) {
    return "its display runs from " + Trim(probe.DisplayAt(param.index, 0.0f)) + unit + " to " +
           Trim(probe.DisplayAt(param.index, 1.0f)) + unit;
  }
  std::string hint = "its display shows";
  for (size_t i = 0; i < texts.size() && i < 8; ++i) hint += (i ? ", " : " ") + Quoted(texts[i]);
  if (texts.size() > 8) hint += ", ...";
  return hint;
}

bool ResolveByNumber(const ParamInfo& param, double target, DisplayProbe& probe,
                     float* normalized) {
  float bestN = -1.0f;
  double bestError = std::numeric_limits<double>::infinity();
  std::string bestText;
  int bestDecimals = 0;
  auto consider = [&](float n, double* value) {
    std::string d = Trim(probe.DisplayAt(param.index, n));
    int decimals = 0;
    if (!LeadingNumber(d, value, &decimals)) return false;
    double error = std::fabs(*value - target);
    if (error < bestError) {
      bestError = error;
      bestN = n;
      bestText = d;
      bestDecimals = decimals;
    }
    return true;
  };
  std::vector<double> grid(kGrid + 1, std::numeric_limits<double>::quiet_NaN());
  for (int i = 0; i <= kGrid; ++i) consider(GridPoint(i), &grid[static_cast<size_t>(i)]);
  // Refine every grid interval the display crosses the target in.
  for (int i = 0; i < kGrid; ++i) {
    double a = grid[static_cast<size_t>(i)], b = grid[static_cast<size_t>(i) + 1];
    if (std::isnan(a) || std::isnan(b) || !((a - target) * (b - target) < 0.0)) continue;
    float lo = GridPoint(i), hi = GridPoint(i + 1);
    const bool lowBelow = a < target;
    for (int k = 0; k < kBisections; ++k) {
      float mid = 0.5f * (lo + hi);
      if (mid == lo || mid == hi) break;
      double v;
      if (!consider(mid, &v) || v == target) break;
      ((v < target) == lowBelow ? lo : hi) = mid;
    }
  }
  if (bestN < 0.0f) return false;
  // Accept what the display rounds to the target at its own precision.
  const double tolerance =
      0.5 * std::pow(10.0, -bestDecimals) * (1.0 + 1e-9) + 1e-12 * std::max(1.0, std::fabs(target));
  if (bestError > tolerance) return false;
  *normalized = PlateauChoice(probe, param.index, bestN, bestText);
  return true;
}

bool ResolveByText(const ParamInfo& param, const std::string& value, DisplayProbe& probe,
                   float* normalized) {
  const std::string wanted = Lower(Trim(value));
  for (int i = 0; i <= kGrid; ++i) {
    std::string d = Trim(probe.DisplayAt(param.index, GridPoint(i)));
    std::string shown = Lower(d);
    if (shown == wanted || (!param.label.empty() && (Lower(d + " " + param.label) == wanted ||
                                                     Lower(d + param.label) == wanted))) {
      *normalized = PlateauChoice(probe, param.index, GridPoint(i), d);
      return true;
    }
  }
  return false;
}

}  // namespace

std::vector<std::string> CloseMatches(const std::vector<std::string>& candidates,
                                      const std::string& wanted, size_t limit) {
  const std::string w = Lower(Trim(wanted));
  const size_t threshold = std::max<size_t>(2, w.size() / 3);
  std::vector<std::pair<size_t, size_t>> scored;  // (distance, candidate index)
  for (size_t i = 0; i < candidates.size(); ++i) {
    const std::string c = Lower(candidates[i]);
    size_t distance = EditDistance(w, c);
    bool contains = !w.empty() && (c.find(w) != std::string::npos ||
                                   (c.size() >= 3 && w.find(c) != std::string::npos));
    if (distance <= threshold || contains) scored.push_back({contains ? 0 : distance, i});
  }
  std::stable_sort(scored.begin(), scored.end(),
                   [](const auto& a, const auto& b) { return a.first < b.first; });
  std::vector<std::string> r;
  for (size_t i = 0; i < scored.size() && r.size() < limit; ++i)
    r.push_back(candidates[scored[i].second]);
  return r;
}

int FindParam(const std::vector<ParamInfo>& params, const std::string& name, std::string* error) {
  const std::string wanted = Trim(name);
  for (size_t i = 0; i < params.size(); ++i)
    if (params[i].name == wanted) return static_cast<int>(i);
  int found = -1, count = 0;
  for (size_t i = 0; i < params.size(); ++i) {
    if (Lower(params[i].name) == Lower(wanted)) {
      found = static_cast<int>(i);
      ++count;
    }
  }
  if (count == 1) return found;
  std::vector<std::string> names;
  for (const ParamInfo& p : params) names.push_back(p.name);
  std::vector<std::string> close = CloseMatches(names, wanted);
  *error = "unknown parameter " + Quoted(wanted);
  if (close.empty()) {
    *error += "; --list-params shows all " + std::to_string(params.size());
  } else {
    *error += "; close matches:";
    for (size_t i = 0; i < close.size(); ++i) *error += (i ? ", " : " ") + Quoted(close[i]);
  }
  return -1;
}

bool ResolveValue(const ParamInfo& param, const std::string& value, DisplayProbe& probe,
                  float* normalized, std::string* error) {
  const std::string v = Trim(value);
  const std::string what = "parameter " + Quoted(param.name);
  if (v.empty()) {
    *error = "no value given for " + what;
    return false;
  }
  double number = 0.0;
  if (ParseNumber(v, &number)) {
    if (number >= 0.0 && number <= 1.0) {
      *normalized = static_cast<float>(number);
      return true;
    }
    *error = v + " is outside the normalised range 0..1 of " + what;
    if (!param.label.empty())
      *error += "; to set it by its display give the unit, e.g. " +
                Quoted(param.name + "=" + v + " " + param.label);
    *error += "; " + DisplayHint(param, probe);
    return false;
  }
  // A number followed by the parameter's unit.
  if (!param.label.empty() && v.size() > param.label.size() &&
      Lower(v.substr(v.size() - param.label.size())) == Lower(param.label) &&
      ParseNumber(v.substr(0, v.size() - param.label.size()), &number)) {
    if (ResolveByNumber(param, number, probe, normalized)) return true;
    *error = "no setting of " + what + " shows " + Quoted(v) + "; " + DisplayHint(param, probe);
    return false;
  }
  if (ResolveByText(param, v, probe, normalized)) return true;
  *error = "no setting of " + what + " shows " + Quoted(v) + "; " + DisplayHint(param, probe);
  return false;
}

}  // namespace amprender

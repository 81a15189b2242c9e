// Names of the built-in cabinets.
#include "host/cabinet/builtin.h"

#include "host/cabinet/cabinet.h"

namespace cabinet {

std::vector<std::string> BuiltinNames() {
  std::vector<std::string> names{"none"};
  size_t count = 0;
  const EmbeddedIr* irs = EmbeddedIrs(&count);
  for (size_t i = 0; i < count; ++i) names.emplace_back(irs[i].name);
  return names;
}

bool IsBuiltin(const std::string& name) {
  for (const std::string& n : BuiltinNames())
    if (n == name) return true;
  return false;
}

}  // namespace cabinet

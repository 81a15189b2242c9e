// What a bundle's description says about a plug-in, read from a running
// instance, and the Turtle files written from it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "host/vst_host.h"
#include "platform/vst2/parameter_description.h"

namespace lv2ttl {

struct Parameter {
  std::string name;
  std::string symbol;
  vst2::ParameterDescription description;
};

struct Preset {
  std::string name;
  std::vector<float> values;   // per parameter, in its own units
  std::vector<uint8_t> chunk;  // the program chunk
};

struct BundleInfo {
  std::string uri;
  std::string binary;  // file name inside the bundle
  std::string name;
  std::string vendor;
  bool hasEditor = false;
  std::vector<Parameter> parameters;
  std::vector<Preset> presets;
};

// Symbols for port names: lower case letters, digits and '_', unique.
std::vector<std::string> MakeSymbols(const std::vector<std::string>& names);

bool ReadBundleInfo(host::PluginInstance& plugin, const std::string& uri,
                    const std::string& binary, BundleInfo* info, std::string* error);
bool WriteBundle(const BundleInfo& info, const std::string& dir, std::string* error);

}  // namespace lv2ttl

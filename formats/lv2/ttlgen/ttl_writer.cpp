#include "formats/lv2/ttlgen/ttl_writer.h"

#include <cctype>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <set>
#include <sstream>

#include "formats/lv2/port_layout.h"

namespace lv2ttl {
namespace {

// A decimal literal that reads back as the same float.
std::string Num(double v) {
  char text[64];
  std::snprintf(text, sizeof text, "%.9g", v);
  if (std::strchr(text, 'e')) {
    std::snprintf(text, sizeof text, "%.12f", v);
    size_t n = std::strlen(text);
    while (n > 2 && text[n - 1] == '0' && text[n - 2] != '.') text[--n] = '\0';
  }
  std::string s = text;
  if (s.find('.') == std::string::npos) s += ".0";
  return s;
}

std::string Quote(const std::string& text) {
  std::string out = "\"";
  for (char c : text) {
    if (c == '"' || c == '\\') out += '\\';
    if (static_cast<unsigned char>(c) >= 0x20) out += c;
  }
  return out + "\"";
}

std::string Base64(const std::vector<uint8_t>& bytes) {
  static const char kDigits[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  std::string out;
  for (size_t i = 0; i < bytes.size(); i += 3) {
    const uint32_t b0 = bytes[i];
    const uint32_t b1 = i + 1 < bytes.size() ? bytes[i + 1] : 0;
    const uint32_t b2 = i + 2 < bytes.size() ? bytes[i + 2] : 0;
    const uint32_t w = (b0 << 16) | (b1 << 8) | b2;
    out += kDigits[(w >> 18) & 63];
    out += kDigits[(w >> 12) & 63];
    out += i + 1 < bytes.size() ? kDigits[(w >> 6) & 63] : '=';
    out += i + 2 < bytes.size() ? kDigits[w & 63] : '=';
  }
  return out;
}

const char* kPrefixes =
    "@prefix atom: <http://lv2plug.in/ns/ext/atom#> .\n"
    "@prefix bufsz: <http://lv2plug.in/ns/ext/buf-size#> .\n"
    "@prefix doap: <http://usefulinc.com/ns/doap#> .\n"
    "@prefix foaf: <http://xmlns.com/foaf/0.1/> .\n"
    "@prefix lv2: <http://lv2plug.in/ns/lv2core#> .\n"
    "@prefix opts: <http://lv2plug.in/ns/ext/options#> .\n"
    "@prefix pset: <http://lv2plug.in/ns/ext/presets#> .\n"
    "@prefix rdf: <http://www.w3.org/1999/02/22-rdf-syntax-ns#> .\n"
    "@prefix rdfs: <http://www.w3.org/2000/01/rdf-schema#> .\n"
    "@prefix state: <http://lv2plug.in/ns/ext/state#> .\n"
    "@prefix ui: <http://lv2plug.in/ns/extensions/ui#> .\n"
    "@prefix units: <http://lv2plug.in/ns/extensions/units#> .\n"
    "@prefix urid: <http://lv2plug.in/ns/ext/urid#> .\n"
    "@prefix xsd: <http://www.w3.org/2001/XMLSchema#> .\n\n";

// <binary stem>.ttl, beside <binary stem>.so.
std::string DescriptionFile(const BundleInfo& info) {
  return info.binary.substr(0, info.binary.rfind('.')) + ".ttl";
}

void WritePort(std::ostream& o, uint32_t index, const Parameter& p) {
  const vst2::ParameterDescription& d = p.description;
  o << "\t\ta lv2:InputPort , lv2:ControlPort ;\n"
    << "\t\tlv2:index " << index << " ;\n"
    << "\t\tlv2:symbol " << Quote(p.symbol) << " ;\n"
    << "\t\tlv2:name " << Quote(p.name) << " ;\n"
    << "\t\tlv2:default " << Num(d.defaultValue) << " ;\n"
    << "\t\tlv2:minimum " << Num(d.minimum) << " ;\n"
    << "\t\tlv2:maximum " << Num(d.maximum);
  switch (d.kind) {
    case vst2::kParameterInteger:
      o << " ;\n\t\tlv2:portProperty lv2:integer";
      break;
    case vst2::kParameterToggle:
      o << " ;\n\t\tlv2:portProperty lv2:toggled";
      break;
    case vst2::kParameterEnumeration:
      o << " ;\n\t\tlv2:portProperty lv2:integer , lv2:enumeration";
      for (int s = 0; s < d.stepTextCount; ++s) {
        o << " ;\n\t\tlv2:scalePoint [ rdfs:label " << Quote(d.stepTexts[s]) << " ; rdf:value "
          << Num(d.minimum + s) << " ]";
      }
      break;
    default:
      break;
  }
  if (d.unit[0]) {
    o << " ;\n\t\tunits:unit [ a units:Unit ; rdfs:label " << Quote(d.unit) << " ; units:symbol "
      << Quote(d.unit) << " ; units:render " << Quote(std::string("%f ") + d.unit) << " ]";
  }
  o << "\n";
}

bool WriteFile(const std::string& path, const std::string& text, std::string* error) {
  std::ofstream f(path, std::ios::binary | std::ios::trunc);
  f << text;
  f.close();
  if (!f) *error = "cannot write " + path;
  return static_cast<bool>(f);
}

std::string PresetUri(const BundleInfo& info, size_t i) {
  char tail[32];
  std::snprintf(tail, sizeof tail, "#preset-%02zu", i + 1);
  return info.uri + tail;
}

}  // namespace

std::vector<std::string> MakeSymbols(const std::vector<std::string>& names) {
  std::vector<std::string> out;
  std::set<std::string> taken = {"in_l", "in_r", "out_l", "out_r", "latency"};
  for (const std::string& name : names) {
    std::string s;
    for (char c : name) {
      const unsigned char u = static_cast<unsigned char>(c);
      if (std::isalnum(u)) {
        s += static_cast<char>(std::tolower(u));
      } else if (!s.empty() && s.back() != '_') {
        s += '_';
      }
    }
    while (!s.empty() && s.back() == '_') s.pop_back();
    if (s.empty() || std::isdigit(static_cast<unsigned char>(s[0]))) s = "p_" + s;
    std::string unique = s;
    for (int n = 2; taken.count(unique); ++n) unique = s + "_" + std::to_string(n);
    taken.insert(unique);
    out.push_back(unique);
  }
  return out;
}

bool ReadBundleInfo(host::PluginInstance& plugin, const std::string& uri,
                    const std::string& binary, BundleInfo* info, std::string* error) {
  vst2::AEffect* effect = plugin.effect();
  if (effect->numInputs != 2 || effect->numOutputs != 2) {
    *error = "not a stereo effect";
    return false;
  }
  info->uri = uri;
  info->binary = binary;
  info->name = plugin.EffectName();
  info->vendor = plugin.VendorString();
  info->hasEditor = (effect->flags & vst2::effFlagsHasEditor) != 0;
  std::vector<std::string> names;
  for (int32_t i = 0; i < effect->numParams; ++i) {
    Parameter p;
    p.name = plugin.ParamName(i);
    if (plugin.Dispatch(vst2::effVendorSpecific, vst2::kVendorDescribeParameter, i,
                        &p.description) != vst2::kVendorHandled) {
      *error = "parameter " + std::to_string(i) + " has no description";
      return false;
    }
    names.push_back(p.name);
    info->parameters.push_back(p);
  }
  const std::vector<std::string> symbols = MakeSymbols(names);
  for (size_t i = 0; i < symbols.size(); ++i) info->parameters[i].symbol = symbols[i];

  // Every program the module carries becomes a preset: its values as the
  // ports hold them, and its chunk as the state that restores it exactly.
  // Factory presets that come as programs of the module join here by
  // themselves.
  for (int32_t program = 0; program < effect->numPrograms; ++program) {
    plugin.Dispatch(vst2::effSetProgram, 0, program);
    Preset preset;
    preset.name = plugin.ProgramName();
    if (preset.name.empty()) preset.name = "Program " + std::to_string(program + 1);
    for (int32_t i = 0; i < effect->numParams; ++i) {
      double plain = plugin.GetParameter(i);
      plugin.Dispatch(vst2::effVendorSpecific, vst2::kVendorNormalizedToPlain, i, &plain);
      preset.values.push_back(static_cast<float>(plain));
    }
    preset.chunk = plugin.GetChunk(true);
    info->presets.push_back(preset);
  }
  return true;
}

bool WriteBundle(const BundleInfo& info, const std::string& dir, std::string* error) {
  const std::string ui = info.uri + lv2layer::kUiSuffix;
  std::ostringstream manifest;
  manifest << kPrefixes << "<" << info.uri << ">\n\ta lv2:Plugin ;\n\tlv2:binary <"
           << info.binary << "> ;\n\trdfs:seeAlso <" << DescriptionFile(info) << "> .\n";
  if (info.hasEditor) {
    manifest << "\n<" << ui << ">\n\ta ui:X11UI ;\n\tui:binary <" << info.binary
             << "> ;\n\trdfs:seeAlso <" << DescriptionFile(info) << "> .\n";
  }
  for (size_t i = 0; i < info.presets.size(); ++i) {
    manifest << "\n<" << PresetUri(info, i) << ">\n\ta pset:Preset ;\n\tlv2:appliesTo <"
             << info.uri << "> ;\n\trdfs:label " << Quote(info.presets[i].name)
             << " ;\n\trdfs:seeAlso <presets.ttl> .\n";
  }

  std::ostringstream d;
  d << kPrefixes << "<" << info.uri << ">\n"
    << "\ta lv2:Plugin , lv2:SimulatorPlugin , doap:Project ;\n"
    << "\tdoap:name " << Quote(info.name) << " ;\n"
    << "\tdoap:maintainer [ foaf:name " << Quote(info.vendor) << " ] ;\n"
    << "\tlv2:requiredFeature urid:map ;\n"
    << "\tlv2:optionalFeature lv2:hardRTCapable , opts:options ;\n"
    << "\topts:supportedOption bufsz:maxBlockLength , bufsz:nominalBlockLength ;\n"
    << "\tlv2:extensionData state:interface ;\n";
  if (info.hasEditor) d << "\tui:ui <" << ui << "> ;\n";
  d << "\tlv2:port [\n"
    << "\t\ta lv2:InputPort , lv2:AudioPort ;\n\t\tlv2:index " << lv2layer::kAudioInLeft
    << " ;\n\t\tlv2:symbol \"in_l\" ;\n\t\tlv2:name \"In L\"\n\t] , [\n"
    << "\t\ta lv2:InputPort , lv2:AudioPort ;\n\t\tlv2:index " << lv2layer::kAudioInRight
    << " ;\n\t\tlv2:symbol \"in_r\" ;\n\t\tlv2:name \"In R\"\n\t] , [\n"
    << "\t\ta lv2:OutputPort , lv2:AudioPort ;\n\t\tlv2:index " << lv2layer::kAudioOutLeft
    << " ;\n\t\tlv2:symbol \"out_l\" ;\n\t\tlv2:name \"Out L\"\n\t] , [\n"
    << "\t\ta lv2:OutputPort , lv2:AudioPort ;\n\t\tlv2:index " << lv2layer::kAudioOutRight
    << " ;\n\t\tlv2:symbol \"out_r\" ;\n\t\tlv2:name \"Out R\"\n\t] , [\n"
    << "\t\ta lv2:OutputPort , lv2:ControlPort ;\n\t\tlv2:index " << lv2layer::kLatency
    << " ;\n\t\tlv2:symbol \"latency\" ;\n\t\tlv2:name \"Latency\" ;\n"
    << "\t\tlv2:designation lv2:latency ;\n\t\tlv2:portProperty lv2:reportsLatency , "
       "lv2:integer ;\n\t\tlv2:minimum 0 ;\n\t\tlv2:maximum 192000 ;\n"
    << "\t\tunits:unit units:frame\n\t]";
  for (size_t i = 0; i < info.parameters.size(); ++i) {
    d << " , [\n";
    WritePort(d, lv2layer::ParameterPort(static_cast<int32_t>(i)), info.parameters[i]);
    d << "\t]";
  }
  d << " .\n\n<" << info.uri << lv2layer::kChunkKeySuffix << ">\n\ta rdf:Property ;\n"
    << "\trdfs:label \"program chunk\" ;\n"
    << "\trdfs:comment \"The plug-in's own record of its current program.\" ;\n"
    << "\trdfs:range xsd:base64Binary .\n";
  if (info.hasEditor) {
    d << "\n<" << ui << ">\n\ta ui:X11UI ;\n"
      << "\tlv2:requiredFeature <http://lv2plug.in/ns/ext/instance-access> , ui:idleInterface , ui:parent ;\n"
      << "\tlv2:optionalFeature ui:touch , ui:resize , ui:noUserResize ;\n"
      << "\tlv2:extensionData ui:idleInterface .\n";
  }

  std::ostringstream presets;
  presets << kPrefixes;
  for (size_t i = 0; i < info.presets.size(); ++i) {
    const Preset& p = info.presets[i];
    presets << "<" << PresetUri(info, i) << ">\n\ta pset:Preset ;\n\tlv2:appliesTo <" << info.uri
            << "> ;\n\trdfs:label " << Quote(p.name);
    for (size_t v = 0; v < p.values.size(); ++v) {
      presets << " ;\n\tlv2:port [ lv2:symbol " << Quote(info.parameters[v].symbol)
              << " ; pset:value " << Num(p.values[v]) << " ]";
    }
    if (!p.chunk.empty()) {
      presets << " ;\n\tstate:state [ <" << info.uri << lv2layer::kChunkKeySuffix << "> \""
              << Base64(p.chunk) << "\"^^xsd:base64Binary ]";
    }
    presets << " .\n\n";
  }
  return WriteFile(dir + "/manifest.ttl", manifest.str(), error) &&
         WriteFile(dir + "/" + DescriptionFile(info), d.str(), error) &&
         WriteFile(dir + "/presets.ttl", presets.str(), error);
}

}  // namespace lv2ttl

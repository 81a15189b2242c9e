// A two-parameter plug-in core for exercising the graphics layer alone: it
// records parameter changes and the notices it would send to a host.
#pragma once

#include <string>
#include <vector>

#include "ferro/shell/iplug_base.h"

class TestPlug : public IPlugBase {
 public:
  TestPlug() : IPlugBase(Config()) {
    GetParam(0)->DefineDouble("Level", 0.5, 0.0, 1.0, 0.001, "");
    GetParam(1)->DefineBool("Switch", false, "");
  }
  void OnParamChange(int index) override { log.push_back("change " + std::to_string(index)); }
  void ProcessDoubleReplacing(double**, double**, int) override {}
  void HostEditBegin(int index) override { log.push_back("begin " + std::to_string(index)); }
  void HostAutomate(int index, double) override {
    log.push_back("automate " + std::to_string(index));
  }
  void HostEditEnd(int index) override { log.push_back("end " + std::to_string(index)); }

  std::vector<std::string> log;

 private:
  static IPlugConfig Config() {
    IPlugConfig c;
    c.nParams = 2;
    c.channelIOStr = "1-1";
    return c;
  }
};

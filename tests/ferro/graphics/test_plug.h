// A two-parameter plug-in core for exercising the graphics layer alone: it
// records parameter changes and the notices it would send to a host, marking
// a notice sent while some thread held the instance lock.
#pragma once

#include <string>
#include <thread>
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
  void HostEditBegin(int index) override { Notice("begin ", index); }
  void HostAutomate(int index, double) override { Notice("automate ", index); }
  void HostEditEnd(int index) override { Notice("end ", index); }

  std::vector<std::string> log;

 private:
  void Notice(const char* what, int index) {
    // The lock is re-entrant: only another thread can tell whether it is held.
    bool free = false;
    std::thread probe([&] {
      free = Lock().TryLock();
      if (free) Lock().Unlock();
    });
    probe.join();
    log.push_back(what + std::to_string(index) + (free ? "" : " (locked)"));
  }
  static IPlugConfig Config() {
    IPlugConfig c;
    c.nParams = 2;
    c.channelIOStr = "1-1";
    return c;
  }
};

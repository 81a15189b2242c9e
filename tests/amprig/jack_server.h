// A private JACK server for one test process: jackd with the dummy backend
// (no sound card) under a server name of its own, which the process and its
// children reach through JACK_DEFAULT_SERVER.
#pragma once

#include <sys/types.h>

#include <memory>
#include <string>

namespace amprig_test {

class JackServer {
 public:
  // Null with *error saying why when jackd is missing or does not answer
  // within a few seconds.
  static std::unique_ptr<JackServer> Start(int rate, int period, std::string* error);
  ~JackServer();  // stops the server
  const std::string& name() const { return name_; }
  // Shuts the server down under its clients (SIGTERM, as a user stopping
  // it). Never SIGKILL: a killed jackd leaves its entry in JACK's shared
  // registry, which holds eight servers, and after eight kills on a machine
  // no JACK server starts there until the registry is removed.
  void Stop();

 private:
  JackServer(pid_t pid, std::string name) : pid_(pid), name_(std::move(name)) {}
  pid_t pid_;
  std::string name_;
};

}  // namespace amprig_test

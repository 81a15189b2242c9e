#include "tests/amprig/jack_server.h"

#include <jack/jack.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <thread>

namespace amprig_test {
namespace {
void Quiet(const char*) {}
}  // namespace

std::unique_ptr<JackServer> JackServer::Start(int rate, int period, std::string* error) {
  jack_set_error_function(Quiet);
  jack_set_info_function(Quiet);
  const std::string name = "amprig-test-" + std::to_string(getpid());
  const std::string r = std::to_string(rate), p = std::to_string(period);
  const std::string log = "/tmp/" + name + ".log";  // jackd's reason when it will not start
  const pid_t pid = fork();
  if (pid == 0) {
    // A test process that is killed never reaches the destructor that stops
    // the server: the server goes with it instead of running on.
    prctl(PR_SET_PDEATHSIG, SIGTERM);
    const char* argv[] = {"jackd", "-n", name.c_str(), "-d", "dummy", "-r",
                          r.c_str(), "-p", p.c_str(), nullptr};
    std::freopen("/dev/null", "w", stdout);
    std::freopen(log.c_str(), "w", stderr);
    execvp("jackd", const_cast<char* const*>(argv));
    _exit(127);
  }
  if (pid < 0) {
    *error = "cannot fork for jackd";
    return nullptr;
  }
  setenv("JACK_DEFAULT_SERVER", name.c_str(), 1);
  std::unique_ptr<JackServer> server(new JackServer(pid, name));
  for (int tries = 0; tries < 100; ++tries) {
    int status = 0;
    if (waitpid(pid, &status, WNOHANG) == pid) {
      server->pid_ = -1;
      std::ifstream reason(log);
      std::string first;
      std::getline(reason, first);
      *error = WIFEXITED(status) && WEXITSTATUS(status) == 127
                   ? "jackd is not installed (Debian's jackd2: scripts/install-deps.sh)"
                   : "jackd -d dummy exited at start: " + first;
      std::remove(log.c_str());
      return nullptr;
    }
    jack_status_t st;
    if (jack_client_t* probe = jack_client_open("probe", JackNoStartServer, &st)) {
      jack_client_close(probe);
      std::remove(log.c_str());
      return server;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
  }
  *error = "jackd -d dummy did not answer within 10 s";
  return nullptr;
}

void JackServer::Stop() {
  if (pid_ <= 0) return;
  kill(pid_, SIGTERM);
  bool ended = false;
  for (int i = 0; i < 100 && !ended; ++i) {
    ended = waitpid(pid_, nullptr, WNOHANG) == pid_;
    if (!ended) std::this_thread::sleep_for(std::chrono::milliseconds(100));
  }
  if (!ended) {  // a hung server: the last resort
    kill(pid_, SIGKILL);
    waitpid(pid_, nullptr, 0);
  }
  pid_ = -1;
}

JackServer::~JackServer() { Stop(); }

}  // namespace amprig_test

// Each bundle in jalv, a real LV2 host, on a private JACK server with the
// dummy backend that the fixture starts and stops: the test's own JACK
// client feeds the amp a tone and hears it come back shaped.
#include <errno.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <jack/jack.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <string>
#include <thread>
#include <vector>

namespace {

// The child (a JACK server, jalv) ends with this test process even when the
// process is killed before it can stop it.
pid_t Spawn(const std::vector<std::string>& args, int stdinFd) {
  std::vector<char*> argv;
  for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  const pid_t pid = fork();
  if (pid == 0) {
    prctl(PR_SET_PDEATHSIG, SIGTERM);
    if (stdinFd >= 0) dup2(stdinFd, 0);
    const int null = open("/dev/null", O_WRONLY);
    dup2(null, 1);
    dup2(null, 2);
    execvp(argv[0], argv.data());
    _exit(127);
  }
  return pid < 0 ? 0 : pid;
}

void Stop(pid_t pid) {
  if (pid <= 0) return;
  kill(pid, SIGTERM);
  for (int i = 0; i < 100; ++i) {
    if (waitpid(pid, nullptr, WNOHANG) == pid) return;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  kill(pid, SIGKILL);
  waitpid(pid, nullptr, 0);
}

struct Loop {
  jack_port_t* out[2];
  jack_port_t* in[2];
  double phase = 0.0;
  std::atomic<float> peak{0.0f};
};

int Process(jack_nframes_t frames, void* arg) {
  auto* loop = static_cast<Loop*>(arg);
  auto* l = static_cast<float*>(jack_port_get_buffer(loop->out[0], frames));
  auto* r = static_cast<float*>(jack_port_get_buffer(loop->out[1], frames));
  for (jack_nframes_t i = 0; i < frames; ++i) {
    l[i] = r[i] = static_cast<float>(0.3 * std::sin(loop->phase));
    loop->phase += 2 * M_PI * 110.0 / 48000.0;
  }
  float peak = loop->peak.load(std::memory_order_relaxed);
  for (auto* port : loop->in) {
    const auto* x = static_cast<const float*>(jack_port_get_buffer(port, frames));
    for (jack_nframes_t i = 0; i < frames; ++i) peak = std::max(peak, std::abs(x[i]));
  }
  loop->peak.store(peak, std::memory_order_relaxed);
  return 0;
}

class JalvOnJack : public ::testing::TestWithParam<const char*> {
 protected:
  void SetUp() override {
    server_ = "valve-lv2-" + std::to_string(getpid());
    setenv("JACK_NO_START_SERVER", "1", 1);
    setenv("JACK_NO_AUDIO_RESERVATION", "1", 1);
    setenv("JACK_DEFAULT_SERVER", server_.c_str(), 1);
    setenv("LV2_PATH", LV2_BUNDLE_ROOT ":/usr/lib/lv2", 1);
    jackd_ = Spawn({"jackd", "-n", server_, "-d", "dummy", "-r", "48000", "-p", "256"}, -1);
    ASSERT_GT(jackd_, 0) << "jackd could not be started: run scripts/install-deps.sh";
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (!client_ && std::chrono::steady_clock::now() < deadline) {
      jack_status_t status;
      client_ = jack_client_open("lv2test", JackServerName, &status, server_.c_str());
      if (!client_) std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    ASSERT_NE(client_, nullptr) << "the JACK server " << server_ << " did not come up";
  }
  void TearDown() override {
    Stop(jalv_);
    if (client_) jack_client_close(client_);  // before loop_ goes
    Stop(jackd_);
  }
  std::string server_;
  pid_t jackd_ = 0;
  pid_t jalv_ = 0;
  jack_client_t* client_ = nullptr;
  Loop loop_;
};

TEST_P(JalvOnJack, RunsTheBundleAndProcessesAudio) {
  Loop& loop = loop_;
  const char* names[2] = {"l", "r"};
  for (int c = 0; c < 2; ++c) {
    loop.out[c] = jack_port_register(client_, (std::string("send_") + names[c]).c_str(),
                                     JACK_DEFAULT_AUDIO_TYPE, JackPortIsOutput, 0);
    loop.in[c] = jack_port_register(client_, (std::string("return_") + names[c]).c_str(),
                                    JACK_DEFAULT_AUDIO_TYPE, JackPortIsInput, 0);
  }
  jack_set_process_callback(client_, Process, &loop);
  ASSERT_EQ(jack_activate(client_), 0);

  int keepOpen[2];
  ASSERT_EQ(pipe(keepOpen), 0);  // jalv's prompt ends at end of input
  const std::string uri = std::string("https://valve-amps.example/lv2/") + GetParam();
  // A sanitized bundle needs the sanitizer runtimes loaded first in jalv.
  if (std::string(SANITIZER_RUNTIMES).size()) {
    setenv("LD_PRELOAD", SANITIZER_RUNTIMES, 1);
    setenv("ASAN_OPTIONS", "detect_leaks=0", 1);  // jalv's own
  }
  jalv_ = Spawn({"jalv", "-x", "-n", "amp", uri}, keepOpen[0]);
  unsetenv("LD_PRELOAD");
  close(keepOpen[0]);
  ASSERT_GT(jalv_, 0) << "jalv could not be started: run scripts/install-deps.sh";

  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  bool connected = false;
  while (!connected && std::chrono::steady_clock::now() < deadline) {
    ASSERT_EQ(waitpid(jalv_, nullptr, WNOHANG), 0) << "jalv exited";
    connected = jack_port_by_name(client_, "amp:out_r") != nullptr;
    if (!connected) std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  ASSERT_TRUE(connected) << "jalv registered no ports for " << uri;
  // jalv registers its ports before it activates, and JACK refuses to
  // connect an inactive client's ports: try until it takes them.
  for (int c = 0; c < 2; ++c) {
    const std::string side = names[c];
    auto connect = [&](const std::string& from, const std::string& to) {
      int rc = jack_connect(client_, from.c_str(), to.c_str());
      while (rc != 0 && rc != EEXIST && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        rc = jack_connect(client_, from.c_str(), to.c_str());
      }
      return rc == 0 || rc == EEXIST;
    };
    ASSERT_TRUE(connect(jack_port_name(loop.out[c]), "amp:in_" + side)) << "cannot feed jalv";
    ASSERT_TRUE(connect("amp:out_" + side, jack_port_name(loop.in[c]))) << "cannot hear jalv";
  }
  while (loop.peak.load() < 1e-3f && std::chrono::steady_clock::now() < deadline + std::chrono::seconds(5))
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  EXPECT_GT(loop.peak.load(), 1e-3f) << "no sound came back from jalv";
  EXPECT_EQ(waitpid(jalv_, nullptr, WNOHANG), 0) << "jalv exited while running";
  close(keepOpen[1]);
}

INSTANTIATE_TEST_SUITE_P(Bundles, JalvOnJack, ::testing::Values("Ostra_Ferro_B3", "Vortan_v1_1"),
                         [](const auto& info) { return std::string(info.param); });

}  // namespace

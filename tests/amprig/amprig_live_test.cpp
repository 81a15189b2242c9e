// amprig as a guitarist runs it, on a private JACK server with the dummy
// backend: a player client feeds its input, a recorder takes its outputs.
#include <gtest/gtest.h>
#include <jack/jack.h>
#include <signal.h>
#include <sndfile.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <thread>

#include "tests/amprender/run_tool.h"
#include "tests/amprig/jack_probe.h"
#include "tests/amprig/jack_server.h"

namespace amprig_test {
namespace {

using amprender_test::ScratchDir;
constexpr int kRate = 48000;
constexpr int kPeriod = 256;

// Three plucked strings, 2 s at 48 kHz, peaking near -10 dBFS like a DI.
std::vector<float> PluckedDi() {
  std::vector<float> x(2 * kRate, 0.0f);
  const double notes[] = {82.41, 110.0, 146.83};
  for (int k = 0; k < 3; ++k) {
    const int start = k * kRate * 6 / 10;
    for (int i = start; i < static_cast<int>(x.size()); ++i) {
      const double t = static_cast<double>(i - start) / kRate;
      double s = 0.0;
      for (int h = 1; h <= 8; ++h) s += std::sin(2.0 * M_PI * notes[k] * h * t) / h;
      x[i] += static_cast<float>(0.12 * s * std::exp(-3.0 * t));
    }
  }
  return x;
}

void WriteWav(const std::string& path, const std::vector<float>& x) {
  SF_INFO info{};
  info.samplerate = kRate;
  info.channels = 1;
  info.format = SF_FORMAT_WAV | SF_FORMAT_FLOAT;
  SNDFILE* f = sf_open(path.c_str(), SFM_WRITE, &info);
  ASSERT_NE(f, nullptr);
  sf_writef_float(f, x.data(), static_cast<sf_count_t>(x.size()));
  sf_close(f);
}

std::vector<float> ReadWav(const std::string& path) {
  SF_INFO info{};
  SNDFILE* f = sf_open(path.c_str(), SFM_READ, &info);
  if (!f) return {};
  std::vector<float> x(static_cast<size_t>(info.frames * info.channels));
  sf_readf_float(f, x.data(), info.frames);
  sf_close(f);
  std::vector<float> left(static_cast<size_t>(info.frames));
  for (size_t i = 0; i < left.size(); ++i) left[i] = x[i * info.channels];
  return left;
}

// The difference's energy against the reference's, in dB, from frame `from` on.
double ErrorDb(const std::vector<float>& got, const std::vector<float>& want, size_t from = 0) {
  double err = 0.0, ref = 0.0;
  for (size_t i = from; i < want.size(); ++i) {
    const double d = (i < got.size() ? got[i] : 0.0) - want[i];
    err += d * d;
    ref += static_cast<double>(want[i]) * want[i];
  }
  return 10.0 * std::log10(std::max(err, 1e-30) / ref);
}

// For a failure message: the shift of `got` against `want` that fits best.
int BestLag(const std::vector<float>& got, const std::vector<float>& want) {
  int best = 0;
  double bestErr = 1e300;
  for (int lag = -1024; lag <= 1024; ++lag) {
    double err = 0.0;
    for (size_t i = 2048; i + 2048 < want.size(); i += 7) {
      const double d = got[i + lag] - want[i];
      err += d * d;
    }
    if (err < bestErr) {
      bestErr = err;
      best = lag;
    }
  }
  return best;
}

// amprig as a child process, stopped with SIGTERM.
class RigProcess {
 public:
  RigProcess(std::vector<std::string> args, const std::string& configHome) {
    pid_ = fork();
    if (pid_ == 0) {
      setenv("XDG_CONFIG_HOME", configHome.c_str(), 1);
      unsetenv("DISPLAY");
      std::vector<char*> argv = {const_cast<char*>(AMPRIG_PATH)};
      for (std::string& a : args) argv.push_back(a.data());
      argv.push_back(nullptr);
      execv(AMPRIG_PATH, argv.data());
      _exit(127);
    }
  }
  ~RigProcess() { Stop(); }
  int Stop() {
    if (pid_ > 0) kill(pid_, SIGTERM);
    return Exited(-1.0);
  }
  // Its exit status once it has ended (waiting up to `seconds`, or without a
  // limit when negative); -1 while it still runs.
  int Exited(double seconds) {
    if (pid_ <= 0) return status_;
    int status = 0;
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(
                                                              static_cast<int>(seconds * 1000));
    while (waitpid(pid_, &status, seconds < 0 ? 0 : WNOHANG) == 0) {
      if (std::chrono::steady_clock::now() > until) return -1;
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    pid_ = -1;
    status_ = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    return status_;
  }

 private:
  pid_t pid_ = -1;
  int status_ = -1;
};

template <typename F>
bool WaitFor(F condition, double seconds) {
  for (int i = 0; i < static_cast<int>(seconds * 50); ++i) {
    if (condition()) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return condition();
}

// Plays the DI through a running amprig and returns its left output, aligned
// to the input by JACK's frame times and amprig's reported latency.
std::vector<float> PlayThrough(Player& player, Recorder& recorder, const std::vector<float>& di) {
  // A take with an xrun in it (a loaded machine, a sanitizer build) lost
  // periods somewhere in the graph and proves nothing: play it again.
  for (int take = 0; take < 4; ++take) {
    // Half a second of silence first, as a guitarist starts the rig and then plays.
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    const int xruns = recorder.xruns();
    player.Play(di);
    if (!WaitFor([&] { return player.done(); }, 10.0)) return {};
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    if (recorder.xruns() != xruns) continue;
    jack_client_t* query = jack_client_open("latency-query", JackNoStartServer, nullptr);
    jack_latency_range_t range{0, 0};
    jack_port_get_latency_range(jack_port_by_name(query, "rig:out_L"), JackCaptureLatency,
                                &range);
    jack_client_close(query);
    // One period more: under load an asynchronous JACK server may hand the
    // rig's output to the recorder a period late (seen under AddressSanitizer).
    return recorder.Take(0, player.startFrame() + range.max, di.size() + kPeriod);
  }
  ADD_FAILURE() << "every take had an xrun";
  return {};
}

// `got` from its start or a period later, whichever lines up with `want`.
std::vector<float> LinedUp(const std::vector<float>& got, const std::vector<float>& want,
                           long period = kPeriod) {
  if (got.size() < want.size() + period) return got;
  std::vector<float> now(got.begin(), got.begin() + static_cast<long>(want.size()));
  std::vector<float> late(got.begin() + period, got.begin() + period + static_cast<long>(want.size()));
  return ErrorDb(now, want) <= ErrorDb(late, want) ? now : late;
}

TEST(LiveRig, PlaysAsTheOfflineRenderAndComesBackAfterSigterm) {
  std::string error;
  auto server = JackServer::Start(kRate, kPeriod, &error);
  ASSERT_NE(server, nullptr) << error;
  ScratchDir dir;
  const std::vector<float> di = PluckedDi();
  WriteWav(dir / "di.wav", di);
  // The rig has played silence since it started, so amprender gets a second
  // of it before the DI too (its amplifier then starts the DI from the same
  // resting state), and that second is cut from its render.
  std::vector<float> leadIn(kRate, 0.0f);
  leadIn.insert(leadIn.end(), di.begin(), di.end());
  WriteWav(dir / "di-after-silence.wav", leadIn);
  const std::string preset = std::string(PRESETS_DIR) + "/ferro/04-rhythm.fxp";
  const auto reference = amprender_test::RunTool(
      {{"--plugin", OSTRA_FERRO_B3_PLUGIN_PATH, "--preset", preset, "--cab",
        "4x12-closed", "--in", dir / "di-after-silence.wav", "--out", dir / "ref.wav"},
       dir.path(), "", -1});
  ASSERT_EQ(reference.exitCode, 0) << reference.err;
  std::vector<float> want = ReadWav(dir / "ref.wav");
  ASSERT_EQ(want.size(), leadIn.size());
  want.erase(want.begin(), want.begin() + kRate);

  Player player("player");
  Recorder recorder("recorder", static_cast<size_t>(kRate) * 20);
  ASSERT_TRUE(player.ok() && recorder.ok());
  const std::vector<std::string> ports = {"--no-gui", "--name", "rig", "--plugin",
                                          OSTRA_FERRO_B3_PLUGIN_PATH, "--in-port", player.port(),
                                          "--out-port", recorder.port(0), "--out-port",
                                          recorder.port(1)};
  std::vector<float> first;
  {
    std::vector<std::string> args = ports;
    for (const char* a : {"--preset", preset.c_str(), "--cab", "4x12-closed"}) args.push_back(a);
    RigProcess rig(args, dir / "config");
    ASSERT_TRUE(WaitFor([&] { return player.connected() && recorder.connected(); }, 10.0))
        << "amprig did not connect its ports";
    first = LinedUp(PlayThrough(player, recorder, di), want);
    ASSERT_EQ(first.size(), di.size());
    EXPECT_LT(ErrorDb(first, want), -100.0) << "best lag " << BestLag(first, want);
    if (std::getenv("AMPRIG_TEST_DUMP")) {
      WriteWav(std::string(std::getenv("AMPRIG_TEST_DUMP")) + "/live.wav", first);
      WriteWav(std::string(std::getenv("AMPRIG_TEST_DUMP")) + "/ref.wav", want);
    }
    EXPECT_EQ(rig.Stop(), 0);
  }
  std::ifstream state(dir / "config/amprig/ferro.state");
  ASSERT_TRUE(state.good()) << "SIGTERM left no saved state";

  // Started again without the preset and cabinet: the saved state plays the same.
  RigProcess rig(ports, dir / "config");
  ASSERT_TRUE(WaitFor([&] { return player.connected() && recorder.connected(); }, 10.0));
  const std::vector<float> second = LinedUp(PlayThrough(player, recorder, di), first);
  EXPECT_LT(ErrorDb(second, first), -100.0);
  if (std::getenv("AMPRIG_TEST_DUMP"))
    WriteWav(std::string(std::getenv("AMPRIG_TEST_DUMP")) + "/second.wav", second);
}

// The server's period doubles under a running rig (a guitarist who hears
// dropouts): it follows and plays the same (a rig that kept its old buffers
// would play silence); then the server stops: the rig says so, saves its
// state and ends.
TEST(LiveRig, FollowsAPeriodChangeAndSavesItsStateWhenTheServerGoes) {
  std::string error;
  auto server = JackServer::Start(kRate, kPeriod, &error);
  ASSERT_NE(server, nullptr) << error;
  ScratchDir dir;
  const std::vector<float> di = PluckedDi();
  Player player("player");
  Recorder recorder("recorder", static_cast<size_t>(kRate) * 20);
  ASSERT_TRUE(player.ok() && recorder.ok());
  RigProcess rig({"--no-gui", "--name", "rig", "--plugin", VORTAN_V1_1_PLUGIN_PATH, "--in-port",
                  player.port(), "--out-port", recorder.port(0), "--cab", "2x12-open"},
                 dir / "config");
  ASSERT_TRUE(WaitFor([&] { return player.connected() && recorder.connected(); }, 10.0));
  const std::vector<float> before = PlayThrough(player, recorder, di);
  ASSERT_EQ(before.size(), di.size() + kPeriod);

  jack_client_t* control = jack_client_open("period-change", JackNoStartServer, nullptr);
  ASSERT_NE(control, nullptr);
  ASSERT_EQ(jack_set_buffer_size(control, kPeriod * 2), 0);
  EXPECT_EQ(jack_get_buffer_size(control), static_cast<jack_nframes_t>(kPeriod * 2));
  jack_client_close(control);
  const std::vector<float> after = PlayThrough(player, recorder, di);
  ASSERT_GE(after.size(), di.size());
  const std::vector<float> first(before.begin(), before.begin() + static_cast<long>(di.size()));
  EXPECT_LT(ErrorDb(LinedUp(after, first, kPeriod * 2), first), -100.0);

  server->Stop();
  const int status = rig.Exited(10.0);
  EXPECT_EQ(status, 1) << "amprig did not end when its server died";
  std::ifstream state(dir / "config/amprig/vortan.state");
  EXPECT_TRUE(state.good()) << "no state saved when the server died";
}

// --connect: the first physical capture port to the input, the first two
// playback ports to the outputs (the dummy backend has both kinds).
TEST(LiveRig, ConnectTakesTheFirstPhysicalPorts) {
  std::string error;
  auto server = JackServer::Start(kRate, kPeriod, &error);
  ASSERT_NE(server, nullptr) << error;
  ScratchDir dir;
  RigProcess rig({"--no-gui", "--name", "rig", "--plugin", VORTAN_V1_1_PLUGIN_PATH, "--connect"},
                 dir / "config");
  jack_client_t* query = jack_client_open("connections", JackNoStartServer, nullptr);
  ASSERT_NE(query, nullptr);
  auto connected = [&](const char* ours, const char* theirs) {
    jack_port_t* port = jack_port_by_name(query, ours);
    return port && jack_port_connected_to(port, theirs) != 0;
  };
  EXPECT_TRUE(WaitFor([&] { return connected("rig:in", "system:capture_1"); }, 10.0));
  EXPECT_TRUE(connected("rig:out_L", "system:playback_1"));
  EXPECT_TRUE(connected("rig:out_R", "system:playback_2"));
  jack_client_close(query);
  EXPECT_EQ(rig.Stop(), 0);
}

TEST(LiveRig, ExplainsWhatToDoWhenNoServerRuns) {
  ScratchDir dir;
  setenv("JACK_DEFAULT_SERVER", "amprig-test-no-such-server", 1);
  const std::string command =
      std::string(AMPRIG_PATH) + " --no-gui 2>" + (dir / "err.txt") + " </dev/null";
  const int status = std::system(command.c_str());
  EXPECT_EQ(WIFEXITED(status) ? WEXITSTATUS(status) : -1, 1);
  std::ifstream err(dir / "err.txt");
  const std::string text((std::istreambuf_iterator<char>(err)), std::istreambuf_iterator<char>());
  EXPECT_NE(text.find("no JACK server is running"), std::string::npos) << text;
}

}  // namespace
}  // namespace amprig_test

#include "host/amprig/rig_app.h"

#include <unistd.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <memory>
#include <thread>

#include "host/amprender/plugin_locator.h"
#include "host/amprig/jack_rig.h"
#include "host/amprig/options.h"
#include "host/amprig/rig_chain.h"
#include "host/amprig/rig_state.h"
#include "host/amprig/rig_window.h"
#include "host/amprig/status_line.h"
#include "host/amprig/tuner.h"
#include "host/cabinet/cabinet.h"
#include "host/presets/preset_host.h"
#include "host/vst_host.h"

namespace amprig {
namespace {

volatile std::sig_atomic_t gStopSignal = 0;
void OnStopSignal(int signal) { gStopSignal = signal; }

double Now() {
  using namespace std::chrono;
  return duration<double>(steady_clock::now().time_since_epoch()).count();
}

// How often the control loop looks at the meters, and at the plug-in for a change.
constexpr auto kTick = std::chrono::milliseconds(20);
constexpr double kStatusSeconds = 0.1;
constexpr double kPollSeconds = 0.25;
// A change is saved once it has rested this long.
constexpr double kRestSeconds = 1.0;

std::string AmpName(const std::string& choice, const std::string& path) {
  if (choice == "ferro" || choice == "vortan") return choice;
  std::string stem = path.substr(path.rfind('/') + 1);
  const size_t dot = stem.rfind('.');
  if (dot != std::string::npos && dot != 0) stem.resize(dot);
  // Our own modules named by their file are the same amplifiers: the same
  // state file and default cabinet as by their short names.
  if (stem == "Ostra_Ferro_B3") return "ferro";
  if (stem == "Vortan_v1_1") return "vortan";
  return stem;
}

// The cabinet each amplifier is most often heard through.
std::string DefaultCab(const std::string& amp) {
  const std::string name = amp == "ferro" ? "4x12-closed" : amp == "vortan" ? "2x12-open" : "none";
  return cabinet::IsBuiltin(name) ? name : "none";
}

int Fail(const std::string& message, int code = kExitFailure) {
  std::fprintf(stderr, "amprig: %s\n", message.c_str());
  return code;
}

bool Restore(host::PluginInstance& amp_, const RigState& s, std::string* error) {
  if (!s.bank.empty() && amp_.SetChunk(s.bank, false) == 0) {
    *error = "the plug-in refused the saved bank";
    return false;
  }
  amp_.Dispatch(vst2::effSetProgram, 0, s.program);
  if (!s.chunk.empty() && amp_.SetChunk(s.chunk, true) == 0) {
    *error = "the plug-in refused the saved program";
    return false;
  }
  return true;
}

// The plug-in, its chain and the JACK client, as the control loop sees them.
class Rig {
 public:
  Rig(host::PluginInstance& amp, RigChain& chain, std::string cab)
      : amp_(amp), chain_(chain), cab_(std::move(cab)) {}

  RigState Capture() {
    RigState s;
    s.cab = cab_;
    s.gainDb = chain_.inputGainDb();
    s.outLevelDb = chain_.outputLevelDb();
    s.program = static_cast<int>(amp_.Dispatch(vst2::effGetProgram));
    s.bank = amp_.GetChunk(false);
    s.chunk = amp_.GetChunk(true);
    return s;
  }

  // Any thread but the audio one, with the process callback held.
  bool Reconfigure(int rate, int period, std::string* error) {
    amp_.MainsChanged(false);
    amp_.SetSampleRate(static_cast<float>(rate));
    amp_.SetBlockSize(period);
    amp_.MainsChanged(true);
    std::unique_ptr<cabinet::Cabinet> cab = cabinet::Cabinet::Load(cab_, error);
    return cab && chain_.Prepare(rate, period, std::move(cab), error);
  }

  // Control thread: a cabinet by name or file, prepared, then swapped in.
  bool ChangeCabinet(const std::string& name, int rate, int period, std::string* error) {
    std::unique_ptr<cabinet::Cabinet> cab = cabinet::Cabinet::Load(name, error);
    if (!cab) return false;
    if (!cab->Prepare(LiveCabinetConfig(rate, period, chain_.cabinetWorkerPriority()), error)) return false;
    chain_.SwapCabinet(std::move(cab));
    cab_ = name;
    return true;
  }
  const std::string& cab() const { return cab_; }

 private:
  host::PluginInstance& amp_;
  RigChain& chain_;
  std::string cab_;
};

}  // namespace

int Run(const std::vector<std::string>& args) {
  const ParseResult parsed = ParseOptions(args);
  if (!parsed.ok) {
    std::fprintf(stderr, "amprig: %s\n%s", parsed.error.c_str(), UsageText());
    return kExitUsage;
  }
  const Options& o = parsed.options;
  if (o.showHelp) {
    std::fputs(UsageText(), stdout);
    return 0;
  }

  const amprender::LocatedPlugin located =
      amprender::LocatePlugin(o.plugin, amprender::ExecutableDir());
  if (!located.ok) return Fail(located.error);
  const std::string amp = AmpName(o.plugin, located.path);
  if (!o.cab.empty() && o.cab != "none" && !cabinet::IsBuiltin(o.cab) &&
      access(o.cab.c_str(), R_OK) != 0)
    return Fail("no built-in cabinet and no readable IR file named '" + o.cab +
                "' (amprender --list-cabs lists the built-in ones)");

  std::string error;
  std::unique_ptr<JackRig> jack = JackRig::Open(o.name, &error);
  if (!jack) return Fail(error);
  const int rate = jack->sampleRate();
  const int period = jack->periodFrames();

  std::unique_ptr<host::PluginModule> module = host::PluginModule::Load(located.path, &error);
  if (!module) return Fail(error);
  host::HostConfig config;
  config.productString = "amprig";
  config.sampleRate = rate;
  config.blockSize = period;
  config.recordCalls = false;
  host::PluginInstance plugin(*module, config);
  if (!plugin.ok()) return Fail("the plug-in " + located.path + " did not create an instance");
  plugin.Open();
  plugin.SetSampleRate(static_cast<float>(rate));
  plugin.SetBlockSize(period);

  // Where the sound starts: a preset, else the saved state, else the defaults.
  const std::string statePath = StatePath(amp);
  bool mayOverwriteState = true;
  RigState saved;
  saved.cab = DefaultCab(amp);
  bool haveSaved = false;
  RigChain chain(plugin.effect());
  chain.SetCabinetWorkerPriority(std::max(0, jack->realtimePriority() - 1));
  if (!o.preset.empty()) {
    presets::FxFile file;
    if (!presets::LoadFxFile(o.preset, &file, &error) ||
        !presets::ApplyPreset(plugin, file, o.program, &error))
      return Fail(error);
  } else {
    switch (LoadState(statePath, &saved, &error)) {
      case LoadResult::kLoaded:
        haveSaved = true;
        break;
      case LoadResult::kMissing:
        break;
      case LoadResult::kCorruptKept:
        mayOverwriteState = false;
        [[fallthrough]];
      case LoadResult::kCorrupt:
        std::fprintf(stderr, "amprig: %s; starting from the defaults\n", error.c_str());
        saved = RigState();
        saved.cab = DefaultCab(amp);
        break;
    }
    if (haveSaved && !Restore(plugin, saved, &error)) {
      std::fprintf(stderr, "amprig: %s (%s); starting from the defaults\n", error.c_str(),
                   statePath.c_str());
    }
    if (o.program >= 0) plugin.Dispatch(vst2::effSetProgram, 0, o.program);
  }
  const std::string cabName = !o.cab.empty() ? o.cab : haveSaved ? saved.cab : DefaultCab(amp);
  chain.SetInputGainDb(o.gainGiven ? o.gainDb : haveSaved ? saved.gainDb : 0.0);
  chain.SetOutputLevelDb(o.outLevelGiven ? o.outLevelDb : haveSaved ? saved.outLevelDb : 0.0);
  Rig rig(plugin, chain, cabName);

  std::unique_ptr<cabinet::Cabinet> cab = cabinet::Cabinet::Load(cabName, &error);
  if (!cab) return Fail(error);
  if (!chain.Prepare(rate, period, std::move(cab), &error)) return Fail(error);
  plugin.MainsChanged(true);

  std::atomic<bool> reconfigureFailed{false};
  auto reconfigure = [&](int newRate, int newPeriod) {
    std::string why;
    if (!rig.Reconfigure(newRate, newPeriod, &why)) reconfigureFailed = true;
  };
  if (!jack->Start(&chain, reconfigure, &error)) return Fail(error);
  if ((o.connect || !o.inPort.empty() || !o.outPorts.empty()) &&
      !jack->Connect(o.inPort, o.outPorts, &error)) {
    jack->Stop();
    return Fail(error);
  }
  std::printf("amprig: %s through cabinet %s, %d Hz, %d frames a period, latency %d frames; "
              "JACK ports %s:in, %s:out_L, %s:out_R\n",
              plugin.EffectName().c_str(), rig.cab().c_str(), rate, period, chain.latency(),
              jack->clientName().c_str(), jack->clientName().c_str(),
              jack->clientName().c_str());
  std::fflush(stdout);

  std::signal(SIGINT, OnStopSignal);
  std::signal(SIGTERM, OnStopSignal);

  std::unique_ptr<RigWindow> window;
  if (!o.noGui) window = RigWindow::Open(plugin.effect(), &error);
  if (!o.noGui && !window && !error.empty())
    std::fprintf(stderr, "amprig: no window (%s); playing on with the status line\n",
                 error.c_str());

  LevelMeter inMeter, outMeter;
  std::unique_ptr<Tuner> tuner = std::make_unique<Tuner>(rate);
  std::vector<float> tunerBlock(4096);
  const bool tty = isatty(STDERR_FILENO) == 1;
  RigState seen = rig.Capture(), written = haveSaved ? saved : RigState();
  bool dirty = false;
  double changedAt = 0.0, lastStatus = 0.0, lastPoll = 0.0;
  int shownRate = rate, shownPeriod = period;
  std::string saveError;
  auto save = [&](const RigState& s) {
    if (!mayOverwriteState) return;
    if (SaveState(statePath, s, &saveError)) {
      written = s;
    } else {
      std::fprintf(stderr, "\namprig: %s\n", saveError.c_str());
    }
  };
  auto same = [](const RigState& a, const RigState& b) {
    return a.cab == b.cab && a.gainDb == b.gainDb && a.outLevelDb == b.outLevelDb &&
           a.program == b.program && a.bank == b.bank && a.chunk == b.chunk;
  };

  while (gStopSignal == 0 && !jack->serverGone() && !(window && window->closed())) {
    std::this_thread::sleep_for(kTick);
    const double now = Now();
    chain.Collect();
    PeriodLevel level;
    while (chain.inputLevels().Pop(&level)) inMeter.Add(level, now);
    while (chain.outputLevels().Pop(&level)) outMeter.Add(level, now);
    if (jack->sampleRate() != shownRate) {
      std::fprintf(stderr, "\namprig: the JACK sample rate changed from %d to %d Hz; the amplifier "
                   "and cabinet follow it\n", shownRate, jack->sampleRate());
      shownRate = jack->sampleRate();
      tuner = std::make_unique<Tuner>(shownRate);
    }
    if (jack->periodFrames() != shownPeriod) {
      std::fprintf(stderr, "\namprig: the JACK period changed from %d to %d frames; the amplifier "
                   "and cabinet follow it\n", shownPeriod, jack->periodFrames());
      shownPeriod = jack->periodFrames();
    }
    if (reconfigureFailed.exchange(false))
      std::fprintf(stderr, "\namprig: the cabinet cannot run at the new rate or period; restart amprig\n");
    for (;;) {
      size_t n = 0;
      while (n < tunerBlock.size() && chain.tunerSamples().Pop(&tunerBlock[n])) ++n;
      if (n == 0) break;
      tuner->Feed(tunerBlock.data(), static_cast<int>(n));
    }
    if (window) {
      RigWindow::Request request;
      while (window->TakeRequest(&request)) {
        if (request.kind == RigWindow::Request::kCabinet &&
            !rig.ChangeCabinet(request.cab, jack->sampleRate(), jack->periodFrames(), &error))
          std::fprintf(stderr, "\namprig: %s\n", error.c_str());
        if (request.kind == RigWindow::Request::kInputGain) chain.SetInputGainDb(request.db);
        if (request.kind == RigWindow::Request::kOutputLevel) chain.SetOutputLevelDb(request.db);
        jack->LatencyChanged();
      }
    }
    if (now - lastStatus >= kStatusSeconds) {
      lastStatus = now;
      RigStatus status;
      status.in = inMeter.Read(now);
      status.out = outMeter.Read(now);
      status.tuner = tuner->reading();
      status.xruns = jack->xruns();
      status.dspLoadPercent = jack->dspLoad();
      const std::string line = FormatStatus(status);
      if (tty) std::fprintf(stderr, "\r%s\033[K", line.c_str());
      if (window)
        window->Show(status, rig.cab(), chain.inputGainDb(), chain.outputLevelDb());
    }
    if (now - lastPoll >= kPollSeconds) {
      lastPoll = now;
      RigState current = rig.Capture();
      if (!same(current, seen)) {
        seen = std::move(current);
        dirty = true;
        changedAt = now;
      } else if (dirty && now - changedAt >= kRestSeconds) {
        dirty = false;
        if (!same(seen, written)) save(seen);
      }
    }
  }
  if (tty) std::fputc('\n', stderr);
  window.reset();
  const bool serverGone = jack->serverGone();
  jack->Stop();
  const RigState last = rig.Capture();
  save(last);
  if (serverGone) {
    return Fail("the JACK server went away (" + jack->shutdownReason() + "); the state is saved in " +
                statePath + ". Start the server again, then amprig");
  }
  if (gStopSignal != 0 && mayOverwriteState)
    std::fprintf(stderr, "amprig: stopped; the state is saved in %s\n", statePath.c_str());
  plugin.MainsChanged(false);
  return 0;
}

}  // namespace amprig

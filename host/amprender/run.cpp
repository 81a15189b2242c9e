#include "host/amprender/run.h"

#include <csignal>
#include <cstdio>
#include <filesystem>
#include <memory>

#include "host/amprender/audio_io.h"
#include "host/amprender/batch.h"
#include "host/amprender/di_riff.h"
#include "host/amprender/options.h"
#include "host/amprender/prepare.h"
#include "host/amprender/progress.h"
#include "host/amprender/render_file.h"
#include "host/cabinet/cabinet.h"

namespace amprender {
namespace {

constexpr int kRiffRate = 44100;

volatile std::sig_atomic_t gStop = 0;
extern "C" void OnStopSignal(int) { gStop = 1; }

int Fail(const Failure& f) {
  std::fprintf(stderr, "amprender: error: %s\n", f.message.c_str());
  return f.exitCode;
}

int Fail(int code, const std::string& message) { return Fail(Failure{code, message}); }

void WarnAboutLevels(const Options& o, const RenderStats& stats) {
  if (LooksLikeLineLevel(stats))
    std::fprintf(stderr,
                 "amprender: warning: the input peaks at %s with an RMS of %s: it looks like a "
                 "line-level mix rather than a guitar DI, and will drive the amplifier much "
                 "harder than a guitar would\n",
                 FormatDbfs(stats.inPeak).c_str(),
                 FormatDbfs(Rms(stats.inSumSquares, stats.inSamples)).c_str());
  if (stats.peak > 1.0)
    std::fprintf(stderr, "amprender: note: the output peaks at %s, above full scale; %s\n",
                 FormatDbfs(stats.peak).c_str(),
                 o.format == SampleFormat::kFloat32
                     ? "the float file keeps it, turn it down (--gain, --normalize) before "
                       "playing it"
                     : "the 24-bit file is clipped there");
}

struct SignalGuard {
  SignalGuard() {
    std::signal(SIGINT, OnStopSignal);
    std::signal(SIGTERM, OnStopSignal);
  }
  ~SignalGuard() {
    std::signal(SIGINT, SIG_DFL);
    std::signal(SIGTERM, SIG_DFL);
  }
};

}  // namespace

int Run(const std::vector<std::string>& args) {
  ParseResult parsed = ParseOptions(args);
  if (!parsed.ok) {
    std::fprintf(stderr, "amprender: error: %s\n%s", parsed.error.c_str(), UsageText());
    return kExitUsage;
  }
  Options o = parsed.options;
  if (o.showHelp) {
    std::fputs(UsageText(), stdout);
    return 0;
  }
  if (o.listCabs) {
    for (const std::string& name : cabinet::BuiltinNames()) std::printf("%s\n", name.c_str());
    return 0;
  }

  // Everything that can be checked without the plug-in comes first.
  std::string error;
  std::vector<std::string> files;
  if (!ExpandInputs(o.inputs, &files, &error)) return Fail(kExitFailure, error);
  const bool batch = !o.listParams && (files.size() > 1 || (!o.outDir.empty() && !files.empty()) ||
                                       files.size() != o.inputs.size());
  std::vector<std::string> outputs;
  if (batch) {
    if (o.outDir.empty()) return Fail(kExitUsage, "a batch of inputs needs --out-dir DIR");
    if (!BatchOutputs(files, o.outDir, &outputs, &error)) return Fail(kExitUsage, error);
  } else if (!o.outDir.empty()) {
    std::error_code ec;
    std::filesystem::create_directories(o.outDir, ec);
    o.outPath =
        (std::filesystem::path(o.outDir) /
         (files.empty() ? std::string("di-riff") : std::filesystem::path(files[0]).stem().string()))
            .string() +
        ".wav";
  }

  std::unique_ptr<AudioSource> source;
  if (!o.listParams && !batch) {
    if (files.empty()) {
      const int rate = o.rateGiven ? o.rate : kRiffRate;
      source = std::make_unique<MemorySource>(SynthesizeDiRiff(rate), 1, rate);
    } else {
      source = OpenSoundFile(files[0], &error);
      if (!source) return Fail(kExitFailure, error);
      if (o.rateGiven && o.rate != source->sampleRate())
        return Fail(kExitUsage, "--rate " + std::to_string(o.rate) + " does not match the " +
                                    std::to_string(source->sampleRate()) + " Hz of " + files[0] +
                                    "; amprender renders at the input's rate and does not "
                                    "resample (--rate sets the built-in riff's rate)");
    }
  }
  // The cabinet is checked before any plug-in starts; each render loads its own.
  if (!o.cab.empty() && o.cab != "none") {
    std::unique_ptr<cabinet::Cabinet> cab = cabinet::Cabinet::Load(o.cab, &error);
    if (!cab) return Fail(kExitFailure, error);
  }

  Prepared prepared;
  Failure failure;
  if (!PrepareInputs(o, &prepared, &failure)) return Fail(failure);

  // The session that lists, saves and (for one input) renders; a batch opens
  // one per file, this one checks the settings before any file starts.
  const int rate = source ? source->sampleRate() : (o.rateGiven ? o.rate : kRiffRate);
  std::unique_ptr<PluginSession> session = OpenPrepared(o, prepared, rate, &failure);
  if (!session) return Fail(failure);

  if (o.listParams || batch) {
    if (o.listParams) std::fputs(session->ParamListing().c_str(), stdout);
    if (!SaveState(o, *session, &failure)) return Fail(failure);
    if (!batch) return 0;
    session.reset();
    SignalGuard signals;
    return RunBatch(o, prepared, files, outputs, &gStop);
  }

  RenderStats stats;
  {
    SignalGuard signals;
    ProgressBar progress(stderr, source->frames());
    FileRender r;
    r.source = source.get();
    r.outPath = o.outPath;
    r.progress = &progress;
    r.stop = &gStop;
    r.beforeCommit = [&](std::string* message) {
      Failure saved;
      if (SaveState(o, *session, &saved)) return true;
      *message = saved.message;
      return false;
    };
    const bool ok = RenderFile(o, *session, r, &stats, &failure);
    progress.Clear();
    if (!ok) return Fail(failure);
  }
  std::printf("%s -> %s\n", FormatSummary(stats).c_str(), o.outPath.c_str());
  WarnAboutLevels(o, stats);
  return 0;
}

}  // namespace amprender

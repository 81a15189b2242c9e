#include "host/amprender/run.h"

#include <csignal>
#include <cstdio>
#include <memory>

#include "host/amprender/atomic_file.h"
#include "host/amprender/audio_io.h"
#include "host/amprender/di_riff.h"
#include "host/amprender/options.h"
#include "host/amprender/plugin_locator.h"
#include "host/amprender/plugin_session.h"
#include "host/amprender/progress.h"
#include "host/amprender/render.h"
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

}  // namespace

int Run(const std::vector<std::string>& args) {
  ParseResult parsed = ParseOptions(args);
  if (!parsed.ok) {
    std::fprintf(stderr, "amprender: error: %s\n%s", parsed.error.c_str(), UsageText());
    return kExitUsage;
  }
  const Options& o = parsed.options;
  if (o.showHelp) {
    std::fputs(UsageText(), stdout);
    return 0;
  }
  if (o.listCabs) {
    for (const std::string& name : cabinet::BuiltinNames()) std::printf("%s\n", name.c_str());
    return 0;
  }

  // Everything that can be checked without the plug-in comes first.
  std::unique_ptr<AudioSource> source;
  std::string error;
  if (!o.listParams) {
    if (o.inPath.empty()) {
      const int rate = o.rateGiven ? o.rate : kRiffRate;
      source = std::make_unique<MemorySource>(SynthesizeDiRiff(rate), 1, rate);
    } else {
      source = OpenSoundFile(o.inPath, &error);
      if (!source) return Fail(kExitFailure, error);
      if (o.rateGiven && o.rate != source->sampleRate())
        return Fail(kExitUsage, "--rate " + std::to_string(o.rate) + " does not match the " +
                                    std::to_string(source->sampleRate()) + " Hz of " + o.inPath +
                                    "; amprender renders at the input's rate and does not "
                                    "resample (--rate sets the built-in riff's rate)");
    }
  }
  std::unique_ptr<cabinet::Cabinet> cab;
  if (source && !o.cab.empty() && o.cab != "none") {
    cab = cabinet::Cabinet::Load(o.cab, &error);
    cabinet::CabinetConfig config;
    config.sampleRate = source->sampleRate();
    config.maxBlock = o.blockSize;
    config.inputs = config.outputs = source->channels();
    if (!cab || !cab->Prepare(config, &error)) return Fail(kExitFailure, error);
  }
  std::vector<uint8_t> chunkIn;
  if (!o.loadChunk.empty() && !ReadWholeFile(o.loadChunk, &chunkIn, &error))
    return Fail(kExitFailure, error);

  LocatedPlugin located = LocatePlugin(o.plugin, ExecutableDir());
  if (!located.ok) return Fail(kExitFailure, located.error);

  Failure failure;
  const int rate = source ? source->sampleRate() : (o.rateGiven ? o.rate : kRiffRate);
  std::unique_ptr<PluginSession> session =
      PluginSession::Open(located.path, rate, o.blockSize, &failure);
  if (!session) return Fail(failure);
  if (o.program >= 0 && !session->SelectProgram(o.program, &failure)) return Fail(failure);
  if (!o.loadChunk.empty() && !session->LoadProgramChunk(chunkIn, o.loadChunk, &failure))
    return Fail(failure);
  if (!session->Apply(o.settings, &failure)) return Fail(failure);

  std::vector<uint8_t> chunkOut;
  if (!o.saveChunk.empty()) {
    chunkOut = session->ProgramChunk(&failure);
    if (chunkOut.empty()) return Fail(failure);
  }

  if (o.listParams) {
    std::fputs(session->ParamListing().c_str(), stdout);
    if (!o.saveChunk.empty() && !WriteFileAtomically(o.saveChunk, chunkOut, &error))
      return Fail(kExitFailure, error);
    return 0;
  }

  WavSink sink(o.outPath);
  if (!sink.Open(source->channels(), source->sampleRate(), o.format, &error))
    return Fail(kExitFailure, error);

  std::signal(SIGINT, OnStopSignal);
  std::signal(SIGTERM, OnStopSignal);
  ProgressBar progress(stderr, source->frames());
  RenderJob job;
  job.effect = session->effect();
  job.source = source.get();
  job.sink = &sink;
  job.blockSize = o.blockSize;
  job.cabinet = cab.get();
  job.progress = &progress;
  job.stop = &gStop;
  RenderStats stats;
  session->instance().MainsChanged(true);
  const bool rendered = Render(job, &stats, &error);
  session->instance().MainsChanged(false);
  progress.Clear();
  if (!rendered) {
    sink.Abandon();
    return Fail(gStop ? kExitInterrupted : kExitFailure, error);
  }
  if (!sink.Finish(&error)) return Fail(kExitFailure, error);
  if (!o.saveChunk.empty() && !WriteFileAtomically(o.saveChunk, chunkOut, &error)) {
    sink.Abandon();
    return Fail(kExitFailure, error);
  }
  if (!sink.Commit(&error)) {
    if (!o.saveChunk.empty()) std::remove(o.saveChunk.c_str());
    return Fail(kExitFailure, error);
  }
  std::signal(SIGINT, SIG_DFL);
  std::signal(SIGTERM, SIG_DFL);
  std::printf("%s -> %s\n", FormatSummary(stats).c_str(), o.outPath.c_str());
  if (stats.peak > 1.0)
    std::fprintf(stderr, "amprender: note: the output peaks at %s, above full scale; %s\n",
                 FormatDbfs(stats.peak).c_str(),
                 o.format == SampleFormat::kFloat32
                     ? "the float file keeps it, turn it down before playing it"
                     : "the 24-bit file is clipped there");
  return 0;
}

}  // namespace amprender

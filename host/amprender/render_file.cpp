#include "host/amprender/render_file.h"

#include <algorithm>
#include <cmath>

#include "host/amprender/render.h"
#include "host/cabinet/cabinet.h"

namespace amprender {
namespace {

bool Fail(Failure* failure, int code, std::string message) {
  failure->exitCode = code;
  failure->message = std::move(message);
  return false;
}

}  // namespace

bool RenderFile(const Options& o, PluginSession& session, const FileRender& r, RenderStats* stats,
                Failure* failure) {
  std::string error;
  AudioSource& source = *r.source;
  WavSink sink(r.outPath);
  if (!sink.Open(source.channels(), source.sampleRate(), o.format, &error))
    return Fail(failure, kExitFailure, error);

  // Normalising needs the whole render's peak before the first sample is
  // written: the first pass keeps the render in memory, the second scales it
  // into the file.
  // Each render has its own cabinet, prepared for this file's rate and channels.
  std::unique_ptr<cabinet::Cabinet> cab;
  if (!o.cab.empty() && o.cab != "none") {
    cab = cabinet::Cabinet::Load(o.cab, &error);
    cabinet::CabinetConfig config;
    config.sampleRate = source.sampleRate();
    config.maxBlock = o.blockSize;
    config.inputs = config.outputs = source.channels();
    if (!cab || !cab->Prepare(config, &error)) {
      sink.Abandon();
      return Fail(failure, kExitFailure, error);
    }
  }
  MemorySink memory(source.channels());
  RenderJob job;
  job.effect = session.effect();
  job.source = &source;
  job.sink = o.normalize ? static_cast<FrameSink*>(&memory) : &sink;
  job.blockSize = o.blockSize;
  job.cabinet = cab.get();
  job.gain = o.normalize ? 1.0f : static_cast<float>(std::pow(10.0, o.gainDb / 20.0));
  job.progress = r.progress;
  job.stop = r.stop;
  session.instance().MainsChanged(true);
  const bool rendered = Render(job, stats, &error);
  session.instance().MainsChanged(false);
  if (!rendered) {
    sink.Abandon();
    return Fail(failure, r.stop && *r.stop ? kExitInterrupted : kExitFailure, error);
  }
  if (o.normalize) {
    // Silence stays silence rather than being scaled by an infinite gain.
    const double target = std::pow(10.0, o.normalizeDbfs / 20.0);
    const float gain = stats->peak > 0.0 ? static_cast<float>(target / stats->peak) : 1.0f;
    std::vector<float>& scaled = memory.samples();
    double peak = 0.0, sumSquares = 0.0;
    for (float& v : scaled) {
      v *= gain;
      peak = std::max(peak, static_cast<double>(std::fabs(v)));
      sumSquares += static_cast<double>(v) * v;
    }
    stats->peak = peak;
    stats->sumSquares = sumSquares;
    if (!sink.Write(scaled.data(), static_cast<int64_t>(scaled.size()) / source.channels(),
                    &error)) {
      sink.Abandon();
      return Fail(failure, kExitFailure, error);
    }
  }
  if (!sink.Finish(&error)) return Fail(failure, kExitFailure, error);
  if (r.beforeCommit && !r.beforeCommit(&error)) {
    sink.Abandon();
    return Fail(failure, kExitFailure, error);
  }
  if (!sink.Commit(&error)) return Fail(failure, kExitFailure, error);
  return true;
}

}  // namespace amprender

#include "host/amprender/render.h"

#include <time.h>

#include <algorithm>
#include <cmath>
#include <vector>

namespace amprender {
namespace {

double CpuNow() {
  timespec ts;
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
  return static_cast<double>(ts.tv_sec) + 1e-9 * static_cast<double>(ts.tv_nsec);
}

// Latency beyond this is not believed (10 s of audio).
int64_t Latency(const vst2::AEffect* e, int sampleRate) {
  return std::clamp<int64_t>(e->initialDelay, 0, 10 * static_cast<int64_t>(sampleRate));
}

}  // namespace

bool Render(const RenderJob& job, RenderStats* stats, std::string* error) {
  vst2::AEffect* e = job.effect;
  const int channels = job.source->channels();
  const int block = job.blockSize;
  const int ins = std::max(0, e->numInputs);
  const int outs = std::max(1, e->numOutputs);
  // The replacing callback when the plug-in offers it, else the accumulating
  // one into zeroed outputs.
  const bool replacing =
      e->processReplacing && ((e->flags & vst2::effFlagsCanReplacing) || !e->process);

  // Buffers for at least two channels each way: some plug-ins touch a second
  // channel whatever they declare.
  std::vector<std::vector<float>> in(std::max(ins, 2), std::vector<float>(block, 0.0f));
  std::vector<std::vector<float>> out(std::max(outs, 2), std::vector<float>(block, 0.0f));
  std::vector<float*> inPtr, outPtr;
  for (auto& c : in) inPtr.push_back(c.data());
  for (auto& c : out) outPtr.push_back(c.data());
  std::vector<float> interleaved(static_cast<size_t>(block) * channels);

  *stats = RenderStats();
  stats->sampleRate = job.source->sampleRate();
  stats->channels = channels;
  const int64_t latency =
      Latency(e, stats->sampleRate) + (job.cabinet ? job.cabinet->latency() : 0);
  // The cabinet takes plug-in output min(c, outs - 1) for file channel c.
  std::vector<std::vector<float>> cabOut;
  std::vector<const float*> cabInPtr;
  std::vector<float*> cabOutPtr;
  if (job.cabinet) {
    cabOut.assign(channels, std::vector<float>(block, 0.0f));
    for (int c = 0; c < channels; ++c) {
      cabInPtr.push_back(out[std::min(c, outs - 1)].data());
      cabOutPtr.push_back(cabOut[c].data());
    }
  }
  int64_t toSkip = latency, tailLeft = latency;
  bool inputDone = false;

  for (;;) {
    if (job.stop && *job.stop) {
      *error = "interrupted";
      return false;
    }
    int64_t n = 0;
    if (!inputDone) {
      n = job.source->Read(interleaved.data(), block, error);
      if (n < 0) return false;
      if (n == 0) inputDone = true;
      for (int64_t i = 0; i < n * channels; ++i) {
        const double x = interleaved[i];
        if (std::isfinite(x)) {
          stats->inPeak = std::max(stats->inPeak, std::fabs(x));
          stats->inSumSquares += x * x;
        }
      }
      stats->inSamples += n * channels;
    }
    if (inputDone) {  // the latency's worth of silence pushes the last input out
      n = std::min<int64_t>(block, tailLeft);
      tailLeft -= n;
      std::fill(interleaved.begin(), interleaved.end(), 0.0f);
      if (n == 0) break;
    }
    for (int c = 0; c < static_cast<int>(in.size()); ++c) {
      const int from = std::min(c, channels - 1);
      for (int64_t t = 0; t < n; ++t) in[c][t] = interleaved[t * channels + from];
    }
    for (auto& c : out) std::fill(c.begin(), c.end(), 0.0f);

    const double cpu = CpuNow();
    if (replacing)
      e->processReplacing(e, inPtr.data(), outPtr.data(), static_cast<int32_t>(n));
    else
      e->process(e, inPtr.data(), outPtr.data(), static_cast<int32_t>(n));
    if (job.cabinet) job.cabinet->Process(cabInPtr.data(), cabOutPtr.data(), static_cast<int>(n));
    stats->cpuSeconds += CpuNow() - cpu;

    const int64_t skip = std::min(toSkip, n);
    toSkip -= skip;
    const int64_t keep = n - skip;
    for (int c = 0; c < channels; ++c) {
      const std::vector<float>& from = job.cabinet ? cabOut[c] : out[std::min(c, outs - 1)];
      for (int64_t t = 0; t < keep; ++t) {
        float v = from[skip + t] * job.gain;
        if (!std::isfinite(v)) {
          v = 0.0f;
          ++stats->nonFinite;
        }
        interleaved[t * channels + c] = v;
        stats->peak = std::max(stats->peak, static_cast<double>(std::fabs(v)));
        stats->sumSquares += static_cast<double>(v) * v;
      }
    }
    if (keep > 0 && !job.sink->Write(interleaved.data(), keep, error)) return false;
    stats->frames += keep;
    if (job.progress && !inputDone) job.progress->Advance(n);
  }
  return true;
}

}  // namespace amprender

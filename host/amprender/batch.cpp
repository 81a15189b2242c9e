#include "host/amprender/batch.h"

#include <algorithm>
#include <atomic>
#include <cctype>
#include <cstdio>
#include <filesystem>
#include <map>
#include <thread>

#include "host/amprender/audio_io.h"
#include "host/amprender/render_file.h"

namespace amprender {
namespace fs = std::filesystem;
namespace {

bool IsSoundFile(const fs::path& p) {
  std::string ext = p.extension().string();
  std::transform(ext.begin(), ext.end(), ext.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  static const char* const kKnown[] = {".wav", ".flac", ".aif", ".aiff", ".ogg", ".w64", ".caf"};
  for (const char* k : kKnown)
    if (ext == k) return true;
  return false;
}

struct Entry {
  std::string in, out;
  bool ok = false;
  Failure failure;
  RenderStats stats;
};

// Renders one entry with its own source and plug-in instance.
void RenderEntry(const Options& o, const Prepared& prepared, ProgressBar* progress,
                 const volatile std::sig_atomic_t* stop, Entry* e) {
  std::string error;
  std::unique_ptr<AudioSource> source = OpenSoundFile(e->in, &error);
  if (!source) {
    e->failure.message = error;
    return;
  }
  if (o.rateGiven && o.rate != source->sampleRate()) {
    e->failure.message = "it is at " + std::to_string(source->sampleRate()) + " Hz, not the " +
                         std::to_string(o.rate) + " Hz of --rate";
    return;
  }
  std::unique_ptr<PluginSession> session =
      OpenPrepared(o, prepared, source->sampleRate(), &e->failure);
  if (!session) return;
  FileRender r;
  r.source = source.get();
  r.outPath = e->out;
  r.progress = progress;
  r.stop = stop;
  e->ok = RenderFile(o, *session, r, &e->stats, &e->failure);
}

std::string Cell(const std::string& text, size_t width) {
  if (text.size() <= width) return text + std::string(width - text.size(), ' ');
  return "..." + text.substr(text.size() - (width - 3));
}

std::string Db(double linear) {
  std::string text = FormatDbfs(linear);
  return text.substr(0, text.size() - 5);  // without " dBFS"; the header says it
}

void PrintTable(const std::vector<Entry>& entries) {
  size_t width = 5;
  for (const Entry& e : entries) width = std::max(width, fs::path(e.in).filename().string().size());
  width = std::min<size_t>(width, 40);
  std::printf("%s  %-6s  %8s  %9s  %9s  %9s  %9s\n", Cell("input", width).c_str(), "result",
              "seconds", "in peak", "in RMS", "out peak", "out RMS");
  for (const Entry& e : entries) {
    const std::string name = Cell(fs::path(e.in).filename().string(), width);
    if (!e.ok) {
      std::printf("%s  %-6s  %s\n", name.c_str(), "FAILED", e.failure.message.c_str());
      continue;
    }
    const RenderStats& s = e.stats;
    std::printf("%s  %-6s  %8.2f  %9s  %9s  %9s  %9s%s\n", name.c_str(), "ok",
                s.sampleRate ? static_cast<double>(s.frames) / s.sampleRate : 0.0,
                Db(s.inPeak).c_str(), Db(Rms(s.inSumSquares, s.inSamples)).c_str(),
                Db(s.peak).c_str(), Db(Rms(s.sumSquares, s.frames * s.channels)).c_str(),
                LooksLikeLineLevel(s) ? "  (input looks like a line-level mix, not a DI)" : "");
  }
  std::printf("(levels in dBFS)\n");
}

}  // namespace

bool ExpandInputs(const std::vector<std::string>& inputs, std::vector<std::string>* files,
                  std::string* error) {
  for (const std::string& in : inputs) {
    std::error_code ec;
    if (in == "-" || !fs::is_directory(in, ec)) {
      files->push_back(in);  // a missing file is reported when its turn comes
      continue;
    }
    std::vector<std::string> found;
    for (fs::directory_iterator it(in, ec), end; !ec && it != end; it.increment(ec))
      if (it->is_regular_file(ec) && IsSoundFile(it->path())) found.push_back(it->path().string());
    if (ec) {
      *error = "cannot read the folder " + in + ": " + ec.message();
      return false;
    }
    if (found.empty()) {
      *error = "the folder " + in + " holds no sound files (.wav .flac .aif .aiff .ogg .w64 .caf)";
      return false;
    }
    std::sort(found.begin(), found.end());
    files->insert(files->end(), found.begin(), found.end());
  }
  return true;
}

bool BatchOutputs(const std::vector<std::string>& files, const std::string& outDir,
                  std::vector<std::string>* outputs, std::string* error) {
  std::map<std::string, std::string> taken;  // output -> the input that writes it
  for (const std::string& in : files) {
    const std::string out = (fs::path(outDir) / fs::path(in).stem()).string() + ".wav";
    auto [it, fresh] = taken.emplace(out, in);
    if (!fresh) {
      *error = in + " and " + it->second + " would both be written to " + out;
      return false;
    }
    std::error_code ec;
    if (fs::equivalent(in, out, ec)) {
      *error = "the output for " + in + " would overwrite it; choose another --out-dir";
      return false;
    }
    outputs->push_back(out);
  }
  return true;
}

int RunBatch(const Options& o, const Prepared& prepared, const std::vector<std::string>& files,
             const std::vector<std::string>& outputs, const volatile std::sig_atomic_t* stop) {
  std::error_code ec;
  fs::create_directories(o.outDir, ec);
  if (ec) {
    std::fprintf(stderr, "amprender: error: cannot create the folder %s: %s\n", o.outDir.c_str(),
                 ec.message().c_str());
    return kExitFailure;
  }
  std::vector<Entry> entries(files.size());
  int64_t total = 0;
  for (size_t i = 0; i < files.size(); ++i) {
    entries[i].in = files[i];
    entries[i].out = outputs[i];
    entries[i].failure.message = "not rendered (interrupted)";
    std::string error;
    if (std::unique_ptr<AudioSource> s = OpenSoundFile(files[i], &error)) total += s->frames();
  }

  ProgressBar progress(stderr, total);
  std::atomic<size_t> next{0};
  auto worker = [&]() {
    for (size_t i; (i = next.fetch_add(1)) < entries.size();) {
      if (stop && *stop) break;
      Entry& e = entries[i];
      RenderEntry(o, prepared, &progress, stop, &e);
      if (!e.ok)
        progress.Around([&]() {
          if (e.failure.message.find(e.in) != std::string::npos)
            std::fprintf(stderr, "amprender: error: %s\n", e.failure.message.c_str());
          else
            std::fprintf(stderr, "amprender: error: %s: %s\n", e.in.c_str(),
                         e.failure.message.c_str());
        });
    }
  };
  const int threads = std::min<int>(o.jobs, static_cast<int>(entries.size()));
  std::vector<std::thread> pool;
  for (int t = 1; t < threads; ++t) pool.emplace_back(worker);
  worker();
  for (std::thread& t : pool) t.join();
  progress.Clear();

  PrintTable(entries);
  const auto good =
      std::count_if(entries.begin(), entries.end(), [](const Entry& e) { return e.ok; });
  std::printf("%ld of %zu files rendered into %s\n", static_cast<long>(good), entries.size(),
              o.outDir.c_str());
  if (stop && *stop) return kExitInterrupted;
  return good == static_cast<long>(entries.size()) ? 0 : kExitFailure;
}

}  // namespace amprender

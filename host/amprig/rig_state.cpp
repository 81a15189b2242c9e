#include "host/amprig/rig_state.h"

#include <sys/stat.h>

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>

#include "host/amprender/atomic_file.h"

namespace amprig {
namespace {

constexpr char kMagic[] = "amprig state 1";
// A state beyond this is not one of ours (chunks are a few kilobytes).
constexpr size_t kMaxChunkBytes = 16u << 20;

void AppendLine(std::vector<uint8_t>* out, const std::string& line) {
  out->insert(out->end(), line.begin(), line.end());
  out->push_back('\n');
}

void AppendBytes(std::vector<uint8_t>* out, const char* key, const std::vector<uint8_t>& bytes) {
  AppendLine(out, std::string(key) + " " + std::to_string(bytes.size()));
  out->insert(out->end(), bytes.begin(), bytes.end());
  out->push_back('\n');
}

std::string Number(double v) {
  char text[64];
  std::snprintf(text, sizeof text, "%.17g", v);
  return text;
}

class Reader {
 public:
  Reader(const uint8_t* data, size_t size) : data_(data), size_(size) {}

  bool Line(std::string* line) {
    const void* nl = pos_ < size_ ? std::memchr(data_ + pos_, '\n', size_ - pos_) : nullptr;
    if (!nl) return false;
    const size_t end = static_cast<size_t>(static_cast<const uint8_t*>(nl) - data_);
    line->assign(reinterpret_cast<const char*>(data_ + pos_), end - pos_);
    pos_ = end + 1;
    return true;
  }
  // "<key> <value>" with the key given.
  bool Field(const char* key, std::string* value) {
    std::string line;
    const size_t n = std::strlen(key);
    if (!Line(&line) || line.compare(0, n, key) != 0 || line.size() < n + 1 || line[n] != ' ')
      return false;
    *value = line.substr(n + 1);
    return true;
  }
  bool Bytes(size_t count, std::vector<uint8_t>* out) {
    if (count > size_ - pos_ || size_ - pos_ - count < 1 || data_[pos_ + count] != '\n')
      return false;
    out->assign(data_ + pos_, data_ + pos_ + count);
    pos_ += count + 1;
    return true;
  }
  bool AtEnd() const { return pos_ == size_; }

 private:
  const uint8_t* data_;
  size_t size_;
  size_t pos_ = 0;
};

bool ParseDouble(const std::string& text, double* v) {
  if (text.empty()) return false;
  char* end = nullptr;
  errno = 0;
  *v = std::strtod(text.c_str(), &end);
  return errno == 0 && end && *end == '\0' && std::isfinite(*v);
}

bool ParseCount(const std::string& text, size_t limit, size_t* v) {
  if (text.empty() || text.size() > 12 || text.find_first_not_of("0123456789") != std::string::npos)
    return false;
  *v = static_cast<size_t>(std::strtoull(text.c_str(), nullptr, 10));
  return *v <= limit;
}

bool MakeFolders(const std::string& folder) {
  for (size_t slash = folder.find('/', 1);; slash = folder.find('/', slash + 1)) {
    const std::string part = folder.substr(0, slash);
    if (mkdir(part.c_str(), 0755) != 0 && errno != EEXIST) return false;
    if (slash == std::string::npos) return true;
  }
}

}  // namespace

std::vector<uint8_t> EncodeState(const RigState& state) {
  std::vector<uint8_t> out;
  AppendLine(&out, kMagic);
  AppendLine(&out, "cab " + state.cab);
  AppendLine(&out, "gain-db " + Number(state.gainDb));
  AppendLine(&out, "out-level-db " + Number(state.outLevelDb));
  AppendLine(&out, "program " + std::to_string(state.program));
  AppendBytes(&out, "bank", state.bank);
  AppendBytes(&out, "chunk", state.chunk);
  AppendLine(&out, "end");
  return out;
}

bool DecodeState(const uint8_t* data, size_t size, RigState* state, std::string* error) {
  Reader r(data, size);
  std::string line, value;
  size_t count = 0;
  double number = 0.0;
  auto fail = [&](const char* what) {
    *error = what;
    return false;
  };
  if (!r.Line(&line) || line != kMagic) return fail("not an amprig state file");
  if (!r.Field("cab", &state->cab) || state->cab.empty()) return fail("no cabinet line");
  if (!r.Field("gain-db", &value) || !ParseDouble(value, &number) || std::fabs(number) > 60.0)
    return fail("no valid gain-db line");
  state->gainDb = number;
  if (!r.Field("out-level-db", &value) || !ParseDouble(value, &number) || std::fabs(number) > 60.0)
    return fail("no valid out-level-db line");
  state->outLevelDb = number;
  if (!r.Field("program", &value) || !ParseCount(value, 9999, &count))
    return fail("no valid program line");
  state->program = static_cast<int>(count);
  if (!r.Field("bank", &value) || !ParseCount(value, kMaxChunkBytes, &count) ||
      !r.Bytes(count, &state->bank))
    return fail("the bank chunk is cut short or malformed");
  if (!r.Field("chunk", &value) || !ParseCount(value, kMaxChunkBytes, &count) ||
      !r.Bytes(count, &state->chunk))
    return fail("the program chunk is cut short or malformed");
  if (!r.Line(&line) || line != "end" || !r.AtEnd()) return fail("no end line");
  return true;
}

std::string StatePath(const std::string& amp) {
  const char* xdg = std::getenv("XDG_CONFIG_HOME");
  std::string base;
  if (xdg && xdg[0] == '/') {
    base = xdg;
  } else {
    const char* home = std::getenv("HOME");
    base = std::string(home && home[0] ? home : ".") + "/.config";
  }
  return base + "/amprig/" + amp + ".state";
}

bool SaveState(const std::string& path, const RigState& state, std::string* error) {
  const size_t slash = path.rfind('/');
  if (slash != std::string::npos && slash > 0 && !MakeFolders(path.substr(0, slash))) {
    *error = "cannot create the folder of " + path + ": " + std::strerror(errno);
    return false;
  }
  return amprender::WriteFileAtomically(path, EncodeState(state), error);
}

LoadResult LoadState(const std::string& path, RigState* state, std::string* error) {
  struct stat st;
  if (stat(path.c_str(), &st) != 0 && errno == ENOENT) return LoadResult::kMissing;
  std::vector<uint8_t> bytes;
  std::string why;
  if (amprender::ReadWholeFile(path, &bytes, &why) &&
      DecodeState(bytes.data(), bytes.size(), state, &why))
    return LoadResult::kLoaded;
  const std::string aside = path + ".corrupt-" + std::to_string(std::time(nullptr));
  if (std::rename(path.c_str(), aside.c_str()) == 0) {
    *error = "the saved state " + path + " is unusable (" + why + "); it was moved to " + aside;
    return LoadResult::kCorrupt;
  }
  *error = "the saved state " + path + " is unusable (" + why + ") and could not be moved aside (" +
           std::strerror(errno) + "); it will not be saved over";
  return LoadResult::kCorruptKept;
}

}  // namespace amprig

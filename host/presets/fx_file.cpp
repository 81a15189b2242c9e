#include "host/presets/fx_file.h"

#include <algorithm>
#include <cstring>

namespace presets {
namespace {

constexpr uint32_t Magic(const char (&m)[5]) {
  return (uint32_t(uint8_t(m[0])) << 24) | (uint32_t(uint8_t(m[1])) << 16) |
         (uint32_t(uint8_t(m[2])) << 8) | uint32_t(uint8_t(m[3]));
}
constexpr uint32_t kCcnK = Magic("CcnK");
constexpr uint32_t kFxCk = Magic("FxCk");
constexpr uint32_t kFPCh = Magic("FPCh");
constexpr uint32_t kFxBk = Magic("FxBk");
constexpr uint32_t kFBCh = Magic("FBCh");
constexpr size_t kBankReserved = 128;

// Reads big-endian fields from a range; every read checks what is left.
class Reader {
 public:
  Reader(const uint8_t* data, size_t size) : p_(data), left_(size) {}
  size_t left() const { return left_; }
  bool U32(uint32_t* v) {
    if (left_ < 4) return false;
    *v = (uint32_t(p_[0]) << 24) | (uint32_t(p_[1]) << 16) | (uint32_t(p_[2]) << 8) | p_[3];
    Skip(4);
    return true;
  }
  bool I32(int32_t* v) {
    uint32_t u;
    if (!U32(&u)) return false;
    std::memcpy(v, &u, 4);
    return true;
  }
  bool F32(float* v) {
    uint32_t u;
    if (!U32(&u)) return false;
    std::memcpy(v, &u, 4);
    return true;
  }
  bool Bytes(size_t n, const uint8_t** at) {
    if (left_ < n) return false;
    *at = p_;
    Skip(n);
    return true;
  }
  void Skip(size_t n) {
    p_ += n;
    left_ -= n;
  }

 private:
  const uint8_t* p_;
  size_t left_;
};

class Writer {
 public:
  void U32(uint32_t v) {
    const uint8_t b[4] = {uint8_t(v >> 24), uint8_t(v >> 16), uint8_t(v >> 8), uint8_t(v)};
    out_.insert(out_.end(), b, b + 4);
  }
  void I32(int32_t v) {
    uint32_t u;
    std::memcpy(&u, &v, 4);
    U32(u);
  }
  void F32(float v) {
    uint32_t u;
    std::memcpy(&u, &v, 4);
    U32(u);
  }
  void Bytes(const void* p, size_t n) {
    const uint8_t* b = static_cast<const uint8_t*>(p);
    out_.insert(out_.end(), b, b + n);
  }
  void Zeros(size_t n) { out_.insert(out_.end(), n, 0); }
  // Fills in the byte count of everything after the count field.
  std::vector<uint8_t> Finish() {
    const uint32_t rest = static_cast<uint32_t>(out_.size() - 8);
    for (int i = 0; i < 4; ++i) out_[4 + i] = uint8_t(rest >> (24 - 8 * i));
    return std::move(out_);
  }

 private:
  std::vector<uint8_t> out_;
};

bool Fail(std::string* error, std::string message) {
  *error = std::move(message);
  return false;
}

// The envelope: 'CcnK' and the byte count; narrows the reader to that count.
bool ReadEnvelope(Reader* r, const char* what, Reader* body, std::string* error) {
  uint32_t magic = 0, count = 0;
  if (!r->U32(&magic) || !r->U32(&count))
    return Fail(error, std::string("truncated: too short for a ") + what + " header");
  if (magic != kCcnK)
    return Fail(error,
                std::string("not a VST preset file (no 'CcnK' at the start of the ") + what + ")");
  if (count > r->left())
    return Fail(error, std::string("truncated: the ") + what + " header announces " +
                           std::to_string(count) + " bytes, only " + std::to_string(r->left()) +
                           " are there");
  const uint8_t* at = nullptr;
  r->Bytes(count, &at);
  *body = Reader(at, count);
  return true;
}

bool ReadChunk(Reader* r, std::vector<uint8_t>* chunk, std::string* error) {
  uint32_t size = 0;
  const uint8_t* at = nullptr;
  if (!r->U32(&size)) return Fail(error, "truncated: no chunk size");
  if (!r->Bytes(size, &at))
    return Fail(error, "truncated: the chunk size says " + std::to_string(size) + " bytes, only " +
                           std::to_string(r->left()) + " are there");
  chunk->assign(at, at + size);
  return true;
}

std::string ReadName(const uint8_t* at) {
  size_t n = 0;
  while (n < kNameBytes && at[n] != 0) ++n;
  return std::string(reinterpret_cast<const char*>(at), n);
}

bool ParseProgramBody(Reader* body, FxProgram* p, std::string* error) {
  uint32_t kind = 0;
  int32_t version = 0;
  const uint8_t* name = nullptr;
  if (!body->U32(&kind) || !body->I32(&version) || !body->I32(&p->pluginId) ||
      !body->I32(&p->pluginVersion) || !body->I32(&p->numParams) || !body->Bytes(kNameBytes, &name))
    return Fail(error, "truncated: the program header is incomplete");
  if (kind != kFxCk && kind != kFPCh)
    return Fail(error, "not a program: expected 'FxCk' or 'FPCh', found '" +
                           IdText(static_cast<int32_t>(kind)) + "'");
  if (version < 1 || version > 2)
    return Fail(error, "unknown program format version " + std::to_string(version));
  p->name = ReadName(name);
  p->opaque = kind == kFPCh;
  if (p->opaque) return ReadChunk(body, &p->chunk, error);
  if (p->numParams < 0) return Fail(error, "a negative parameter count");
  if (static_cast<size_t>(p->numParams) > body->left() / 4)
    return Fail(error, "truncated: " + std::to_string(p->numParams) +
                           " parameters announced, room for " + std::to_string(body->left() / 4));
  p->values.resize(static_cast<size_t>(p->numParams));
  for (float& v : p->values) body->F32(&v);
  return true;
}

bool ParseProgram(Reader* r, FxProgram* p, std::string* error) {
  Reader body(nullptr, 0);
  return ReadEnvelope(r, "program", &body, error) && ParseProgramBody(&body, p, error);
}

bool ParseBankBody(Reader* body, FxBank* b, std::string* error) {
  uint32_t kind = 0;
  const uint8_t* reserved = nullptr;
  if (!body->U32(&kind)) return Fail(error, "truncated: no kind after the bank header");
  if (!body->I32(&b->formatVersion) || !body->I32(&b->pluginId) || !body->I32(&b->pluginVersion) ||
      !body->I32(&b->numPrograms) || !body->Bytes(kBankReserved, &reserved))
    return Fail(error, "truncated: the bank header is incomplete");
  if (b->formatVersion < 1 || b->formatVersion > 2)
    return Fail(error, "unknown bank format version " + std::to_string(b->formatVersion));
  if (b->numPrograms < 0) return Fail(error, "a negative program count");
  b->currentProgram = 0;
  if (b->formatVersion >= 2) {
    Reader cur(reserved, 4);
    cur.I32(&b->currentProgram);
  }
  b->opaque = kind == kFBCh;
  if (b->opaque) return ReadChunk(body, &b->chunk, error);
  // Each program takes at least its envelope and header.
  constexpr size_t kMinProgram = 8 + 20 + kNameBytes;
  if (static_cast<size_t>(b->numPrograms) > body->left() / kMinProgram)
    return Fail(error, "truncated: " + std::to_string(b->numPrograms) +
                           " programs announced, the file is too short for them");
  b->programs.resize(static_cast<size_t>(b->numPrograms));
  for (size_t i = 0; i < b->programs.size(); ++i) {
    FxProgram& p = b->programs[i];
    if (!ParseProgram(body, &p, error)) {
      *error = "program " + std::to_string(i) + " of the bank: " + *error;
      return false;
    }
    if (p.pluginId != b->pluginId)
      return Fail(error, "program " + std::to_string(i) + " of the bank belongs to plug-in '" +
                             IdText(p.pluginId) + "', the bank to '" + IdText(b->pluginId) + "'");
  }
  return true;
}

void WriteProgramTo(const FxProgram& p, Writer* w) {
  w->U32(kCcnK);
  w->U32(0);
  w->U32(p.opaque ? kFPCh : kFxCk);
  w->I32(1);
  w->I32(p.pluginId);
  w->I32(p.pluginVersion);
  w->I32(p.opaque ? p.numParams : static_cast<int32_t>(p.values.size()));
  char name[kNameBytes] = {};
  std::memcpy(name, p.name.data(), std::min(p.name.size(), kNameBytes - 1));
  w->Bytes(name, kNameBytes);
  if (p.opaque) {
    w->U32(static_cast<uint32_t>(p.chunk.size()));
    w->Bytes(p.chunk.data(), p.chunk.size());
  } else {
    for (float v : p.values) w->F32(v);
  }
}

}  // namespace

std::string IdText(int32_t id) {
  const uint32_t u = static_cast<uint32_t>(id);
  std::string text;
  for (int shift = 24; shift >= 0; shift -= 8) {
    const char c = static_cast<char>((u >> shift) & 0xFF);
    if (c < 0x20 || c > 0x7E) return std::to_string(id);
    text += c;
  }
  return text;
}

bool ParseFx(const uint8_t* data, size_t size, FxFile* out, std::string* error) {
  if (size > kMaxFileBytes)
    return Fail(error, "too large for a preset file (" + std::to_string(size) + " bytes)");
  Reader r(data, size);
  Reader body(nullptr, 0);
  if (!ReadEnvelope(&r, "file", &body, error)) return false;
  // Peek at the kind to tell a program from a bank.
  Reader peek = body;
  uint32_t kind = 0;
  if (!peek.U32(&kind)) return Fail(error, "truncated: no kind after 'CcnK'");
  *out = FxFile();
  if (kind == kFxBk || kind == kFBCh) {
    out->isBank = true;
    return ParseBankBody(&body, &out->bank, error);
  }
  if (kind == kFxCk || kind == kFPCh) return ParseProgramBody(&body, &out->program, error);
  return Fail(error, "unknown preset kind '" + IdText(static_cast<int32_t>(kind)) +
                         "' (expected FxCk, FPCh, FxBk or FBCh)");
}

std::vector<uint8_t> WriteProgram(const FxProgram& program) {
  Writer w;
  WriteProgramTo(program, &w);
  return w.Finish();
}

std::vector<uint8_t> WriteBank(const FxBank& b) {
  Writer w;
  w.U32(kCcnK);
  w.U32(0);
  w.U32(b.opaque ? kFBCh : kFxBk);
  w.I32(b.formatVersion);
  w.I32(b.pluginId);
  w.I32(b.pluginVersion);
  w.I32(b.opaque ? b.numPrograms : static_cast<int32_t>(b.programs.size()));
  if (b.formatVersion >= 2) {
    w.I32(b.currentProgram);
    w.Zeros(kBankReserved - 4);
  } else {
    w.Zeros(kBankReserved);
  }
  if (b.opaque) {
    w.U32(static_cast<uint32_t>(b.chunk.size()));
    w.Bytes(b.chunk.data(), b.chunk.size());
  } else {
    for (const FxProgram& p : b.programs) {
      std::vector<uint8_t> one = WriteProgram(p);
      w.Bytes(one.data(), one.size());
    }
  }
  return w.Finish();
}

std::vector<uint8_t> WriteFx(const FxFile& file) {
  return file.isBank ? WriteBank(file.bank) : WriteProgram(file.program);
}

}  // namespace presets

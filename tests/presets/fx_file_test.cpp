// .fxp/.fxb files: the byte layout hosts expect, a lossless round trip, the
// committed factory files, and refusal of every truncated or corrupt file.
#include "host/presets/fx_file.h"

#include <filesystem>
#include <fstream>
#include <iterator>

#include "gtest/gtest.h"

namespace presets {
namespace {

using Bytes = std::vector<uint8_t>;

void Append(Bytes* b, std::initializer_list<uint8_t> v) { b->insert(b->end(), v); }
void AppendText(Bytes* b, const char* s) { b->insert(b->end(), s, s + 4); }

FxProgram ListProgram() {
  FxProgram p;
  p.pluginId = 0x54657374;  // 'Test'
  p.pluginVersion = 7;
  p.name = "Clean";
  p.values = {0.5f, 1.0f};
  p.numParams = 2;
  return p;
}

FxBank ChunkBank() {
  FxBank b;
  b.pluginId = 0x54657374;
  b.pluginVersion = 7;
  b.numPrograms = 10;
  b.currentProgram = 3;
  b.opaque = true;
  b.chunk = {1, 2, 3};
  return b;
}

Bytes Parsed(const Bytes& bytes, FxFile* file) {
  std::string error;
  EXPECT_TRUE(ParseFx(bytes.data(), bytes.size(), file, &error)) << error;
  return WriteFx(*file);
}

TEST(FxFile, ProgramAndBankHaveTheStandardByteLayout) {
  Bytes fxp;
  AppendText(&fxp, "CcnK");
  Append(&fxp, {0, 0, 0, 56});  // after the count: 4 + 4 * 4 + 28 + 2 * 4
  AppendText(&fxp, "FxCk");
  Append(&fxp, {0, 0, 0, 1, 'T', 'e', 's', 't', 0, 0, 0, 7, 0, 0, 0, 2});
  Append(&fxp, {'C', 'l', 'e', 'a', 'n'});
  fxp.insert(fxp.end(), 23, 0);
  Append(&fxp, {0x3F, 0x00, 0x00, 0x00, 0x3F, 0x80, 0x00, 0x00});  // 0.5f, 1.0f big-endian
  EXPECT_EQ(WriteProgram(ListProgram()), fxp);

  Bytes fxb;
  AppendText(&fxb, "CcnK");
  Append(&fxb, {0, 0, 0, 155});  // after the count: 4 + 4 * 4 + 128 + 4 + 3
  AppendText(&fxb, "FBCh");
  Append(&fxb, {0, 0, 0, 2, 'T', 'e', 's', 't', 0, 0, 0, 7, 0, 0, 0, 10});
  Append(&fxb, {0, 0, 0, 3});  // current program, version 2
  fxb.insert(fxb.end(), 124, 0);
  Append(&fxb, {0, 0, 0, 3, 1, 2, 3});
  EXPECT_EQ(WriteBank(ChunkBank()), fxb);
}

TEST(FxFile, EveryKindRoundTrips) {
  FxProgram chunkProgram = ListProgram();
  chunkProgram.opaque = true;
  chunkProgram.values.clear();
  chunkProgram.chunk = {9, 8, 7, 6, 5};
  FxBank listBank = ChunkBank();
  listBank.opaque = false;
  listBank.chunk.clear();
  listBank.formatVersion = 1;
  listBank.currentProgram = 0;
  listBank.programs = {ListProgram(), ListProgram()};
  listBank.programs[1].name = "A name of exactly 27 chars.";
  listBank.numPrograms = 2;

  FxFile file;
  const Bytes a = WriteProgram(ListProgram());
  EXPECT_EQ(Parsed(a, &file), a);
  EXPECT_EQ(file.program.name, "Clean");
  EXPECT_EQ(file.program.values, ListProgram().values);
  const Bytes b = WriteProgram(chunkProgram);
  EXPECT_EQ(Parsed(b, &file), b);
  EXPECT_EQ(file.program.chunk, chunkProgram.chunk);
  const Bytes c = WriteBank(ChunkBank());
  EXPECT_EQ(Parsed(c, &file), c);
  EXPECT_EQ(file.bank.currentProgram, 3);
  const Bytes d = WriteBank(listBank);
  EXPECT_EQ(Parsed(d, &file), d);
  ASSERT_EQ(file.bank.programs.size(), 2u);
  EXPECT_EQ(file.bank.programs[1].name, "A name of exactly 27 chars.");
}

TEST(FxFile, FactoryFilesAreWhatEachPluginTakes) {
  int count = 0;
  for (const char* folder : {"ferro", "vortan"}) {
    for (const auto& entry :
         std::filesystem::directory_iterator(std::string(PRESETS_DIR) + "/" + folder)) {
      std::ifstream in(entry.path(), std::ios::binary);
      const Bytes bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
      FxFile file;
      SCOPED_TRACE(entry.path().string());
      ASSERT_EQ(Parsed(bytes, &file), bytes);
      ++count;
      if (std::string(folder) == "ferro") {
        ASSERT_FALSE(file.isBank);
        EXPECT_EQ(IdText(file.program.pluginId), "OsFe");
        EXPECT_FALSE(file.program.opaque);
        EXPECT_EQ(file.program.values.size(), 33u);
      } else if (file.isBank) {
        EXPECT_EQ(IdText(file.bank.pluginId), "VRTQ");
        EXPECT_TRUE(file.bank.opaque);
        EXPECT_EQ(file.bank.numPrograms, 10);
        EXPECT_EQ(file.bank.chunk.size(), 2920u);
      } else {
        EXPECT_EQ(IdText(file.program.pluginId), "VRTQ");
        EXPECT_TRUE(file.program.opaque);
        EXPECT_EQ(file.program.chunk.size(), 292u);
      }
      EXPECT_FALSE((file.isBank ? "bank" : file.program.name).empty());
    }
  }
  EXPECT_GE(count, 6 + 6 + 1);
}

TEST(FxFile, TruncatedAndCorruptFilesAreRefusedWithAReason) {
  FxBank bank = ChunkBank();
  bank.opaque = false;
  bank.programs = {ListProgram(), ListProgram()};
  bank.numPrograms = 2;
  const Bytes good = WriteBank(bank);
  FxFile file;
  std::string error;
  // Every shorter file, including the count fixed up to match the shorter length.
  for (size_t n = 0; n < good.size(); ++n) {
    Bytes cut(good.begin(), good.begin() + n);
    EXPECT_FALSE(ParseFx(cut.data(), cut.size(), &file, &error)) << n;
    if (n >= 8) {
      const uint32_t rest = static_cast<uint32_t>(n - 8);
      for (int i = 0; i < 4; ++i) cut[4 + i] = uint8_t(rest >> (24 - 8 * i));
      EXPECT_FALSE(ParseFx(cut.data(), cut.size(), &file, &error)) << n;
    }
  }
  auto refused = [&](Bytes bytes, const char* words) {
    EXPECT_FALSE(ParseFx(bytes.data(), bytes.size(), &file, &error));
    EXPECT_NE(error.find(words), std::string::npos) << error;
  };
  Bytes b = good;
  b[0] = 'X';
  refused(b, "not a VST preset file");
  b = good;
  b[8] = 'Z';
  refused(b, "unknown preset kind");
  b = good;
  b[12 + 3] = 9;  // format version
  refused(b, "version");
  b = good;
  b[24] = 0x7F;  // program count
  refused(b, "programs announced");
  b = good;
  b[156 + 8 + 8 + 3] ^= 1;  // the first program's plug-in id
  refused(b, "belongs to plug-in");
  Bytes p = WriteProgram(ListProgram());
  p[24 + 3] = 200;  // parameter count beyond the data
  refused(p, "parameters announced");
  p = WriteBank(ChunkBank());
  p[156 + 3] = 200;  // chunk size beyond the data
  refused(p, "truncated");
}

}  // namespace
}  // namespace presets

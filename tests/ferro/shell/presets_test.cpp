// Presets and chunks, driven through the plug-in object's dispatcher.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "ferro/shell/iplug_ferro.h"

namespace {

class CountingFerro : public IPlug_Ferro {
 public:
  CountingFerro() : IPlug_Ferro(nullptr) {}
  void OnParamChange(int index) override {
    changes.push_back(index);
    IPlug_Ferro::OnParamChange(index);
  }
  std::vector<int> changes;
};

class FerroChunks : public ::testing::Test {
 protected:
  intptr_t Dispatch(CountingFerro& p, int32_t op, int32_t index, intptr_t value, void* ptr) {
    return p.GetAEffect()->dispatcher(p.GetAEffect(), op, index, value, ptr, 0.0f);
  }
  std::vector<uint8_t> GetChunk(CountingFerro& p, bool program) {
    void* data = nullptr;
    const intptr_t size = Dispatch(p, vst2::effGetChunk, program ? 1 : 0, 0, &data);
    const auto* b = static_cast<const uint8_t*>(data);
    return size > 0 ? std::vector<uint8_t>(b, b + size) : std::vector<uint8_t>();
  }
  intptr_t SetChunk(CountingFerro& p, std::vector<uint8_t> bytes, bool program) {
    p.changes.clear();
    return Dispatch(p, vst2::effSetChunk, program ? 1 : 0, static_cast<intptr_t>(bytes.size()),
                    bytes.empty() ? nullptr : bytes.data());
  }
  std::vector<double> Values(CountingFerro& p) {
    std::vector<double> v;
    for (int i = 0; i < p.NParams(); ++i) v.push_back(p.GetParam(i)->Value());
    return v;
  }
  static std::vector<int> AllIndices() {
    std::vector<int> v;
    for (int i = 0; i < kNumFerroParams; ++i) v.push_back(i);
    return v;
  }
  CountingFerro a, b;
};

TEST_F(FerroChunks, DefaultProgramChunkIsHeaderAndThirtyThreeDoubles) {
  const std::vector<uint8_t> chunk = GetChunk(a, true);
  ASSERT_EQ(chunk.size(), 272u);
  const uint8_t head[] = {0x74, 0x66, 0x66, 0x70, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0xF0, 0x3F};
  EXPECT_EQ(0, std::memcmp(chunk.data(), head, sizeof head));
  double bias = 0.0;
  std::memcpy(&bias, chunk.data() + 8 + 8 * kBias, 8);
  EXPECT_EQ(bias, -51.0);
}

TEST_F(FerroChunks, FreshBankHoldsTheFactoryPreset) {
  const std::vector<uint8_t> bank = GetChunk(a, false);
  ASSERT_EQ(bank.size(), 287u);
  const uint8_t slot[] = {0x0A, 0, 0, 0, 'b', 'y', ' ', 'Q', 'u', 'a', 'r', 'n', 'b', 'y', 1};
  EXPECT_EQ(0, std::memcmp(bank.data() + 8, slot, sizeof slot));
  const std::vector<uint8_t> program = GetChunk(a, true);
  EXPECT_EQ(0, std::memcmp(bank.data() + 23, program.data() + 8, 264));
}

TEST_F(FerroChunks, ProgramChunkRoundTripRestoresEveryValueInOrder) {
  a.VSTSetParameter(kChannel, 0.0);
  a.VSTSetParameter(kOversample, 0.5);  // HIGH
  a.VSTSetParameter(kLeadMod, 0.0);
  a.VSTSetParameter(kBias, 0.123);
  a.VSTSetParameter(kGreenTreble, 0.777);
  a.VSTSetParameter(kRedInput, 0.3);
  EXPECT_EQ(SetChunk(b, GetChunk(a, true), true), 1);
  EXPECT_EQ(Values(b), Values(a));
  EXPECT_EQ(b.changes, AllIndices());
  EXPECT_EQ(b.Channel(), 0);
  EXPECT_EQ(b.Quality(), 1);
}

TEST_F(FerroChunks, BankRoundTripRestoresValuesAndProgramName) {
  a.VSTSetParameter(kRedMid, 0.9);
  a.VSTSetParameter(kTubeType, 1.0);
  char name[] = "Crushing Rhythm";
  Dispatch(a, vst2::effSetProgramName, 0, 0, name);
  EXPECT_EQ(SetChunk(b, GetChunk(a, false), false), 1);
  EXPECT_EQ(Values(b), Values(a));
  EXPECT_STREQ(b.PresetName(0), "Crushing Rhythm");
}

TEST_F(FerroChunks, IncompleteProgramLeavesEveryValueAndReportsFailure) {
  b.VSTSetParameter(kRedInput, 0.8);
  const std::vector<double> before = Values(b);
  std::vector<uint8_t> chunk = GetChunk(a, true);
  for (size_t size : {size_t{0}, size_t{3}, size_t{4}, size_t{8}, size_t{100}, size_t{271}}) {
    std::vector<uint8_t> cut(chunk.begin(), chunk.begin() + static_cast<long>(size));
    EXPECT_EQ(SetChunk(b, cut, true), 0) << size;
    EXPECT_EQ(Values(b), before) << size;
    EXPECT_EQ(b.changes, AllIndices()) << size;
  }
}

TEST_F(FerroChunks, ChunkWithoutHeaderIsBareStateAndExtraBytesAreIgnored) {
  a.VSTSetParameter(kRedTreble, 0.1);
  std::vector<uint8_t> chunk = GetChunk(a, true);
  std::vector<uint8_t> bare(chunk.begin() + 8, chunk.end());
  EXPECT_EQ(SetChunk(b, bare, true), 1);
  EXPECT_EQ(Values(b), Values(a));
  CountingFerro c;
  chunk.resize(chunk.size() + 50, 0xAB);
  EXPECT_EQ(SetChunk(c, chunk, true), 1);
  EXPECT_EQ(Values(c), Values(a));
}

TEST_F(FerroChunks, AStateHoldingANaNIsRefusedWithNothingChanged) {
  std::vector<uint8_t> chunk = GetChunk(a, true);
  const double nan = std::nan("");
  std::memcpy(chunk.data() + 8 + 8 * kRedPreGain, &nan, 8);
  const std::vector<double> before = Values(b);
  EXPECT_EQ(SetChunk(b, chunk, true), 0);
  EXPECT_EQ(Values(b), before);
  std::vector<uint8_t> bank = GetChunk(a, false);
  std::memcpy(bank.data() + 23 + 8 * kBias, &nan, 8);
  EXPECT_EQ(SetChunk(b, bank, false), 0);
  EXPECT_EQ(Values(b), before);
}

TEST_F(FerroChunks, OutOfRangeStoredValuesAreClamped) {
  std::vector<uint8_t> chunk = GetChunk(a, true);
  const double tooLow = -1000.0;
  std::memcpy(chunk.data() + 8 + 8 * kBias, &tooLow, 8);
  EXPECT_EQ(SetChunk(b, chunk, true), 1);
  EXPECT_EQ(b.GetParam(kBias)->Value(), -70.0);
}

TEST_F(FerroChunks, CorruptBanksFailWithoutReadingPastTheBuffer) {
  const std::vector<uint8_t> good = GetChunk(a, false);
  const std::vector<double> before = Values(b);
  for (int32_t length : {-1, -20, INT32_MAX, 300}) {
    std::vector<uint8_t> bad = good;
    std::memcpy(bad.data() + 8, &length, 4);
    EXPECT_EQ(SetChunk(b, bad, false), 0) << length;
    EXPECT_EQ(Values(b), before) << length;
  }
  std::vector<uint8_t> magicOnly(good.begin(), good.begin() + 4);
  EXPECT_EQ(SetChunk(b, magicOnly, false), 0);
  EXPECT_EQ(Dispatch(b, vst2::effSetChunk, 0, 100, nullptr), 0);
  EXPECT_EQ(Dispatch(b, vst2::effSetChunk, 0, -5, b.GetAEffect()), 0);
}

TEST_F(FerroChunks, ABankMarkingTheSlotEmptyClearsItsOldState) {
  std::vector<uint8_t> bank = GetChunk(a, false);
  bank.resize(8 + 4 + 10 + 1);
  bank.back() = 0;  // the slot holds no state
  EXPECT_EQ(SetChunk(b, bank, false), 1);
  // Loading the now uninitialised slot stores the live state under a new name.
  EXPECT_STRNE(b.PresetName(0), "by Quarnby");
  EXPECT_EQ(GetChunk(b, false).size(), 8u + 4 + 13 + 1 + 264);
}

TEST_F(FerroChunks, SelectingTheCurrentProgramAgainChangesNothing) {
  a.VSTSetParameter(kRedPresence, 0.61);
  const std::vector<double> before = Values(a);
  Dispatch(a, vst2::effSetProgram, 0, 0, nullptr);
  EXPECT_EQ(Values(a), before);
  EXPECT_EQ(Dispatch(a, vst2::effGetProgram, 0, 0, nullptr), 0);
  Dispatch(a, vst2::effSetProgram, 0, 5, nullptr);  // no such slot
  EXPECT_EQ(Values(a), before);
}

TEST_F(FerroChunks, ProgramNamesFitTheHostsTwentyFourByteBuffer) {
  char longName[300];
  std::memset(longName, 'x', sizeof longName - 1);
  longName[sizeof longName - 1] = '\0';
  Dispatch(a, vst2::effSetProgramName, 0, 0, longName);
  EXPECT_EQ(std::strlen(a.PresetName(0)), 255u);
  char buffer[32];
  std::memset(buffer, '#', sizeof buffer);
  Dispatch(a, vst2::effGetProgramName, 0, 0, buffer);
  EXPECT_EQ(std::strlen(buffer), 23u);
  EXPECT_EQ(buffer[24], '#');
  std::memset(buffer, '#', sizeof buffer);
  EXPECT_EQ(Dispatch(a, vst2::effGetProgramNameIndexed, 0, 0, buffer), 1);
  EXPECT_EQ(std::strlen(buffer), 23u);
  EXPECT_EQ(buffer[24], '#');
  EXPECT_EQ(Dispatch(a, vst2::effGetProgramNameIndexed, 3, 0, buffer), 0);
}

TEST_F(FerroChunks, ACutNameNeverEndsInsideAUtf8Character) {
  // A 2-, 3- and 4-byte character straddling the 23-byte cut is dropped
  // whole; one that ends at byte 23 stays.
  const struct {
    int ascii;
    const char* tail;
    size_t kept;
  } kCases[] = {{22, "\xC3\xA9", 22},
                {21, "\xE2\x82\xAC", 21},
                {22, "\xE2\x82\xAC", 22},
                {20, "\xF0\x9F\x8E\xB8", 20},
                {21, "\xC3\xA9", 23}};
  for (const auto& c : kCases) {
    const std::string name = std::string(static_cast<size_t>(c.ascii), 'a') + c.tail + "zz";
    Dispatch(a, vst2::effSetProgramName, 0, 0, const_cast<char*>(name.c_str()));
    char buffer[32];
    Dispatch(a, vst2::effGetProgramName, 0, 0, buffer);
    EXPECT_EQ(std::string(buffer), name.substr(0, c.kept)) << c.ascii << " + " << c.tail;
  }
  // The slot itself keeps 255 bytes: the same rule at its own limit.
  const std::string longName = std::string(254, 'b') + "\xE2\x82\xAC";
  Dispatch(a, vst2::effSetProgramName, 0, 0, const_cast<char*>(longName.c_str()));
  EXPECT_EQ(std::string(a.PresetName(0)), std::string(254, 'b'));
}

TEST_F(FerroChunks, ARefusedChunkChangesNoValueNameOrSlot) {
  char name[] = "Keep";
  b.VSTSetParameter(kRedMid, 0.9);
  const double stored = b.GetParam(kRedMid)->Value();
  Dispatch(b, vst2::effSetProgramName, 0, 0, name);  // stores the slot
  b.VSTSetParameter(kRedMid, 0.2);                    // live differs from the slot
  const std::vector<double> before = Values(b);
  const std::vector<uint8_t> good = GetChunk(a, false);
  std::vector<std::vector<uint8_t>> banks;
  std::vector<uint8_t> nameTooLong(good.begin(), good.begin() + 8);
  const int32_t length = 1000;
  nameTooLong.resize(12);
  std::memcpy(nameTooLong.data() + 8, &length, 4);
  banks.push_back(nameTooLong);
  banks.emplace_back(good.begin(), good.begin() + 8 + 4 + 10);       // no flag
  banks.emplace_back(good.begin(), good.begin() + 8 + 4 + 10 + 1);   // flag set, no state
  banks.emplace_back(good.begin(), good.end() - 1);                  // one byte short
  for (size_t i = 0; i < banks.size(); ++i) {
    EXPECT_EQ(SetChunk(b, banks[i], false), 0) << i;
    EXPECT_EQ(Values(b), before) << i;
    EXPECT_STREQ(b.PresetName(0), "Keep") << i;
  }
  std::vector<uint8_t> program = GetChunk(a, true);
  program.pop_back();
  EXPECT_EQ(SetChunk(b, program, true), 0);
  EXPECT_EQ(Values(b), before);
  b.LoadPreset(0);  // the slot still holds what was stored
  EXPECT_EQ(b.GetParam(kRedMid)->Value(), stored);
}

TEST_F(FerroChunks, AHandedOutChunkStaysUntouchedUntilTheNextGetOfItsKind) {
  for (const bool program : {false, true}) {
    void* data = nullptr;
    const intptr_t size = Dispatch(b, vst2::effGetChunk, program ? 1 : 0, 0, &data);
    ASSERT_GT(size, 0);
    const auto* bytes = static_cast<const uint8_t*>(data);
    const std::vector<uint8_t> copy(bytes, bytes + size);
    a.VSTSetParameter(kBias, 0.9);  // same size, other bytes
    EXPECT_EQ(SetChunk(b, GetChunk(a, program), program), 1);
    EXPECT_EQ(std::vector<uint8_t>(bytes, bytes + size), copy) << program;
  }
}

}  // namespace

#include "tests/host/vortan/vortan_host_fixture.h"

namespace vortan_host {
namespace {

std::string IndexedName(host::PluginInstance& p, int index, intptr_t* result) {
  char text[256] = {};
  *result = p.Dispatch(vst2::effGetProgramNameIndexed, index, 0, text);
  return text;
}

TEST_F(VortanHost, TenProgramsNamedInitAndNamesOfTwentyThreeCharacters) {
  intptr_t result = 0;
  for (int i = 0; i < 10; ++i) EXPECT_EQ(IndexedName(*plugin, i, &result), "Init");
  EXPECT_EQ(result, 1);
  EXPECT_EQ(IndexedName(*plugin, 10, &result), "");
  EXPECT_EQ(result, 0);

  plugin->Dispatch(vst2::effSetProgram, 0, 6);
  char name[] = "Thirty characters of a name!!!";
  plugin->Dispatch(vst2::effSetProgramName, 0, 0, name);
  EXPECT_EQ(IndexedName(*plugin, 6, &result), "Thirty characters of a ");
  char buffer[40];
  std::memset(buffer, '#', sizeof(buffer));
  plugin->Dispatch(vst2::effGetProgramName, 0, 0, buffer);
  EXPECT_EQ(std::string(buffer), "Thirty characters of a ");
  EXPECT_EQ(buffer[24], '#') << "the host's 24-byte buffer is not overrun";
}

TEST_F(VortanHost, ACutProgramNameNeverEndsInsideAUtf8Character) {
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
  intptr_t result = 0;
  for (const auto& c : kCases) {
    const std::string name = std::string(static_cast<size_t>(c.ascii), 'a') + c.tail + "zz";
    plugin->Dispatch(vst2::effSetProgramName, 0, 0, const_cast<char*>(name.c_str()));
    EXPECT_EQ(IndexedName(*plugin, 0, &result), name.substr(0, c.kept))
        << c.ascii << " + " << c.tail;
  }
  // A bank chunk whose 24-byte name field is full, with a character across
  // the terminator's place, reads back without the cut character.
  void* data = nullptr;
  const intptr_t size = plugin->Dispatch(vst2::effGetChunk, 0, 0, &data);
  ASSERT_GT(size, 24);
  std::vector<char> bank(static_cast<const char*>(data), static_cast<const char*>(data) + size);
  std::memset(bank.data(), 'c', 22);
  std::memcpy(bank.data() + 22, "\xC3\xA9", 2);
  ASSERT_EQ(plugin->Dispatch(vst2::effSetChunk, 0, size, bank.data()), 1);
  EXPECT_EQ(IndexedName(*plugin, 0, &result), std::string(22, 'c'));
}

TEST_F(VortanHost, SwitchingProgramsAppliesThemAndBadIndicesChangeNothing) {
  plugin->SetParameter(7, 0.2f);
  plugin->Dispatch(vst2::effSetProgram, 0, 9);
  EXPECT_EQ(plugin->Dispatch(vst2::effGetProgram), 9);
  EXPECT_EQ(plugin->GetParameter(7), 0.5f);
  plugin->Dispatch(vst2::effSetProgram, 0, 0);
  EXPECT_EQ(plugin->GetParameter(7), 0.2f);
  for (intptr_t bad : {intptr_t{10}, intptr_t{-1}, intptr_t{1} << 40}) {
    plugin->Dispatch(vst2::effSetProgram, 0, bad);
    EXPECT_EQ(plugin->Dispatch(vst2::effGetProgram), 0);
    EXPECT_EQ(plugin->GetParameter(7), 0.2f);
  }
}

}  // namespace
}  // namespace vortan_host

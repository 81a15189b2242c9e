#include "tests/host/vortan/vortan_host_fixture.h"

namespace vortan_host {
namespace {

std::string IndexedName(host::PluginInstance& p, int index, intptr_t* result) {
  char text[256];
  std::memset(text, 0, sizeof(text));
  *result = p.Dispatch(vst2::effGetProgramNameIndexed, index, 0, text);
  return text;
}

TEST_F(VortanHost, BankHoldsTenProgramsNamedInit) {
  intptr_t result = 0;
  for (int i = 0; i < 10; ++i) {
    EXPECT_EQ(IndexedName(*plugin, i, &result), "Init");
    EXPECT_EQ(result, 1);
  }
  EXPECT_EQ(IndexedName(*plugin, 10, &result), "");
  EXPECT_EQ(result, 0);
  EXPECT_EQ(IndexedName(*plugin, -1, &result), "");
  EXPECT_EQ(result, 0);
  EXPECT_EQ(plugin->ProgramName(), "Init");
}

TEST_F(VortanHost, ProgramNamesKeepTwentyThreeCharacters) {
  plugin->Dispatch(vst2::effSetProgram, 0, 6);
  char name[] = "Thirty characters of a name!!!";
  plugin->Dispatch(vst2::effSetProgramName, 0, 0, name);
  EXPECT_EQ(plugin->ProgramName(), "Thirty characters of a ");
  intptr_t result = 0;
  EXPECT_EQ(IndexedName(*plugin, 6, &result), "Thirty characters of a ");
  EXPECT_EQ(IndexedName(*plugin, 5, &result), "Init");

  // The host's buffer for a program name is 24 bytes: nothing beyond it.
  char buffer[40];
  std::memset(buffer, '#', sizeof(buffer));
  plugin->Dispatch(vst2::effGetProgramName, 0, 0, buffer);
  EXPECT_EQ(buffer[23], '\0');
  EXPECT_EQ(buffer[24], '#');
}

TEST_F(VortanHost, SwitchingProgramsAppliesTheirValues) {
  plugin->SetParameter(7, 0.2f);
  EXPECT_EQ(plugin->Dispatch(vst2::effGetProgram), 0);
  plugin->Dispatch(vst2::effSetProgram, 0, 9);
  EXPECT_EQ(plugin->Dispatch(vst2::effGetProgram), 9);
  EXPECT_EQ(plugin->GetParameter(7), 0.5f);
  plugin->Dispatch(vst2::effSetProgram, 0, 0);
  EXPECT_EQ(plugin->GetParameter(7), 0.2f);
}

TEST_F(VortanHost, ProgramIndicesOutsideTheBankChangeNothing) {
  plugin->Dispatch(vst2::effSetProgram, 0, 2);
  plugin->SetParameter(5, 0.1f);
  for (intptr_t bad : {intptr_t{10}, intptr_t{-1}, intptr_t{1} << 40}) {
    plugin->Dispatch(vst2::effSetProgram, 0, bad);
    EXPECT_EQ(plugin->Dispatch(vst2::effGetProgram), 2);
    EXPECT_EQ(plugin->GetParameter(5), 0.1f);
  }
}

}  // namespace
}  // namespace vortan_host

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

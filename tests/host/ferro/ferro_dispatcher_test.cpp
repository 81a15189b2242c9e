// Dispatcher answers of Ostra Ferro B3 through the ABI.
#include <algorithm>
#include <cmath>
#include <cstring>
#include <initializer_list>

#include "tests/host/ferro/ferro_host_fixture.h"

namespace {

TEST_F(FerroHost, FixedAnswers) {
  auto p = CreateOpen();
  EXPECT_EQ(p->Dispatch(vst2::effGetVstVersion), 2400);
  EXPECT_EQ(p->Dispatch(vst2::effIdentify), 0x4E764566);
  EXPECT_EQ(p->Dispatch(vst2::effGetPlugCategory), vst2::kPlugCategEffect);
  for (int i : {0, 17, 32, 100}) EXPECT_EQ(p->Dispatch(vst2::effCanBeAutomated, i), 1);
  for (int op : std::initializer_list<int>{vst2::effGetVendorVersion, vst2::effSetBypass,
                                           vst2::effGetTailSize, vst2::effString2Parameter,
                                           vst2::effGetParameterProperties, 70, 71, 77, 1000})
    EXPECT_EQ(p->Dispatch(op, 0, 0, nullptr), 0) << op;
  EXPECT_EQ(p->Dispatch(vst2::effGetProgram), 0);
}

TEST_F(FerroHost, CanDoAnswers) {
  auto p = CreateOpen();
  auto canDo = [&](const char* s) {
    return p->Dispatch(vst2::effCanDo, 0, 0, const_cast<char*>(s));
  };
  EXPECT_EQ(canDo("receiveVstTimeInfo"), 1);
  EXPECT_EQ(canDo("hasCockosExtensions"), static_cast<intptr_t>(0xBEEF0000u));
  EXPECT_EQ(canDo("hasCockosViewAsConfig"), static_cast<intptr_t>(0xBEEF0000u));
  EXPECT_EQ(canDo("receiveVstEvents"), 0);
  EXPECT_EQ(canDo("receivevsttimeinfo"), 0);
  EXPECT_EQ(p->Dispatch(vst2::effCanDo, 0, 0, nullptr), 0);
}

TEST_F(FerroHost, PinPropertiesPairTheChannels) {
  auto p = CreateOpen();
  vst2::VstPinProperties pin;
  EXPECT_EQ(p->Dispatch(vst2::effGetInputProperties, 0, 0, &pin), 1);
  EXPECT_EQ(pin.flags, 3);
  EXPECT_STREQ(pin.label, "Input 1");
  EXPECT_EQ(p->Dispatch(vst2::effGetInputProperties, 1, 0, &pin), 1);
  EXPECT_EQ(pin.flags, 1);
  EXPECT_STREQ(pin.label, "Input 2");
  EXPECT_EQ(p->Dispatch(vst2::effGetInputProperties, 2, 0, &pin), 0);
  EXPECT_EQ(p->Dispatch(vst2::effGetOutputProperties, 0, 0, &pin), 1);
  EXPECT_STREQ(pin.label, "Output 1");
  EXPECT_EQ(p->Dispatch(vst2::effGetOutputProperties, 0, 0, nullptr), 0);
}

TEST_F(FerroHost, VendorSpecificFormatsANormalisedValue) {
  auto p = CreateOpen();
  char text[64] = {};
  EXPECT_EQ(p->Dispatch(vst2::effVendorSpecific, 7, 23, text, 0.5f), 0xBEEF);
  EXPECT_STREQ(text, "-50.0");
  EXPECT_EQ(p->Dispatch(vst2::effVendorSpecific, 7, 40, text, 0.5f), 0xBEEF);
  EXPECT_EQ(p->Dispatch(vst2::effVendorSpecific, 7, 23, nullptr, 0.5f), 0);
  EXPECT_EQ(p->Dispatch(vst2::effVendorSpecific, 6, 23, text, 0.5f), 0);
}

TEST_F(FerroHost, SpeakerArrangementsAreReportedStereo) {
  auto p = CreateOpen();
  vst2::VstSpeakerArrangement* in = nullptr;
  vst2::VstSpeakerArrangement* out = nullptr;
  EXPECT_EQ(p->Dispatch(vst2::effGetSpeakerArrangement, 0, reinterpret_cast<intptr_t>(&in), &out),
            1);
  ASSERT_TRUE(in && out);
  EXPECT_EQ(in->numChannels, 2);
  EXPECT_EQ(in->type, vst2::kSpeakerArrStereo);
  EXPECT_EQ(out->numChannels, 2);
}

TEST_F(FerroHost, MidiIsPassedBackToTheHost) {
  auto p = CreateOpen();
  vst2::VstMidiEvent note;
  std::memset(&note, 0, sizeof note);
  note.type = vst2::kVstMidiType;
  note.byteSize = sizeof note;
  note.deltaFrames = 12;
  note.midiData[0] = static_cast<char>(0x90);
  note.midiData[1] = 60;
  note.midiData[2] = 100;
  vst2::VstEvents events;
  std::memset(&events, 0, sizeof events);
  events.numEvents = 2;
  events.events[0] = reinterpret_cast<vst2::VstEvent*>(&note);
  events.events[1] = nullptr;  // skipped
  p->ClearCalls();
  EXPECT_EQ(p->Dispatch(vst2::effProcessEvents, 0, 0, &events), 1);
  const auto sent = p->CallsWith(vst2::audioMasterProcessEvents);
  ASSERT_EQ(sent.size(), 1u);
  ASSERT_GE(sent[0].events.size(), 3u);
  EXPECT_EQ(sent[0].events[0], 0x90);
  EXPECT_EQ(sent[0].events[1], 60);
  EXPECT_EQ(sent[0].events[2], 100);
  EXPECT_EQ(p->Dispatch(vst2::effProcessEvents, 0, 0, nullptr), 0);
}

TEST_F(FerroHost, RatesAndBlockSizesTheEnginesCannotUseAreIgnored) {
  auto p = CreateOpen();
  p->Dispatch(vst2::effSetSampleRate, 0, 0, nullptr, 0.0f);
  p->Dispatch(vst2::effSetSampleRate, 0, 0, nullptr, -48000.0f);
  p->Dispatch(vst2::effSetBlockSize, 0, 0);
  p->Dispatch(vst2::effSetBlockSize, 0, -64);
  std::vector<std::vector<float>> in(2, std::vector<float>(256, 0.1f)),
      out(2, std::vector<float>(256));
  p->ProcessReplacing(in, out);
  for (float s : out[0]) ASSERT_TRUE(std::isfinite(s));
}

}  // namespace

// Rates no audio interface runs at are refused: the engines keep the rate
// they had, so the output is bit for bit that of the untouched instance; the
// ends of the accepted range run and stay bounded on a silent input.
TEST_F(FerroHost, RatesOutsideEightTo768KilohertzAreRefused) {
  auto render = [](host::PluginInstance& p, int frames, float level) {
    std::vector<std::vector<float>> in(2, std::vector<float>(512)), out(2, std::vector<float>(512));
    std::vector<float> all;
    for (int done = 0; done < frames; done += 512) {
      for (int i = 0; i < 512; ++i) in[0][i] = in[1][i] = level * std::sin(0.03f * (done + i));
      p.ProcessReplacing(in, out);
      all.insert(all.end(), out[0].begin(), out[0].end());
    }
    return all;
  };
  auto untouched = CreateOpen();
  const std::vector<float> reference = render(*untouched, 4096, 0.2f);
  for (float rate : {1e9f, 1e-40f, 7999.0f, 768001.0f}) {
    auto p = CreateOpen();
    p->SetSampleRate(rate);
    EXPECT_EQ(render(*p, 4096, 0.2f), reference) << rate;
  }
  for (float rate : {8000.0f, 768000.0f}) {
    auto p = CreateOpen();
    p->SetSampleRate(rate);
    EXPECT_NE(render(*p, 4096, 0.2f), reference) << rate;
    // Silence: the set-up transient dies away instead of growing.
    const std::vector<float> silent = render(*p, 192 * 1024, 0.0f);
    float tail = 0.0f;
    for (size_t i = silent.size() - 16384; i < silent.size(); ++i)
      tail = std::max(tail, std::fabs(silent[i]));
    EXPECT_LT(tail, 0.01f) << rate;
  }
}

// What the effect base does with an attached editor, and the automation an
// editor edit sends to the host.
#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "vortan/shell/vortan.h"

namespace vortan {
namespace {

using Changes = std::vector<std::pair<int32_t, float>>;

struct RecordingEditor : AEffEditor {
  RecordingEditor(AudioEffect* effect, Changes* changes, bool* gone)
      : AEffEditor(effect), changes(changes), gone(gone) {}
  ~RecordingEditor() override { *gone = true; }
  bool getRect(vst2::ERect** r) noexcept override {
    *r = &rect;
    return true;
  }
  bool open(void*) noexcept override { return true; }
  void close() noexcept override {}
  bool setKnobMode(int32_t) noexcept override { return true; }
  void setParameter(int32_t index, float value) noexcept override {
    changes->emplace_back(index, value);
  }
  Changes* changes;
  bool* gone;
  vst2::ERect rect{0, 0, 312, 800};
};

Changes gAutomation;
intptr_t VST2_CALL RecordingHost(vst2::AEffect*, int32_t op, int32_t index, intptr_t, void*,
                                 float opt) {
  if (op == vst2::audioMasterAutomate) gAutomation.emplace_back(index, opt);
  return 1;
}

TEST(VortanEditorBinding, EditorRequestsReachTheAttachedEditorWhichDiesWithThePlugin) {
  Changes changes;
  bool gone = false;
  auto* plugin = new Vortan(nullptr);
  plugin->setEditor(nullptr);  // detach the plug-in's own editor
  vst2::AEffect* e = plugin->getAeffect();
  vst2::ERect* rect = nullptr;
  EXPECT_EQ(e->dispatcher(e, vst2::effEditGetRect, 0, 0, &rect, 0), 0);
  EXPECT_EQ(e->flags & vst2::effFlagsHasEditor, 0);
  plugin->setEditor(new RecordingEditor(plugin, &changes, &gone));
  EXPECT_NE(e->flags & vst2::effFlagsHasEditor, 0);
  EXPECT_EQ(e->dispatcher(e, vst2::effEditGetRect, 0, 0, &rect, 0), 1);
  EXPECT_EQ(rect->right, 800);
  EXPECT_EQ(e->dispatcher(e, vst2::effEditOpen, 0, 0, nullptr, 0), 1);
  EXPECT_EQ(e->dispatcher(e, vst2::effSetEditKnobMode, 0, 2, nullptr, 0), 1);
  EXPECT_EQ(e->dispatcher(e, vst2::effClose, 0, 0, nullptr, 0), 1);
  EXPECT_TRUE(gone);
}

TEST(VortanEditorBinding, EditorSeesEveryRecalledValueBeforeTheSwitchItself) {
  Changes changes;
  bool gone = false;
  Vortan plugin(nullptr);
  plugin.setEditor(new RecordingEditor(&plugin, &changes, &gone));
  plugin.setParameter(kChaHigh, 0.75f);
  plugin.setParameter(kCleanCrunch, 1.0f);
  const Changes expected = {{kChaHigh, 0.75f},   {kInput, 0.5f},  {kChaDrive, 0.5f},
                            {kChaLow, 0.5f},     {kChaMid, 0.5f}, {kChaHigh, 0.5f},
                            {kChaContour, 0.5f}, {kVolume, 0.5f}, {kChaOpenFocus, 0},
                            {kChaBright, 0},     {kChaBottom, 0}, {kCleanCrunch, 1}};
  EXPECT_EQ(changes, expected);
}

TEST(VortanEditorBinding, AutomatedEditAppliesTheValueThenTellsTheHost) {
  Vortan plugin(&RecordingHost);
  plugin.setParameterAutomated(kChbContour, 0.125f);
  EXPECT_EQ(plugin.getParameter(kChbContour), 0.125f);
  EXPECT_EQ(gAutomation, (Changes{{kChbContour, 0.125f}}));
}

}  // namespace
}  // namespace vortan

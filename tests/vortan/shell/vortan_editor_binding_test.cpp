// What the effect base does with an attached editor, and the automation an
// editor edit sends to the host.
#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "vortan/shell/vortan.h"

namespace vortan {
namespace {

struct EditorLog {
  std::vector<std::pair<int32_t, float>> changes;
  int32_t knobMode = -1;
  int opens = 0;
  int closes = 0;
  int idles = 0;
  int keysDown = 0;
  bool destroyed = false;
};

class RecordingEditor : public AEffEditor {
 public:
  RecordingEditor(AudioEffect* effect, EditorLog* log) : AEffEditor(effect), log_(log) {}
  ~RecordingEditor() override { log_->destroyed = true; }
  bool getRect(vst2::ERect** rect) noexcept override {
    *rect = &rect_;
    return true;
  }
  bool open(void*) noexcept override { return ++log_->opens > 0; }
  void close() noexcept override { ++log_->closes; }
  void idle() noexcept override { ++log_->idles; }
  bool onKeyDown(const KeyCode& key) noexcept override {
    log_->keysDown += key.character;
    return true;
  }
  bool setKnobMode(int32_t mode) noexcept override {
    log_->knobMode = mode;
    return true;
  }
  void setParameter(int32_t index, float value) noexcept override {
    log_->changes.emplace_back(index, value);
  }

 private:
  EditorLog* log_;
  vst2::ERect rect_{0, 0, 312, 800};
};

std::vector<std::pair<int32_t, float>> gAutomation;

intptr_t VST2_CALL RecordingHost(vst2::AEffect*, int32_t opcode, int32_t index, intptr_t, void*,
                                 float opt) {
  if (opcode == vst2::audioMasterAutomate) gAutomation.emplace_back(index, opt);
  return 0;
}

TEST(VortanEditorBinding, EditorOpcodesReachTheAttachedEditorOnly) {
  EditorLog log;
  auto* plugin = new Vortan(nullptr);
  vst2::AEffect* effect = plugin->getAeffect();
  vst2::ERect* rect = nullptr;
  EXPECT_EQ(effect->dispatcher(effect, vst2::effEditGetRect, 0, 0, &rect, 0), 0);
  EXPECT_EQ(effect->dispatcher(effect, vst2::effEditOpen, 0, 0, nullptr, 0), 0);
  EXPECT_EQ(effect->dispatcher(effect, vst2::effSetEditKnobMode, 0, 2, nullptr, 0), 0);
  EXPECT_EQ(effect->flags & vst2::effFlagsHasEditor, 0);

  plugin->setEditor(new RecordingEditor(plugin, &log));
  EXPECT_NE(effect->flags & vst2::effFlagsHasEditor, 0);
  EXPECT_EQ(effect->dispatcher(effect, vst2::effEditGetRect, 0, 0, &rect, 0), 1);
  ASSERT_NE(rect, nullptr);
  EXPECT_EQ(rect->right, 800);
  EXPECT_EQ(effect->dispatcher(effect, vst2::effEditOpen, 0, 0, nullptr, 0), 1);
  effect->dispatcher(effect, vst2::effEditIdle, 0, 0, nullptr, 0);
  effect->dispatcher(effect, vst2::effEditKeyDown, 'k', 0, nullptr, 0);
  EXPECT_EQ(effect->dispatcher(effect, vst2::effSetEditKnobMode, 0, 1, nullptr, 0), 1);
  effect->dispatcher(effect, vst2::effEditClose, 0, 0, nullptr, 0);
  EXPECT_EQ(log.opens, 1);
  EXPECT_EQ(log.idles, 1);
  EXPECT_EQ(log.keysDown, 'k');
  EXPECT_EQ(log.knobMode, 1);
  EXPECT_EQ(log.closes, 1);

  EXPECT_EQ(effect->dispatcher(effect, vst2::effClose, 0, 0, nullptr, 0), 1);
  EXPECT_TRUE(log.destroyed) << "the editor goes with the plug-in";
}

TEST(VortanEditorBinding, EditorSeesEveryRecalledValueBeforeTheSwitch) {
  EditorLog log;
  Vortan plugin(nullptr);
  plugin.setEditor(new RecordingEditor(&plugin, &log));
  plugin.setParameter(kChaHigh, 0.75f);
  plugin.setParameter(kCleanCrunch, 1.0f);
  plugin.setParameter(kCleanCrunch, 0.0f);
  const std::vector<std::pair<int32_t, float>> expected = {
      {kChaHigh, 0.75f},
      // into A-crunch: its memory at the defaults
      {kInput, 0.5f},
      {kChaDrive, 0.5f},
      {kChaLow, 0.5f},
      {kChaMid, 0.5f},
      {kChaHigh, 0.5f},
      {kChaContour, 0.5f},
      {kVolume, 0.5f},
      {kChaOpenFocus, 0.0f},
      {kChaBright, 0.0f},
      {kChaBottom, 0.0f},
      {kCleanCrunch, 1.0f},
      // back to A-clean
      {kInput, 0.5f},
      {kChaDrive, 0.5f},
      {kChaLow, 0.5f},
      {kChaMid, 0.5f},
      {kChaHigh, 0.75f},
      {kChaContour, 0.5f},
      {kVolume, 0.5f},
      {kChaOpenFocus, 0.0f},
      {kChaBright, 0.0f},
      {kChaBottom, 0.0f},
      {kCleanCrunch, 0.0f}};
  EXPECT_EQ(log.changes, expected);
}

TEST(VortanEditorBinding, AutomatedEditAppliesTheValueThenTellsTheHost) {
  gAutomation.clear();
  Vortan plugin(&RecordingHost);
  plugin.setParameterAutomated(kChbContour, 0.125f);
  EXPECT_EQ(plugin.getParameter(kChbContour), 0.125f);
  ASSERT_EQ(gAutomation.size(), 1u);
  EXPECT_EQ(gAutomation[0], std::make_pair(int32_t{kChbContour}, 0.125f));
}

}  // namespace
}  // namespace vortan

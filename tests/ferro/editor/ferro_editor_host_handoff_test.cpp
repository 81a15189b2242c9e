// A host that serialises plug-in callbacks onto its own thread: the editor's
// automation and begin/end notices are handed to a host thread, which first
// calls back into the plug-in (dispatcher, getParameter, setParameter) and
// only then answers. The plug-in must never wait for the host while it holds
// the instance lock, or that host thread and the plug-in wait for each other;
// its other calls to the host (identity at open, the MIDI echo) are checked
// for the lock directly.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "ferro/editor/ferro_editor.h"
#include "ferro/shell/iplug_ferro.h"
#include "platform/vst2/aeffect.h"
#include "platform/window/window.h"

namespace {

using Clock = std::chrono::steady_clock;

struct Notice {
  int32_t opcode;
  int32_t index;
  float value;
  float readBack;  // getParameter(index), asked by the host thread
};

class HandoffHost {
 public:
  static intptr_t VST2_CALL Callback(vst2::AEffect*, int32_t opcode, int32_t index, intptr_t, void*,
                                     float opt) {
    HandoffHost& host = *instance_;
    if (opcode != vst2::audioMasterAutomate && opcode != vst2::audioMasterBeginEdit &&
        opcode != vst2::audioMasterEndEdit) {
      host.other_.push_back(Other{opcode, host.InstanceLockIsFree()});
      return 0;
    }
    std::unique_lock<std::mutex> lock(host.mutex_);
    const uint64_t id = ++host.posted_;
    host.jobs_.push_back(Job{id, Notice{opcode, index, opt, 0.0f}});
    host.wake_.notify_all();
    if (!host.wake_.wait_for(lock, std::chrono::seconds(1), [&] { return host.answered_ >= id; }))
      ++host.timeouts_;
    return 0;
  }

  struct Other {
    int32_t opcode;
    bool lockFree;
  };

  explicit HandoffHost(vst2::AEffect** effect) : effect_(effect) { instance_ = this; }
  ~HandoffHost() { Stop(); }

  void Start() {
    thread_ = std::thread([this] { Run(); });
  }
  void Stop() {
    {
      std::lock_guard<std::mutex> lock(mutex_);
      stop_ = true;
    }
    wake_.notify_all();
    if (thread_.joinable()) thread_.join();
  }
  int Timeouts() {
    std::lock_guard<std::mutex> lock(mutex_);
    return timeouts_;
  }
  std::vector<Notice> Seen() {
    std::lock_guard<std::mutex> lock(mutex_);
    return seen_;
  }
  // Calls other than the editor's notices (made on the test's thread).
  const std::vector<Other>& OtherCalls() const { return other_; }

 private:
  struct Job {
    uint64_t id;
    Notice notice;
  };

  // The host's own thread: idles the editor and, for each notice, calls the
  // plug-in before answering.
  void Run() {
    vst2::AEffect* e = *effect_;
    std::unique_lock<std::mutex> lock(mutex_);
    for (;;) {
      wake_.wait_for(lock, std::chrono::milliseconds(2), [&] { return stop_ || !jobs_.empty(); });
      if (stop_) return;
      if (jobs_.empty()) {
        lock.unlock();
        e->dispatcher(e, vst2::effEditIdle, 0, 0, nullptr, 0.0f);
        lock.lock();
        continue;
      }
      Job job = jobs_.front();
      jobs_.pop_front();
      lock.unlock();
      char text[64] = {};
      e->dispatcher(e, vst2::effGetParamDisplay, job.notice.index, 0, text, 0.0f);
      e->dispatcher(e, vst2::effEditIdle, 0, 0, nullptr, 0.0f);
      job.notice.readBack = e->getParameter(e, job.notice.index);
      if (job.notice.opcode == vst2::audioMasterAutomate)
        e->setParameter(e, kRedBass, e->getParameter(e, kRedBass));
      lock.lock();
      seen_.push_back(job.notice);
      answered_ = job.id;
      wake_.notify_all();
    }
  }

  // The lock is re-entrant: only another thread can tell whether it is held.
  bool InstanceLockIsFree() {
    auto* plug = static_cast<IPlug_Ferro*>((*effect_)->object);
    bool free = false;
    std::thread probe([&] {
      free = plug->Lock().TryLock();
      if (free) plug->Lock().Unlock();
    });
    probe.join();
    return free;
  }

  static inline HandoffHost* instance_ = nullptr;
  vst2::AEffect** effect_;
  std::vector<Other> other_;
  std::thread thread_;
  std::mutex mutex_;
  std::condition_variable wake_;
  std::deque<Job> jobs_;
  std::vector<Notice> seen_;
  uint64_t posted_ = 0;
  uint64_t answered_ = 0;
  int timeouts_ = 0;
  bool stop_ = false;
};

platform::Event Mouse(platform::EventType type, int x, int y, bool held) {
  platform::Event e;
  e.type = type;
  e.x = x;
  e.y = y;
  if (type != platform::EventType::kMouseMove) e.button = platform::MouseButton::kLeft;
  e.mods.left = held;
  return e;
}

TEST(FerroEditorHostHandoff, GesturesCompleteAndEveryValueIsReportedInOrder) {
  vst2::AEffect* effect = nullptr;
  HandoffHost host(&effect);
  auto* plug = new IPlug_Ferro(&HandoffHost::Callback);
  effect = plug->GetAEffect();
  effect->dispatcher(effect, vst2::effOpen, 0, 0, nullptr, 0.0f);  // asks the host's name
  effect->setParameter(effect, kRedPreGain, 0.1f);
  FerroEditor* editor = FerroEditor::Of(plug->GetGUI());
  ASSERT_NE(editor, nullptr);
  platform::HeadlessWindow* window = editor->OpenHeadlessWindow();
  window->Tick();
  host.Start();

  std::atomic<bool> stop{false};
  std::thread audio([&] {
    std::vector<float> inL(64, 0.01f), inR(64, 0.01f), outL(64), outR(64);
    float* in[2] = {inL.data(), inR.data()};
    float* out[2] = {outL.data(), outR.data()};
    while (!stop) {
      effect->processReplacing(effect, in, out, 64);
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
  });

  // The test's thread plays the window thread: 200 gestures on RED Pre Gain,
  // two one-pixel moves each, 100 upwards then 100 downwards.
  constexpr int kGestures = 200;
  const int x = 265, y = 190;
  std::vector<float> expected;
  const auto start = Clock::now();
  for (int g = 0; g < kGestures && host.Timeouts() == 0; ++g) {
    const int step = g < kGestures / 2 ? -1 : 1;
    window->Send(Mouse(platform::EventType::kMouseDown, x, y, true));
    for (int m = 1; m <= 2; ++m) {
      window->Send(Mouse(platform::EventType::kMouseMove, x, y + step * m, true));
      platform::ScopedLock guard(editor->StateLock());
      for (int i = 0; i < editor->NControls(); ++i)
        if (editor->GetControl(i)->ParamIdx() == kRedPreGain)
          expected.push_back(static_cast<float>(editor->GetControl(i)->Value()));
    }
    window->Send(Mouse(platform::EventType::kMouseUp, x, y + step * 2, false));
    if (g % 10 == 0) window->Tick();
  }
  const double seconds = std::chrono::duration<double>(Clock::now() - start).count();

  // A close in the middle of a gesture ends it for the host, again through
  // the host's thread; a MIDI event is echoed.
  window->Send(Mouse(platform::EventType::kMouseDown, x, y, true));
  window->Send(Mouse(platform::EventType::kMouseMove, x, y - 1, true));
  EXPECT_EQ(effect->dispatcher(effect, vst2::effEditClose, 0, 0, nullptr, 0.0f), 1);
  vst2::VstMidiEvent note{};
  note.type = vst2::kVstMidiType;
  note.byteSize = sizeof note;
  vst2::VstEvents events{};
  events.numEvents = 1;
  events.events[0] = reinterpret_cast<vst2::VstEvent*>(&note);
  effect->dispatcher(effect, vst2::effProcessEvents, 0, 0, &events, 0.0f);
  stop = true;
  audio.join();
  host.Stop();

  EXPECT_EQ(host.Timeouts(), 0);
  EXPECT_LT(seconds, 60.0);
  // Each gesture reads begin, two automations, end; every automation carries
  // the next value the knob took, and the plug-in already had it.
  const std::vector<Notice> seen = host.Seen();
  ASSERT_EQ(seen.size(), static_cast<size_t>(kGestures * 4 + 3));
  ASSERT_EQ(expected.size(), static_cast<size_t>(kGestures * 2));
  size_t next = 0;
  for (size_t i = 0; i < kGestures * 4; ++i) {
    const Notice& n = seen[i];
    EXPECT_EQ(n.index, kRedPreGain);
    const int32_t want = i % 4 == 0   ? vst2::audioMasterBeginEdit
                         : i % 4 == 3 ? vst2::audioMasterEndEdit
                                      : vst2::audioMasterAutomate;
    ASSERT_EQ(n.opcode, want) << "notice " << i;
    if (n.opcode != vst2::audioMasterAutomate) continue;
    EXPECT_EQ(n.value, expected[next]) << "automation " << next;
    EXPECT_NEAR(n.readBack, n.value, 1e-6) << "automation " << next;
    ++next;
  }
  EXPECT_GT(expected[kGestures - 1], expected[0]);  // up, then back down
  EXPECT_LT(expected.back(), expected[kGestures]);
  EXPECT_EQ(seen[kGestures * 4].opcode, vst2::audioMasterBeginEdit);
  EXPECT_EQ(seen[kGestures * 4 + 1].opcode, vst2::audioMasterAutomate);
  EXPECT_EQ(seen[kGestures * 4 + 2].opcode, vst2::audioMasterEndEdit);

  bool askedName = false, echoed = false;
  for (const HandoffHost::Other& call : host.OtherCalls()) {
    EXPECT_TRUE(call.lockFree) << "host opcode " << call.opcode;
    askedName |= call.opcode == vst2::audioMasterGetProductString;
    echoed |= call.opcode == vst2::audioMasterProcessEvents;
  }
  EXPECT_TRUE(askedName);
  EXPECT_TRUE(echoed);

  effect->dispatcher(effect, vst2::effClose, 0, 0, nullptr, 0.0f);
}

}  // namespace

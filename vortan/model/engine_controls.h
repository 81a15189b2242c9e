// The control values the amplifier reads, derived from the normalised
// parameter values when a parameter changes. The plug-in writes them on
// whatever thread the host uses for parameters and programs; the audio
// thread copies them into a plain ControlValues record once per frame.
// Every field is a relaxed atomic, so a copy may mix an old and a new value
// of one change for a single frame, but never tears a value.
#pragma once

#include <atomic>

namespace vortan {

// Parameter indices of the plug-in, as the engine sees them.
struct EngineParam {
  static constexpr int kInput = 0;
  static constexpr int kChannel = 1;
  static constexpr int kCleanCrunch = 2;
  static constexpr int kLowHighGain = 3;
  static constexpr int kChaDrive = 4;
  static constexpr int kChaLow = 5;
  static constexpr int kChaMid = 6;
  static constexpr int kChaHigh = 7;
  static constexpr int kChaContour = 8;
  static constexpr int kChaOpenFocus = 9;
  static constexpr int kChaBottom = 10;
  static constexpr int kChaBright = 11;
  static constexpr int kChbDrive = 12;
  static constexpr int kChbLow = 13;
  static constexpr int kChbMid = 14;
  static constexpr int kChbHigh = 15;
  static constexpr int kChbContour = 16;
  static constexpr int kChbOpenFocus = 17;
  static constexpr int kChbBottom = 18;
  static constexpr int kChbBright = 19;
  static constexpr int kVolume = 20;
  static constexpr int kMonoStereo = 21;
  static constexpr int kQuality = 22;
  static constexpr int kCount = 23;
};

// True for the parameters that are on/off switches.
bool isSwitchParameter(int index) noexcept;

// Knob tapers of the drive and contour controls.
double driveTaper(double v) noexcept;     // D(v)
double driveGridGain(double D) noexcept;  // Dg(D)
double contourGain(double v) noexcept;    // Gc(v)

// One frame's view of the controls (plain values, read by the audio path).
struct ControlValues {
  double inputTarget = 0.5001;
  double aDriveTarget = 0.0;
  double bDriveTarget = 0.0;
  double Dg = 0.0;    // channel A drive as the bright shelf's gain
  double Dinv = 0.0;  // 1 / (Dg + 0.00001)
  double Dq = 0.0;    // sqrt(2 Dg)
  double aLow = 0.5, aMid = 0.5, aHigh = 0.5, aContour = 0.5, aGc = 0.0;
  double bLow = 0.5, bMid = 0.5, bHigh = 0.5, bContour = 0.5, bGc = 0.0;
  float volume = 0.5f;
  bool stereo = false;
  bool highQuality = false;
  bool channelB = false;
  bool bHighGain = false;
  bool aCrunch = false;
  bool aFocus = false;
  bool aBottom = false;
  bool aBright = false;
  bool bFocus = false;
  bool bBottom = false;
  bool bBright = false;
};

// Every field equal (the audio path batches frames whose controls are equal).
bool operator==(const ControlValues& a, const ControlValues& b) noexcept;

class EngineControls {
 public:
  // Starts from every parameter at its default (continuous 0.5, switches off).
  EngineControls() noexcept;

  // A switch parameter changed (any thread): sets its flag. Must run before a
  // mode switch recalls its memories, since the Input and CHA Drive values
  // depend on the mode at the time they are set. LowQ/HighQ also requests a
  // redesign. Non-switch indices are ignored.
  void setSwitch(int index, bool on) noexcept;

  // A continuous parameter changed (any thread): computes its control values.
  // Values outside 0..1 are clamped, NaN counts as 0. Switch and unknown
  // indices are ignored.
  void setControl(int index, float value) noexcept;

  // Either of the above, by the parameter's kind (switches on at >= 0.5).
  void setParameter(int index, float value) noexcept;

  // Audio thread: the values for this frame.
  ControlValues read() const noexcept;

  bool highQuality() const noexcept { return highQuality_.load(std::memory_order_relaxed); }

  // The redesign-pending flag: set by any thread, taken by the audio thread.
  void requestRedesign() noexcept { redesignPending_.store(true, std::memory_order_release); }
  bool takeRedesignRequest() noexcept {
    return redesignPending_.load(std::memory_order_relaxed) &&
           redesignPending_.exchange(false, std::memory_order_acq_rel);
  }
  bool redesignPending() const noexcept { return redesignPending_.load(std::memory_order_acquire); }

 private:
  template <typename T>
  static void put(std::atomic<T>& a, T v) noexcept {
    a.store(v, std::memory_order_relaxed);
  }
  template <typename T>
  static T get(const std::atomic<T>& a) noexcept {
    return a.load(std::memory_order_relaxed);
  }

  std::atomic<double> inputTarget_, aDriveTarget_, bDriveTarget_, Dg_, Dinv_, Dq_;
  std::atomic<double> aLow_, aMid_, aHigh_, aContour_, aGc_;
  std::atomic<double> bLow_, bMid_, bHigh_, bContour_, bGc_;
  std::atomic<float> volume_;
  std::atomic<bool> stereo_, highQuality_, channelB_, bHighGain_, aCrunch_, aFocus_, aBottom_,
      aBright_, bFocus_, bBottom_, bBright_;
  std::atomic<bool> redesignPending_;
};

}  // namespace vortan

#include "vortan/model/engine_controls.h"

#include <cmath>

namespace vortan {

bool isSwitchParameter(int index) noexcept {
  switch (index) {
    case EngineParam::kChannel:
    case EngineParam::kCleanCrunch:
    case EngineParam::kLowHighGain:
    case EngineParam::kChaOpenFocus:
    case EngineParam::kChaBottom:
    case EngineParam::kChaBright:
    case EngineParam::kChbOpenFocus:
    case EngineParam::kChbBottom:
    case EngineParam::kChbBright:
    case EngineParam::kMonoStereo:
    case EngineParam::kQuality:
      return true;
    default:
      return false;
  }
}

double driveTaper(double v) noexcept {
  return 0.770975 * v * v * v - 0.171884 * v * v + 0.311276 * v + 0.086128;
}

double driveGridGain(double D) noexcept {
  return 0.75 * (0.590752 * D * D * D - 0.645902 * D * D + 0.888518 * D);
}

double contourGain(double v) noexcept { return 1.0298 * v - 0.1077 * v * v + 0.5225; }

bool operator==(const ControlValues& a, const ControlValues& b) noexcept {
  return a.inputTarget == b.inputTarget && a.aDriveTarget == b.aDriveTarget &&
         a.bDriveTarget == b.bDriveTarget && a.Dg == b.Dg && a.Dinv == b.Dinv && a.Dq == b.Dq &&
         a.aLow == b.aLow && a.aMid == b.aMid && a.aHigh == b.aHigh && a.aContour == b.aContour &&
         a.aGc == b.aGc && a.bLow == b.bLow && a.bMid == b.bMid && a.bHigh == b.bHigh &&
         a.bContour == b.bContour && a.bGc == b.bGc && a.volume == b.volume &&
         a.stereo == b.stereo && a.highQuality == b.highQuality && a.channelB == b.channelB &&
         a.bHighGain == b.bHighGain && a.aCrunch == b.aCrunch && a.aFocus == b.aFocus &&
         a.aBottom == b.aBottom && a.aBright == b.aBright && a.bFocus == b.bFocus &&
         a.bBottom == b.bBottom && a.bBright == b.bBright;
}

EngineControls::EngineControls() noexcept
    : inputTarget_(0.0),
      aDriveTarget_(0.0),
      bDriveTarget_(0.0),
      Dg_(0.0),
      Dinv_(0.0),
      Dq_(0.0),
      aLow_(0.0),
      aMid_(0.0),
      aHigh_(0.0),
      aContour_(0.0),
      aGc_(0.0),
      bLow_(0.0),
      bMid_(0.0),
      bHigh_(0.0),
      bContour_(0.0),
      bGc_(0.0),
      volume_(0.0f),
      stereo_(false),
      highQuality_(false),
      channelB_(false),
      bHighGain_(false),
      aCrunch_(false),
      aFocus_(false),
      aBottom_(false),
      aBright_(false),
      bFocus_(false),
      bBottom_(false),
      bBright_(false),
      redesignPending_(false) {
  for (int i = 0; i < EngineParam::kCount; ++i) {
    if (!isSwitchParameter(i)) setControl(i, 0.5f);
  }
}

void EngineControls::setSwitch(int index, bool on) noexcept {
  switch (index) {
    case EngineParam::kChannel:
      put(channelB_, on);
      break;
    case EngineParam::kCleanCrunch:
      put(aCrunch_, on);
      break;
    case EngineParam::kLowHighGain:
      put(bHighGain_, on);
      break;
    case EngineParam::kChaOpenFocus:
      put(aFocus_, on);
      break;
    case EngineParam::kChaBottom:
      put(aBottom_, on);
      break;
    case EngineParam::kChaBright:
      put(aBright_, on);
      break;
    case EngineParam::kChbOpenFocus:
      put(bFocus_, on);
      break;
    case EngineParam::kChbBottom:
      put(bBottom_, on);
      break;
    case EngineParam::kChbBright:
      put(bBright_, on);
      break;
    case EngineParam::kMonoStereo:
      put(stereo_, on);
      break;
    case EngineParam::kQuality:
      put(highQuality_, on);
      requestRedesign();
      break;
    default:
      break;
  }
}

void EngineControls::setControl(int index, float value) noexcept {
  // A host may send anything; the tapers are only meaningful on 0..1 and a
  // NaN would stay in the tone-stack memories for good.
  const double v = std::isnan(value) ? 0.0 : value < 0.0f ? 0.0 : value > 1.0f ? 1.0 : value;
  switch (index) {
    case EngineParam::kInput: {
      const bool aClean = !get(channelB_) && !get(aCrunch_);
      put(inputTarget_, aClean ? v + 0.0001 : 2.0 * v + 0.0001);
      break;
    }
    case EngineParam::kChaDrive: {
      const double D = driveTaper(v);
      put(aDriveTarget_, get(aCrunch_) ? D : D * 0.5);
      const double Dg = driveGridGain(D);
      put(Dg_, Dg);
      put(Dinv_, 1.0 / (Dg + 0.00001));
      put(Dq_, std::sqrt(2.0 * Dg));
      break;
    }
    case EngineParam::kChbDrive:
      put(bDriveTarget_, driveTaper(v));
      break;
    case EngineParam::kChaLow:
      put(aLow_, v);
      break;
    case EngineParam::kChaMid:
      put(aMid_, v);
      break;
    case EngineParam::kChaHigh:
      put(aHigh_, v);
      break;
    case EngineParam::kChaContour:
      put(aContour_, v);
      put(aGc_, contourGain(v));
      break;
    case EngineParam::kChbLow:
      put(bLow_, v);
      break;
    case EngineParam::kChbMid:
      put(bMid_, v);
      break;
    case EngineParam::kChbHigh:
      put(bHigh_, v);
      break;
    case EngineParam::kChbContour:
      put(bContour_, v);
      put(bGc_, contourGain(v));
      break;
    case EngineParam::kVolume:
      put(volume_, static_cast<float>(v));
      break;
    default:
      break;
  }
}

void EngineControls::setParameter(int index, float value) noexcept {
  if (isSwitchParameter(index)) {
    setSwitch(index, value >= 0.5f);
  } else {
    setControl(index, value);
  }
}

ControlValues EngineControls::read() const noexcept {
  ControlValues c;
  c.inputTarget = get(inputTarget_);
  c.aDriveTarget = get(aDriveTarget_);
  c.bDriveTarget = get(bDriveTarget_);
  c.Dg = get(Dg_);
  c.Dinv = get(Dinv_);
  c.Dq = get(Dq_);
  c.aLow = get(aLow_);
  c.aMid = get(aMid_);
  c.aHigh = get(aHigh_);
  c.aContour = get(aContour_);
  c.aGc = get(aGc_);
  c.bLow = get(bLow_);
  c.bMid = get(bMid_);
  c.bHigh = get(bHigh_);
  c.bContour = get(bContour_);
  c.bGc = get(bGc_);
  c.volume = get(volume_);
  c.stereo = get(stereo_);
  c.highQuality = get(highQuality_);
  c.channelB = get(channelB_);
  c.bHighGain = get(bHighGain_);
  c.aCrunch = get(aCrunch_);
  c.aFocus = get(aFocus_);
  c.aBottom = get(aBottom_);
  c.aBright = get(aBright_);
  c.bFocus = get(bFocus_);
  c.bBottom = get(bBottom_);
  c.bBright = get(bBright_);
  return c;
}

}  // namespace vortan

#include "ferro/model/triode_stage.h"

#include <cmath>

#include "ferro/model/koren_triode.h"
#include "platform/lock/recursive_lock.h"

namespace Ostra {

namespace {

constexpr int32_t kMaxIterations = 3000;

// Damped fixed-point iteration for the quiescent current through Ra + Rk. It
// stops near 98 % of the first plate-voltage estimate or after 3000 steps.
void SolveOperatingPoint(double b_plus, double ra, double rk, double rpar, TriodeSolution* s) {
  const double i0 =
      b_plus / ((KorenTriode::mu + 1.0) * rk + ra + TriodeStage::kPlateResistanceEstimate);
  const double vpk0 = b_plus - i0 * (ra + rk);
  const double target = 0.98 * vpk0;
  const double i_limit = b_plus / ra;
  double i = i0;
  double i_prev = i0;
  double vp = vpk0;
  double vg = -i0 * rk;
  double distance = 10.0;
  for (int32_t n = 0; n < kMaxIterations && distance > 1e-6; ++n) {
    double ik = KorenTriode::PlateCurrent(vg, vp);
    if (ik <= 1e-7) {
      ik = 1e-8;
    } else if (ik >= i_limit) {
      ik = i_limit;
    }
    const double i_new = i + 0.005 * ((ik - i) - (i - i_prev));
    vp = b_plus - i_new * (ra + rk);
    vg = -i_new * rk;
    i_prev = i;
    i = i_new;
    distance = std::fabs(vp - target);
  }
  s->Iq = i;
  s->Vq = b_plus - s->Iq * ra;
  s->V0 = s->Vq + s->Iq * rpar;
  s->Imax = s->Vq / rpar + s->Iq;
}

// Plate voltage on the load line vp = Vq + (Iq - Ip(vg, vp)) Rpar, by the
// secant method from V0 and 0.
double SolveLoadLine(double vg, double rpar, const TriodeSolution& s) {
  auto residual = [&](double v) {
    return v - s.Vq - (s.Iq - KorenTriode::ClampedPlateCurrent(vg, v, s.Imax)) * rpar;
  };
  double v_cur = s.V0;
  double v_old = 0.0;
  double f_cur = residual(v_cur);
  double f_old = residual(v_old);
  for (int32_t n = 0; n < kMaxIterations; ++n) {
    const double df = f_cur - f_old;
    // The residual rises strictly with v; equal values mean the two points
    // have met in rounding, and a step would divide by zero.
    if (df == 0.0) break;
    const double v_new = v_cur - f_cur * (v_cur - v_old) / df;
    v_old = v_cur;
    v_cur = v_new;
    if (std::fabs(v_new - v_old) <= 1e-9) break;
    f_old = f_cur;
    f_cur = residual(v_cur);
  }
  return v_cur;
}

// Process-wide store of solved circuits. Filled under its lock at set-up;
// slots are written once and kept while the module is loaded, so stages
// may keep pointers.
struct SharedSolutions {
  static constexpr int32_t kSlots = 16;
  struct Slot {
    double b_plus, ra, rk, rl;
    TriodeSolution solution;
  };
  platform::RecursiveLock lock;
  int32_t used = 0;
  Slot slots[kSlots];
};

SharedSolutions& Shared() {
  // Static storage: released when the module is unloaded (hosts load and
  // unload plug-ins repeatedly while scanning), never while an instance lives.
  static SharedSolutions shared;
  return shared;
}

}  // namespace

void SolveTriode(double b_plus, double ra, double rk, double rl, TriodeSolution* out) noexcept {
  const double rpar = 1.0 / (1.0 / ra + 1.0 / rl);
  SolveOperatingPoint(b_plus, ra, rk, rpar, out);
  for (int32_t i = 0; i < TriodeStage::kCurveSize; ++i) {
    const double vg = 7.0 - 0.009 * i;
    const double vp = SolveLoadLine(vg, rpar, *out);
    out->curve[i] = KorenTriode::ClampedPlateCurrent(vg, vp, out->Imax);
  }
}

void TriodeStage::Setup(double rate, double b_plus, double ra, double rk, double rl, double rg,
                        double ck) {
  Bplus = b_plus;
  Ra = ra;
  Rk = rk;
  RL = rl;
  Rg = rg;
  Ck = ck;
  T = 1.0 / rate;
  Rpar = 1.0 / (1.0 / Ra + 1.0 / RL);
  gk = 1.0 / (2.0 * Ck * Rk + T);
  a = kGridCoefficient * Rg;

  const TriodeSolution* solution = nullptr;
  {
    SharedSolutions& shared = Shared();
    platform::ScopedLock guard(shared.lock);
    for (int32_t k = 0; k < shared.used && solution == nullptr; ++k) {
      const SharedSolutions::Slot& slot = shared.slots[k];
      if (slot.b_plus == b_plus && slot.ra == ra && slot.rk == rk && slot.rl == rl) {
        solution = &slot.solution;
      }
    }
    if (solution == nullptr && shared.used < SharedSolutions::kSlots) {
      SharedSolutions::Slot& slot = shared.slots[shared.used];
      slot.b_plus = b_plus;
      slot.ra = ra;
      slot.rk = rk;
      slot.rl = rl;
      SolveTriode(b_plus, ra, rk, rl, &slot.solution);
      ++shared.used;
      solution = &slot.solution;
    }
  }
  if (solution != nullptr) {
    own_curve_.clear();
    Iq = solution->Iq;
    Vq = solution->Vq;
    Imax = solution->Imax;
    curve.Init(solution->curve, kCurveSize, kCurveX0, kCurveXmin);
  } else {
    TriodeSolution mine;
    SolveTriode(b_plus, ra, rk, rl, &mine);
    own_curve_.assign(mine.curve, mine.curve + kCurveSize);
    Iq = mine.Iq;
    Vq = mine.Vq;
    Imax = mine.Imax;
    curve.Init(own_curve_.data(), kCurveSize, kCurveX0, kCurveXmin);
  }

  Ip = Iq;
  Vk = Iq * Rk;
  Vk_prev = Vk;
  Vgk = -Iq * Rk;
  Ig = 0.0;
  Vx = 0.0;
  Vg = 0.0;
}

}  // namespace Ostra

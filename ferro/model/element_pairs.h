// The per-sample elements of the preamp chains and the power amplifier, two
// engines at once: lane 0 holds the left engine's element, lane 1 the right
// one's, each with its own coefficients and state. A pair is a working copy
// for one block: built from the two elements, run, and stored back, so each
// element ends the block as its own Process leaves it.
//
// Each Process is the expression of the single element, written the same way
// term for term, so every lane computes the same IEEE operations in the same
// order (the products of coefficients that the single element forms first,
// such as R Cr, are formed once per block: the same values). Audio thread.
#pragma once

#include "ferro/model/circuit_filter.h"
#include "ferro/model/curve_pairs.h"
#include "ferro/model/feedback_network.h"
#include "ferro/model/green_input_network.h"
#include "ferro/model/lane_pair.h"
#include "ferro/model/pre_power_shelf.h"
#include "ferro/model/rc_sections.h"
#include "ferro/model/red_lead_network.h"
#include "ferro/model/triode_stage.h"

namespace Ostra {

inline LanePair Lanes(double lane0, double lane1) noexcept { return LanePair::Make(lane0, lane1); }

inline void StoreLanes(LanePair p, double& lane0, double& lane1) noexcept {
  lane0 = p.Lane0();
  lane1 = p.Lane1();
}

struct RcHighpassPair {
  RcHighpassPair(const RcHighpass& l, const RcHighpass& r) noexcept
      : rc(Lanes(l.c.R * l.c.Cr, r.c.R * r.c.Cr)),
        g(Lanes(l.c.g, r.c.g)),
        y(Lanes(l.y, r.y)),
        x_prev(Lanes(l.x_prev, r.x_prev)) {}
  // After a sample the section's input x equals x_prev (a block has at
  // least one sample).
  void Store(RcHighpass& l, RcHighpass& r) const noexcept {
    StoreLanes(y, l.y, r.y);
    StoreLanes(x_prev, l.x, r.x);
    StoreLanes(x_prev, l.x_prev, r.x_prev);
  }
  void Process(LanePair& w) noexcept {
    const LanePair x = w + 1e-12;
    y = rc * (x - x_prev + y) * g;
    x_prev = x;
    w = y + 1e-12;
  }
  LanePair rc, g, y, x_prev;
};

struct RcLowpassPair {
  RcLowpassPair(const RcLowpass& l, const RcLowpass& r) noexcept
      : rc(Lanes(l.c.R * l.c.Cr, r.c.R * r.c.Cr)),
        t(Lanes(l.c.T, r.c.T)),
        g(Lanes(l.c.g, r.c.g)),
        y(Lanes(l.y, r.y)),
        x(Lanes(l.x, r.x)) {}
  void Store(RcLowpass& l, RcLowpass& r) const noexcept {
    StoreLanes(y, l.y, r.y);
    StoreLanes(x, l.x, r.x);
  }
  void Process(LanePair& w) noexcept {
    x = w + 1e-12;
    y = (rc * y + t * x) * g;
    w = y + 1e-12;
  }
  LanePair rc, t, g, y, x;
};

template <int N>
struct CircuitFilterPair {
  CircuitFilterPair(const CircuitFilter<N>& l, const CircuitFilter<N>& r) noexcept {
    for (int i = 0; i <= N; ++i) {
      b[i] = Lanes(l.b[i], r.b[i]);
      a[i] = Lanes(l.a[i], r.a[i]);
    }
    for (int i = 0; i < N; ++i) s[i] = Lanes(l.s[i], r.s[i]);
  }
  void Store(CircuitFilter<N>& l, CircuitFilter<N>& r) const noexcept {
    for (int i = 0; i < N; ++i) StoreLanes(s[i], l.s[i], r.s[i]);
  }
  // After a redesign of either element (states stay).
  void LoadCoefficients(const CircuitFilter<N>& l, const CircuitFilter<N>& r) noexcept {
    for (int i = 0; i <= N; ++i) {
      b[i] = Lanes(l.b[i], r.b[i]);
      a[i] = Lanes(l.a[i], r.a[i]);
    }
  }
  LanePair Process(LanePair x) noexcept {
    x = x + 1e-12;
    const LanePair y = b[0] * x + s[0];
    for (int i = 1; i < N; ++i) s[i - 1] = b[i] * x + s[i] - a[i] * y;
    s[N - 1] = b[N] * x - a[N] * y;
    return y + 1e-12;
  }
  LanePair b[N + 1], a[N + 1], s[N];
};

// The GREEN input network with its pot glide: each lane's glide step runs on
// its own network (the counter, the position and the redesign live there),
// and a redesign is taken into the pair's coefficients before the sample.
class GreenInputPair {
 public:
  GreenInputPair(GreenInputNetwork& l, GreenInputNetwork& r) noexcept
      : l_(l), r_(r), filter_(l, r) {}
  void Store(GreenInputNetwork& l, GreenInputNetwork& r) const noexcept { filter_.Store(l, r); }
  LanePair Process(LanePair x) noexcept {
    const bool moved_l = GlideStep(l_);
    const bool moved_r = GlideStep(r_);
    if (moved_l || moved_r) filter_.LoadCoefficients(l_, r_);
    return filter_.Process(x);
  }

 private:
  // GreenInputNetwork::Process before its filter; true after a redesign.
  static bool GlideStep(GreenInputNetwork& n) noexcept {
    bool moved = false;
    if (n.counter > GreenInputNetwork::kGlideInterval - 1) {
      n.counter = 0;
      const double distance = n.target - n.current;
      if (distance > GreenInputNetwork::kGlideTolerance ||
          distance < -GreenInputNetwork::kGlideTolerance) {
        n.current = n.current + n.factor * distance;
        n.Design(n.fs, n.current, n.crunch);
        moved = true;
      }
    }
    ++n.counter;
    return moved;
  }

  GreenInputNetwork& l_;
  GreenInputNetwork& r_;
  CircuitFilterPair<4> filter_;
};

struct TriodePair {
  TriodePair(const TriodeState& l, const TriodeState& r) noexcept
      : curve(l.curve, r.curve),
        T(Lanes(l.T, r.T)),
        Rk(Lanes(l.Rk, r.Rk)),
        Rg(Lanes(l.Rg, r.Rg)),
        Ck2(Lanes(2.0 * l.Ck, 2.0 * r.Ck)),
        Rpar(Lanes(l.Rpar, r.Rpar)),
        Iq(Lanes(l.Iq, r.Iq)),
        Vq(Lanes(l.Vq, r.Vq)),
        gk(Lanes(l.gk, r.gk)),
        a(Lanes(l.a, r.a)),
        Vg(Lanes(l.Vg, r.Vg)),
        Vgk(Lanes(l.Vgk, r.Vgk)),
        Vx(Lanes(l.Vx, r.Vx)),
        Ig(Lanes(l.Ig, r.Ig)),
        Ip(Lanes(l.Ip, r.Ip)),
        Vk(Lanes(l.Vk, r.Vk)),
        Vk_prev(Lanes(l.Vk_prev, r.Vk_prev)),
        iC(Lanes(l.iC, r.iC)),
        iC_prev(Lanes(l.iC_prev, r.iC_prev)) {}
  void Store(TriodeState& l, TriodeState& r) const noexcept {
    StoreLanes(Vg, l.Vg, r.Vg);
    StoreLanes(Vgk, l.Vgk, r.Vgk);
    StoreLanes(Vx, l.Vx, r.Vx);
    StoreLanes(Ig, l.Ig, r.Ig);
    StoreLanes(Ip, l.Ip, r.Ip);
    StoreLanes(Vk, l.Vk, r.Vk);
    StoreLanes(Vk_prev, l.Vk_prev, r.Vk_prev);
    StoreLanes(iC, l.iC, r.iC);
    StoreLanes(iC_prev, l.iC_prev, r.iC_prev);
  }
  // Grid conduction is worked out only when a lane conducts, and taken only
  // in the lanes that do; the other lanes keep Ig = 0 and their Vx.
  void Process(LanePair& w) noexcept {
    Vg = w + 1e-12;
    Vgk = Vg - Vk;
    Ig = LanePair::Both(0.0);
    const LaneMask conducting = Vgk > 0.0;
    if (conducting.Any()) {
      const LanePair vx =
          (0.5 * Sqrt(1.0 + a * a + a * (4.0 * Vgk + 2.0)) - 0.5 + a * (Vk - 0.5)) / a;
      const LanePair ig = (Vg - vx) / Rg;
      Vx = Select(conducting, vx, Vx);
      Ig = SelectOrZero(conducting, ig);
    }
    Ip = curve.LookupLinear(Vgk);
    const LanePair vk_new = ((Ip + Ig + iC) * T + Ck2 * Vk) * Rk * gk;
    const LanePair ic_new = Ck2 * (vk_new - Vk) / T - iC;
    Vk_prev = Vk;
    Vk = vk_new;
    iC_prev = iC;
    iC = ic_new;
    w = (Iq - Ip) * Rpar + Vq;
  }
  CurvePair curve;
  LanePair T, Rk, Rg, Ck2, Rpar, Iq, Vq, gk, a;  // Ck2 = 2 Ck
  LanePair Vg, Vgk, Vx, Ig, Ip, Vk, Vk_prev, iC, iC_prev;
};

struct RedLeadNetworkPair {
  RedLeadNetworkPair(const RedLeadNetwork& l, const RedLeadNetwork& r) noexcept
      : x1(Lanes(l.x1, r.x1)), x2(Lanes(l.x2, r.x2)), y1(Lanes(l.y1, r.y1)), y2(Lanes(l.y2, r.y2)) {
    for (int i = 0; i < 6; ++i) c[i] = Lanes(l.c[i], r.c[i]);
  }
  void Store(RedLeadNetwork& l, RedLeadNetwork& r) const noexcept {
    StoreLanes(x1, l.x1, r.x1);
    StoreLanes(x2, l.x2, r.x2);
    StoreLanes(y1, l.y1, r.y1);
    StoreLanes(y2, l.y2, r.y2);
  }
  LanePair Process(LanePair w) noexcept {
    const LanePair x = w + 1e-12;
    const LanePair y = (c[0] * x2 + c[1] * x1 + c[2] * x - c[3] * y2 - c[4] * y1) * c[5];
    x2 = x1;
    x1 = x;
    y2 = y1;
    y1 = y;
    return y + 1e-12;
  }
  LanePair c[6];
  LanePair x1, x2, y1, y2;
};

struct PrePowerShelfPair {
  PrePowerShelfPair(const PrePowerShelf& l, const PrePowerShelf& r) noexcept
      : m(Lanes(l.m, r.m)),
        m_plus_e(Lanes(l.m + l.e, r.m + r.e)),
        e_times_f(Lanes(l.e * l.f, r.e * r.f)),
        f(Lanes(l.f, r.f)),
        k_in(Lanes(l.k_in, r.k_in)),
        g(Lanes(l.g, r.g)),
        h(Lanes(l.h, r.h)),
        s(Lanes(l.s, r.s)) {}
  void Store(PrePowerShelf& l, PrePowerShelf& r) const noexcept { StoreLanes(s, l.s, r.s); }
  LanePair Process(LanePair w) noexcept {
    const LanePair u = k_in * w + 1e-12;
    const LanePair y = ((m_plus_e * u - s * m) * f + g * u) * h;
    s = (e_times_f * s + g * u) * h;
    return y + 1e-12;
  }
  LanePair m, m_plus_e, e_times_f, f, k_in, g, h, s;
};

struct FeedbackNetworkPair {
  FeedbackNetworkPair(const FeedbackNetwork& l, const FeedbackNetwork& r) noexcept
      : T(Lanes(l.T, r.T)),
        R1(Lanes(l.R1, r.R1)),
        R0(Lanes(l.R0, r.R0)),
        R2(Lanes(l.R2, r.R2)),
        Rr(Lanes(l.Rr, r.Rr)),
        C1(Lanes(l.C1, r.C1)),
        C3(Lanes(l.C3, r.C3)),
        TR2(Lanes(l.T * l.R2, r.T * r.R2)),
        C2Rp(Lanes(l.C2 * l.Rp, r.C2 * r.Rp)),
        g(Lanes(l.g, r.g)),
        v(Lanes(l.v, r.v)),
        f(Lanes(l.f, r.f)),
        h(Lanes(l.h, r.h)),
        q(Lanes(l.q, r.q)),
        e(Lanes(l.e, r.e)),
        K(Lanes(l.K, r.K)),
        invK(Lanes(l.invK, r.invK)),
        invD(Lanes(l.invD, r.invD)),
        gh(Lanes(l.gh, r.gh)),
        gg(Lanes(l.gg, r.gg)),
        gf(Lanes(l.gf, r.gf)),
        gq(Lanes(l.gq, r.gq)),
        KP(Lanes(l.KP, r.KP)),
        alpha_g(Lanes(l.alpha_g, r.alpha_g)),
        alpha_f(Lanes(l.alpha_f, r.alpha_f)),
        alpha_h(Lanes(l.alpha_h, r.alpha_h)) {}
  void Store(FeedbackNetwork& l, FeedbackNetwork& r) const noexcept {
    StoreLanes(g, l.g, r.g);
    StoreLanes(v, l.v, r.v);
    StoreLanes(f, l.f, r.f);
    StoreLanes(h, l.h, r.h);
    StoreLanes(q, l.q, r.q);
    StoreLanes(e, l.e, r.e);
  }
  void Process(LanePair& w) noexcept {
    e = w + 1e-12;
    const LanePair A = (KP * e + alpha_g * (v - g) + alpha_f * (v - f) + alpha_h * h) * invD;
    const LanePair f_new = (((A + f - v) * C1 * R2 + q * T) * Rr + TR2 * A) * gf;
    const LanePair g_new = (A - v + g) * R1 * C3 * gg;
    const LanePair q_new = ((e - g_new) * K * R2 + R0 * f_new) * gq;
    const LanePair h_new = (A * T + C2Rp * h) * gh;
    v = A;
    f = f_new;
    g = g_new;
    q = q_new;
    h = h_new;
    w = (q_new + 1e-12) * invK + 1e-12;
  }
  LanePair T, R1, R0, R2, Rr, C1, C3;
  LanePair TR2, C2Rp;  // T R2 and C2 Rp
  LanePair g, v, f, h, q, e;
  LanePair K, invK, invD, gh, gg, gf, gq, KP, alpha_g, alpha_f, alpha_h;
};

// A pair as a working copy of two elements (or of their per-sample parts, T)
// for one block, stored back when the block ends.
template <class Pair, class T, class Home = T>
class WorkingPair {
 public:
  WorkingPair(Home& left, Home& right) noexcept : left_(left), right_(right), value_(left, right) {}
  ~WorkingPair() { value_.Store(left_, right_); }
  WorkingPair(const WorkingPair&) = delete;
  WorkingPair& operator=(const WorkingPair&) = delete;
  Pair& operator*() noexcept { return value_; }

 private:
  T& left_;
  T& right_;
  Pair value_;
};

}  // namespace Ostra

// GreenInputNetwork: the GREEN channel's gain pot and input voicing network
// after the first triode stage, fourth order, passing DC. GREEN:Crunch swaps
// three of its elements.
//
// The pot position glides: every 51 engine-rate samples the current position
// moves half of the way to the target and the network is redesigned, on the
// audio thread, until the two are within 1e-6.
#pragma once

#include <cstdint>

#include "ferro/model/circuit_filter.h"

namespace Ostra {

struct GreenInputNetwork : CircuitFilter<4> {
  static constexpr int32_t kGlideInterval = 51;  // samples between glide steps
  static constexpr double kGlideTolerance = 1e-6;

  double target = 0.1;   // latest pot position asked for (after the gain taper)
  double current = 0.3;  // position the coefficients are designed for
  double factor = 0.5;   // share of the remaining distance covered per step
  int32_t counter = 0;
  bool crunch = false;  // crunch switch of the last design

  static void Analog(double c, bool crunch_on, double (&B)[5], double (&A)[5]) noexcept;

  // Designs for position c with the crunch switch; writes coefficients only.
  void Design(double fs_hz, double c, bool crunch_on) noexcept;

  // Parameter change: a new target for the glide. A crunch change, or an
  // engine rate more than 1 Hz away from the last design, redesigns at once
  // with the current position.
  void SetTarget(double new_target, bool crunch_on, double engine_rate) noexcept;

  // Engine rate change: redesigns with the current position only when the
  // rate moved by more than 1 Hz.
  void SetRate(double engine_rate) noexcept;

  // Crunch switch change: redesigns at once with the current position.
  void SetCrunch(bool crunch_on) noexcept;

  // One engine-rate sample, with the glide step before it. Audio thread.
  double Process(double x) noexcept {
    if (counter > kGlideInterval - 1) {
      counter = 0;
      const double distance = target - current;
      if (distance > kGlideTolerance || distance < -kGlideTolerance) {
        current = current + factor * distance;
        Design(fs, current, crunch);
      }
    }
    ++counter;
    return CircuitFilter<4>::Process(x);
  }
};

}  // namespace Ostra

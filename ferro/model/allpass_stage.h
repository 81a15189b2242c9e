// AllpassStage: the second-order allpass section (a + z^-2)/(1 + a*z^-2) of a
// polyphase halfband branch.
//
// The recursion needs only the input and output of two calls ago, so the
// history is kept in two slots that the owning cascade alternates between
// (slot = call parity); this is the same arithmetic as shifting a three-deep
// history, without the moves.
#pragma once

namespace Ostra {

struct AllpassStage {
  double a = 0.0;
  double x_hist[2] = {0.0, 0.0};  // input of two calls ago, by slot
  double y_hist[2] = {0.0, 0.0};  // output of two calls ago, by slot

  // x already carries the cascade's 1e-24 offset; the recursion adds its own
  // so the state never decays into the denormal range. Audio thread.
  double Process(double x, int slot) noexcept {
    const double x2 = x_hist[slot];
    const double y2 = y_hist[slot];
    const double y = (x + 1e-24 - y2) * a + x2;
    x_hist[slot] = x;
    y_hist[slot] = y;
    return y;
  }
};

}  // namespace Ostra

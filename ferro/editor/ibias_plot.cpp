#include "ferro/editor/ibias_plot.h"

#include <cmath>

#include "ferro/graphics/igraphics_lice.h"

namespace {
const IColor kCurveColour{255, 255, 255, 255};
const IColor kBiasColour{255, 200, 0, 0};
}  // namespace

IBiasPlot::IBiasPlot(IPlugBase* plug, int x, int y, int width, int height)
    : IControl(plug, IRect{x, y, x + width, y + height}),
      x_(x),
      y_(y),
      width_(width < kMaxColumns ? width : kMaxColumns),
      height_(height) {
  SetTargetRect(IRect{});
}

void IBiasPlot::SetTubeType(int type) {
  if (type < 0) type = 0;
  if (type >= Ostra::curves::kPowerValveTypes) type = Ostra::curves::kPowerValveTypes - 1;
  if (type == tubeType_) return;
  tubeType_ = type;
  for (int i = 0; i < kCurveSize; ++i) curve_[i] = Ostra::curves::kPowerValveCurves[type][i];
  ++curveLoads_;
}

int IBiasPlot::RowFor(double plateVolts) const {
  const double row = y_ + height_ - plateVolts * height_ / kFullScaleVolts + 0.5;
  return static_cast<int>(std::floor(row));
}

double IBiasPlot::LineX(double bias) const { return x_ + width_ - std::fabs(bias); }

void IBiasPlot::TakeSnapshot() {
  IControl::TakeSnapshot();
  drawnShow_ = show_;
  drawnBias_ = bias_;
  for (int n = 0; n <= width_; ++n) {
    const int entry = kFirstEntry + kEntryStep * n;
    drawnSamples_[n] = entry < kCurveSize ? curve_[entry] : curve_[kCurveSize - 1];
  }
}

bool IBiasPlot::Draw(IGraphicsLice* graphics) {
  graphics->RequestMarkAllChanged();  // itself and, below, every control
  if (drawnShow_) {
    for (int n = width_; n >= 0; --n)
      graphics->DrawPoint(kCurveColour, static_cast<float>(x_ + n),
                          static_cast<float>(RowFor(drawnSamples_[n])));
    const float lineX = static_cast<float>(LineX(drawnBias_));
    graphics->DrawLine(kBiasColour, lineX, static_cast<float>(y_), lineX,
                       static_cast<float>(y_ + height_), true);
  }
  return drawnShow_;
}

// The small graph on the settings panel: the selected power valve's transfer
// curve (plate volts against grid volts) as white points, and the grid bias
// as a red vertical line. Display only: no parameter, no hit area.
#pragma once

#include "ferro/graphics/icontrol.h"
#include "ferro/model/fixed_curves.h"

class IBiasPlot : public IControl {
 public:
  static constexpr int kCurveSize = Ostra::curves::kPowerValveSize;
  // Column n of the plot shows curve entry kFirstEntry + kEntryStep x n, i.e.
  // grid voltages from -10 V (entry 400) down to -101.6 V (entry 1184).
  static constexpr int kFirstEntry = 400;
  static constexpr int kEntryStep = 8;
  static constexpr double kFullScaleVolts = 500.0;  // the top edge
  static constexpr int kMaxColumns = 128;

  IBiasPlot(IPlugBase* plug, int x, int y, int width, int height);

  void SetBias(double volts) { bias_ = volts; }
  // Copies the type's curve when the type differs from the loaded one.
  void SetTubeType(int type);
  void SetShow(bool show) { show_ = show; }

  double Bias() const { return bias_; }
  int TubeType() const { return tubeType_; }
  bool Shown() const { return show_; }
  const double* Curve() const { return curve_; }
  int CurveLoads() const { return curveLoads_; }

  bool HitTest(int, int) override { return false; }
  bool NeedsRedraw() override { return true; }
  void TakeSnapshot() override;
  bool Draw(IGraphicsLice* graphics) override;

  // The pixel row of a curve value (0.5 added, then truncated).
  int RowFor(double plateVolts) const;
  // The column of the bias line: the right edge is 0 V, one pixel per volt.
  double LineX(double bias) const;

 private:
  int x_, y_, width_, height_;
  int tubeType_ = -1;
  bool show_ = false;
  double bias_ = -50.0;
  double curve_[kCurveSize] = {};
  int curveLoads_ = 0;

  // What the last snapshot saw.
  bool drawnShow_ = false;
  double drawnBias_ = -50.0;
  double drawnSamples_[kMaxColumns + 1] = {};
};

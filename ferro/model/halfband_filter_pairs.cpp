// The halfband filter over a run of sample pairs. Branch A and branch B see
// the same input sample, so their stages pair up: lane 0 carries branch A,
// lane 1 branch B, each with its own coefficient and history, and every
// vector operation is the scalar one of ProcessPair in each lane (the same
// additions, subtraction and multiplication in the same order: the same bits).
// The histories stay in vectors for the whole run; the first sample of each
// pair always uses a cascade's current slot, the second the other one.
#include "ferro/model/halfband_filter.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace Ostra {

#if defined(__SSE2__)

void HalfbandFilter::ProcessPairs(double* first, double* second, int count, int stride) noexcept {
  constexpr int kStages = kStagesPerBranch;
  AllpassStage* a = branch_a_.stages_;
  AllpassStage* b = branch_b_.stages_;
  const int a_first = branch_a_.slot_;
  const int b_first = branch_b_.slot_;
  const int a_second = a_first ^ 1;
  const int b_second = b_first ^ 1;
  __m128d coefficient[kStages];
  __m128d x_first[kStages], y_first[kStages], x_second[kStages], y_second[kStages];
  for (int i = 0; i < kStages; ++i) {
    coefficient[i] = _mm_set_pd(b[i].a, a[i].a);  // _mm_set_pd takes lane 1 first
    x_first[i] = _mm_set_pd(b[i].x_hist[b_first], a[i].x_hist[a_first]);
    y_first[i] = _mm_set_pd(b[i].y_hist[b_first], a[i].y_hist[a_first]);
    x_second[i] = _mm_set_pd(b[i].x_hist[b_second], a[i].x_hist[a_second]);
    y_second[i] = _mm_set_pd(b[i].y_hist[b_second], a[i].y_hist[a_second]);
  }
  const __m128d tiny = _mm_set1_pd(1e-24);
  double delayed = delayed_b_;
  double last = last_output_;
  for (int k = 0; k < count; ++k) {
    double& x0 = first[k * stride];
    double& x1 = second[k * stride];
    // Branch A takes the input plus this filter's 1e-24, branch B the input;
    // each cascade adds its own 1e-24.
    __m128d v0 = _mm_add_pd(_mm_set_pd(x0, x0 + 1e-24), tiny);
    __m128d v1 = _mm_add_pd(_mm_set_pd(x1, x1 + 1e-24), tiny);
    for (int i = 0; i < kStages; ++i) {
      // y = (x + 1e-24 - y2) * a + x2, per lane.
      const __m128d y0 = _mm_add_pd(
          _mm_mul_pd(_mm_sub_pd(_mm_add_pd(v0, tiny), y_first[i]), coefficient[i]), x_first[i]);
      const __m128d y1 = _mm_add_pd(
          _mm_mul_pd(_mm_sub_pd(_mm_add_pd(v1, tiny), y_second[i]), coefficient[i]), x_second[i]);
      x_first[i] = v0;
      y_first[i] = y0;
      x_second[i] = v1;
      y_second[i] = y1;
      v0 = y0;
      v1 = y1;
    }
    const double a0 = _mm_cvtsd_f64(v0);
    const double b0 = _mm_cvtsd_f64(_mm_unpackhi_pd(v0, v0));
    const double a1 = _mm_cvtsd_f64(v1);
    const double b1 = _mm_cvtsd_f64(_mm_unpackhi_pd(v1, v1));
    x0 = (a0 + delayed) * 0.5;
    x1 = (a1 + b0) * 0.5;
    delayed = b1;
    last = x1;
  }
  for (int i = 0; i < kStages; ++i) {
    double lanes[2];
    _mm_storeu_pd(lanes, x_first[i]);
    a[i].x_hist[a_first] = lanes[0];
    b[i].x_hist[b_first] = lanes[1];
    _mm_storeu_pd(lanes, y_first[i]);
    a[i].y_hist[a_first] = lanes[0];
    b[i].y_hist[b_first] = lanes[1];
    _mm_storeu_pd(lanes, x_second[i]);
    a[i].x_hist[a_second] = lanes[0];
    b[i].x_hist[b_second] = lanes[1];
    _mm_storeu_pd(lanes, y_second[i]);
    a[i].y_hist[a_second] = lanes[0];
    b[i].y_hist[b_second] = lanes[1];
  }
  delayed_b_ = delayed;
  last_output_ = last;
}

#else

void HalfbandFilter::ProcessPairs(double* first, double* second, int count, int stride) noexcept {
  for (int k = 0; k < count; ++k) ProcessPair(first[k * stride], second[k * stride]);
}

#endif

}  // namespace Ostra

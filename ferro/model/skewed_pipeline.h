// A chain of in-place per-sample steps run over a block as a skewed pipeline:
// in round i, step k works on sample i - k. Every step still sees every
// sample in order and runs the same arithmetic on it, so the result is the
// same bit for bit as running the whole chain on one sample after the other;
// but the steps of one round belong to different samples and do not depend
// on each other, so their recursions (a filter state, a cathode node) overlap
// in the processor instead of waiting for the whole chain of one sample.
//
// Each step must touch only its own element's state: two steps sharing a
// state would see it in a different order than in the plain chain.
#pragma once

#include <cstddef>
#include <tuple>
#include <utility>

namespace Ostra {
namespace skew_detail {

// Every step has a sample to work on (rounds depth - 1 .. n - 1).
template <class Chain, class T, std::size_t... k>
inline void FullRound(Chain& chain, T* w, int i, std::index_sequence<k...>) noexcept {
  (std::get<k>(chain)(w[i - static_cast<int>(k)]), ...);
}

// Filling and draining: only the steps whose sample lies inside the block.
template <class Chain, class T, std::size_t... k>
inline void EdgeRound(Chain& chain, T* w, int i, int n, std::index_sequence<k...>) noexcept {
  ((i - static_cast<int>(k) >= 0 && i - static_cast<int>(k) < n
        ? std::get<k>(chain)(w[i - static_cast<int>(k)])
        : void()),
   ...);
}

}  // namespace skew_detail

// Runs steps[0], steps[1], ... on each of w[0..n) in place (a sample is a
// double, or a pair of them for two engines side by side). Audio thread.
template <class T, class... Steps>
inline void RunSkewed(T* w, int n, Steps... steps) noexcept {
  constexpr int kDepth = static_cast<int>(sizeof...(Steps));
  std::tuple<Steps...> chain(steps...);
  const auto order = std::index_sequence_for<Steps...>{};
  const int rounds = n + kDepth - 1;
  int i = 0;
  for (; i < kDepth - 1 && i < rounds; ++i) skew_detail::EdgeRound(chain, w, i, n, order);
  for (; i < n; ++i) skew_detail::FullRound(chain, w, i, order);
  for (; i < rounds; ++i) skew_detail::EdgeRound(chain, w, i, n, order);
}

}  // namespace Ostra

// Runs N samples through a fixed sequence of stages on a diagonal schedule:
// at step t, stage e takes sample t - e. Each stage still sees its samples
// in order (0, 1, ... N-1) and each sample still meets the stages in order,
// so the results equal running every sample through all stages in turn;
// but neighbouring stages work on different samples at once, which lets
// the processor overlap their long dependency chains (a triode stage's
// cathode update waits for its whole plate-curve evaluation). N = 1 is the
// plain per-sample path. The schedule is fixed at compile time.
#pragma once

#include <cstddef>
#include <tuple>
#include <utility>

namespace vortan {
namespace detail {

template <int N, int T, typename Stages, std::size_t... E>
inline void wavefrontStep(double (&x)[N], Stages& stages, std::index_sequence<E...>) noexcept {
  auto one = [&](auto e) {
    constexpr std::size_t kStage = decltype(e)::value;
    constexpr int i = T - static_cast<int>(kStage);
    if constexpr (i >= 0 && i < N) x[i] = std::get<kStage>(stages)(x[i]);
  };
  (one(std::integral_constant<std::size_t, E>{}), ...);
}

template <int N, typename Stages, std::size_t... T>
inline void wavefrontAll(double (&x)[N], Stages& stages, std::index_sequence<T...>) noexcept {
  constexpr std::size_t kStages = std::tuple_size<Stages>::value;
  (wavefrontStep<N, static_cast<int>(T)>(x, stages, std::make_index_sequence<kStages>{}), ...);
}

}  // namespace detail

// stages: callables double(double), in chain order.
template <int N, typename... Stage>
inline void wavefront(double (&x)[N], Stage... stage) noexcept {
  std::tuple<Stage...> stages(stage...);
  detail::wavefrontAll<N>(x, stages, std::make_index_sequence<N + sizeof...(Stage) - 1>{});
}

}  // namespace vortan

// Runs N samples through a fixed sequence of stages on a diagonal schedule:
// at step t, stage e takes sample t - e. Each stage still sees its samples
// in order (0, 1, ... N-1) and each sample still meets the stages in order,
// so the results equal running every sample through all stages in turn;
// but neighbouring stages work on different samples at once, which lets
// the processor overlap their long dependency chains (a triode stage's
// cathode update waits for its whole plate-curve evaluation). N = 1 is the
// plain per-sample path. With L lanes (the two sides of a stereo pair, each
// with its own stages) every step runs for each lane in turn, so the two
// independent chains overlap as well. The schedule is fixed at compile time.
#pragma once

#include <cstddef>
#include <tuple>
#include <utility>

namespace vortan {
namespace detail {

template <int L, int N, int T, typename Stages, std::size_t... E>
inline void wavefrontStep(double (&x)[L][N], Stages (&stages)[L],
                          std::index_sequence<E...>) noexcept {
  auto one = [&](auto e) {
    constexpr std::size_t kStage = decltype(e)::value;
    constexpr int i = T - static_cast<int>(kStage);
    if constexpr (i >= 0 && i < N) {
      for (int k = 0; k < L; ++k) x[k][i] = std::get<kStage>(stages[k])(x[k][i]);
    }
  };
  (one(std::integral_constant<std::size_t, E>{}), ...);
}

template <int L, int N, typename Stages, std::size_t... T>
inline void wavefrontAll(double (&x)[L][N], Stages (&stages)[L],
                         std::index_sequence<T...>) noexcept {
  constexpr std::size_t kStages = std::tuple_size<Stages>::value;
  (wavefrontStep<L, N, static_cast<int>(T)>(x, stages, std::make_index_sequence<kStages>{}), ...);
}

}  // namespace detail

// x[lane][sample]; stages[lane]: a tuple of callables double(double), in
// chain order.
template <int L, int N, typename Stages>
inline void wavefront(double (&x)[L][N], Stages (&stages)[L]) noexcept {
  constexpr std::size_t kStages = std::tuple_size<Stages>::value;
  detail::wavefrontAll<L, N>(x, stages, std::make_index_sequence<N + kStages - 1>{});
}

}  // namespace vortan

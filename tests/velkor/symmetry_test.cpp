// Symmetries of the interaction integrals that the program relies on when it fills its
// matrices from absolute offsets, and that follow from the kernels' parity in kx and
// ky and from the quadrature nodes mapping onto each other under reflections. (The
// integrand's own symmetry in the angle, which the evaluation exploits, is held to
// the transcription by oracle_agreement_test.)
#include <gtest/gtest.h>

#include <utility>

#include "tests/velkor/kernel_calls.h"

namespace velkor_test {
namespace {

constexpr double Tight = 1e-12;

const Slab Board{1200.0, 4.3, 1.5e-3};

Limits board_limits() { return tail_of(Board, 60, 2.0); }

TEST(InteractionSymmetry, CrossCouplingOfCoincidentElementsVanishes) {
  const Pair coincident{0, 0, 0.5e-3, 0.5e-3, 0.5e-3};
  const double copolar = std::abs(interaction(_impxx, Board, coincident, board_limits()));
  EXPECT_LT(std::abs(interaction(_impxy, Board, coincident, board_limits())), Tight * copolar);
  EXPECT_LT(std::abs(interaction(_impyx, Board, coincident, board_limits())), Tight * copolar);
}

TEST(InteractionSymmetry, CoPolarCouplingIsEvenInEachOffset) {
  const Pair p{3e-3, 1.5e-3, 0.5e-3, 0.3e-3, 0.4e-3};
  for (InteractionExport kernel : {_impxx, _impyy}) {
    const Complex z = interaction(kernel, Board, p, board_limits());
    const Pair flips[] = {{-p.dx, p.dy, p.ax, p.ay, p.at},
                          {p.dx, -p.dy, p.ax, p.ay, p.at},
                          {-p.dx, -p.dy, p.ax, p.ay, p.at}};
    for (const Pair& flipped : flips)
      EXPECT_LT(relative_error(interaction(kernel, Board, flipped, board_limits()), z), Tight)
          << flipped.dx << ", " << flipped.dy;
  }
}

// The sign rule of the program's cross-coupling table: one flipped offset changes the
// sign, two restore it.
TEST(InteractionSymmetry, CrossCouplingIsOddInEachOffset) {
  const Pair p{3e-3, 1.5e-3, 0.5e-3, 0.3e-3, 0.4e-3};
  for (InteractionExport kernel : {_impxy, _impyx}) {
    const Complex z = interaction(kernel, Board, p, board_limits());
    for (auto [sx, sy] : {std::pair{-1.0, 1.0}, {1.0, -1.0}, {-1.0, -1.0}}) {
      const Pair flipped{sx * p.dx, sy * p.dy, p.ax, p.ay, p.at};
      EXPECT_LT(relative_error(sx * sy * interaction(kernel, Board, flipped, board_limits()), z),
                Tight)
          << sx << ", " << sy;
    }
  }
}

// Reflecting the layout in the line x = y turns x-directed elements into y-directed
// ones and swaps the offsets and the source half-sizes.
TEST(InteractionSymmetry, ReflectionInTheDiagonalSwapsXAndY) {
  const Pair p{2.5e-3, -4e-3, 0.7e-3, 0.3e-3, 0.45e-3};
  const Pair reflected{p.dy, p.dx, p.ay, p.ax, p.at};
  EXPECT_LT(relative_error(interaction(_impyy, Board, p, board_limits()),
                           interaction(_impxx, Board, reflected, board_limits())),
            Tight);
  EXPECT_LT(relative_error(interaction(_impyx, Board, p, board_limits()),
                           interaction(_impxy, Board, reflected, board_limits())),
            Tight);
}

}  // namespace
}  // namespace velkor_test

// A coupled layout of 3000 unknowns, beyond the default limit of 2000: with the
// limit lifted it computes, and the program's solution is the one LAPACK's zgesv
// finds for the same matrix and right-hand side.
#include <gtest/gtest.h>
#include <lapacke.h>

#include <cmath>

#include "solver/dense_lu.h"
#include "studies/linear_system.h"
#include "tests/engine/engine_fixtures.h"

namespace lumetra {
namespace {

using testing::SingleFrequency;
using testing::TempDir;

double Norm(const std::vector<Complex>& v) {
  double sum = 0.0;
  for (const Complex& z : v) sum += z.Re * z.Re + z.Im * z.Im;
  return std::sqrt(sum);
}

TEST(LargeSystem, ThreeThousandCoupledUnknownsSolveAsZgesvDoes) {
  TempDir dir;
  // 177 x 9 cells of 1 mm: 176 * 9 = 1584 Jx and 177 * 8 = 1416 Jy elements, fed in
  // the middle of its fifth row.
  Project project = testing::StripDipole(dir, 60, 2, 20);
  project.Segments = {{100, 50, 177, 9, 177, 9}};
  project.VoltageSources = {{100, 50, 1, 1, 1.0, 0.0, true, 4 * 176 + 88}};
  ComputationSettings settings = SingleFrequency(500);
  settings.MaxUnknowns = 3000;

  std::vector<Complex> matrix, rhs, solution;
  std::int32_t unknowns = 0;
  const FrequencyPointSolver capture = [&](SystemLayout layout, AssemblyInput& in,
                                           ComputationControl& control,
                                           FrequencyPointResult& result, std::string&) {
    LinearSystem s;
    if (AssembleSystem(layout, in, control, s, result) != AssemblyOutcome::Assembled) return false;
    unknowns = s.XRows() + s.YRows();
    const Complex* whole = s.Blocks.A.Data();
    matrix.assign(whole, whole + std::size_t(unknowns) * std::size_t(unknowns));
    rhs.assign(s.Vx.Data(), s.Vx.Data() + s.NX);
    rhs.insert(rhs.end(), s.Vy.Data(), s.Vy.Data() + s.NY);
    bool failed = false;
    BlockLUSolve(s.Blocks.A, s.Blocks.Bm, s.Blocks.C, s.Blocks.D, s.Ix, s.Iy, s.Vx, s.Vy, control,
                 failed);
    solution.assign(s.Ix.Data(), s.Ix.Data() + s.NX);
    solution.insert(solution.end(), s.Iy.Data(), s.Iy.Data() + s.NY);
    return !failed;
  };
  testing::RecordingUi ui;
  ComputationControl control(ui);
  RunEnvironment environment;
  environment.WorkDirectory = environment.StartupDirectory = dir.path();
  const ComputationReport report =
      RunComputation(project, settings, environment, control, {}, capture);
  ASSERT_EQ(report.Points.size(), 1u) << (ui.messages.empty() ? "" : ui.messages.front());
  ASSERT_EQ(unknowns, 3000);
  EXPECT_EQ(ui.questions, std::vector<std::string>{"3000 unknowns. Proceed with computation?"});

  std::vector<lapack_int> pivots(3000);
  ASSERT_EQ(LAPACKE_zgesv(LAPACK_COL_MAJOR, 3000, 1,
                          reinterpret_cast<lapack_complex_double*>(matrix.data()), 3000,
                          pivots.data(), reinterpret_cast<lapack_complex_double*>(rhs.data()),
                          3000),
            0);
  std::vector<Complex> difference(3000);
  for (std::size_t i = 0; i < 3000; ++i) difference[i] = CSub(solution[i], rhs[i]);
  EXPECT_GT(Norm(rhs), 0.0);
  EXPECT_LE(Norm(difference), 1e-10 * Norm(rhs));
}

}  // namespace
}  // namespace lumetra

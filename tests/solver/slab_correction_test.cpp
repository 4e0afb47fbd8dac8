// The rigorous slab correction: the table-driven fill on all cores against the
// rule written out (record lists, copies, one call per Zyx entry) and against one
// kernel call per entry; the table's matching of offsets and sizes; abort and bad
// blocks.
#include <gtest/gtest.h>

#include <cmath>
#include <stdexcept>
#include <tuple>

#include "solver/dielectric_correction.h"
#include "solver/kernel_table.h"
#include "solver/physical_constants.h"
#include "tests/solver/fill_reference.h"
#include "tests/solver/slab_correction_reference.h"
#include "tests/support/recording_ui.h"

namespace lumetra {
namespace {

using testing::BuildLayout;
using testing::RecordingUi;
using testing::RelativeMismatch;
using testing::TestBlocks;

constexpr double mm = 0.001;

// FR-4 at 2 GHz with a coarse spectral step, so that the oracle's thousands of
// calls stay quick; the comparison does not depend on the step.
SlabCorrectionRequest Slab(const ElementLists& e) {
  const double f = 2000, er = 4.4, h = 1.6 * mm;
  IntegrationSettings settings;
  settings.Points = 20;
  return {e, f, er, h, SpectralIntegrationFor(f, er, h, 0.5 * mm, settings)};
}

FillRequest Shape(const ElementLists& e) {
  return {e, MakeFrequencyConstants(2000, Eps0 * 2.7, 4.4, true, 1.6 * mm), true,
          GroundPointPlacement::None};
}

struct Corrected {
  TestBlocks table, oracle;
  SlabCorrectionCount count;
};

Corrected CorrectBoth(const ElementLists& e, bool perEntryOracle) {
  Corrected c;
  testing::CreateBlocks(c.table, Shape(e));
  testing::CreateBlocks(c.oracle, Shape(e));
  RecordingUi ui;
  ComputationControl control(ui);
  SystemMatrices view = c.table.View();
  EXPECT_TRUE(AddSlabCorrection(Slab(e), view, control, &c.count));
  EXPECT_GE(ui.polls, 1);
  SystemMatrices oracle = c.oracle.View();
  if (perEntryOracle) testing::PerEntrySlabCorrection(Slab(e), oracle);
  else testing::ReferenceSlabCorrection(Slab(e), oracle);
  return c;
}

// Entry by entry for the co-polar blocks (even kernels: the tabulated value is the
// same number to rounding); against the block's largest entry for the cross-polar
// ones, whose entries at a zero offset component are rounding noise around zero.
void ExpectAgreement(const Corrected& c, const ElementLists& e) {
  const auto entrywise = [](const ComplexMatrix& a, const ComplexMatrix& b) {
    double worst = 0;
    for (std::int32_t j = 1; j <= b.Cols(); ++j)
      for (std::int32_t i = 1; i <= b.Rows(); ++i) {
        const double size = std::hypot(b(i, j).Re, b(i, j).Im);
        const double d = std::hypot(a(i, j).Re - b(i, j).Re, a(i, j).Im - b(i, j).Im);
        worst = std::max(worst, d / size);
      }
    return worst;
  };
  if (e.NX() > 0) {
    EXPECT_LT(entrywise(c.table.Zxx, c.oracle.Zxx), 1e-10);
  }
  if (e.NY() > 0) {
    EXPECT_LT(entrywise(c.table.Zyy, c.oracle.Zyy), 1e-10);
  }
  if (e.NX() > 0 && e.NY() > 0) {
    EXPECT_LT(RelativeMismatch(c.table.Zxy, c.oracle.Zxy), 1e-10);
    EXPECT_LT(RelativeMismatch(c.table.Zyx, c.oracle.Zyx), 1e-10);
  }
}

TEST(SlabCorrection, EqualElementsOfAStripNeedOneKernelValuePerDistance) {
  // 12 cells of 1 x 0.8 mm: eleven equal Jx elements, SymX.
  const ElementLists strip = BuildLayout({{6 * mm, 0.4 * mm, 12 * mm, 0.8 * mm, 12, 1}});
  ASSERT_TRUE(strip.SymX);
  const Corrected c = CorrectBoth(strip, false);
  ExpectAgreement(c, strip);
  EXPECT_EQ(std::tie(c.count.Entries, c.count.KernelCalls), std::make_tuple(121, 11));
  // The correction of a symmetric block is symmetric with a constant diagonal.
  for (std::int32_t n = 1; n <= 11; ++n)
    for (std::int32_t m = 1; m <= 11; ++m) EXPECT_EQ(c.table.Zxx(n, m), c.table.Zxx(m, n));
  EXPECT_EQ(c.table.Zxx(5, 5), c.table.Zxx(1, 1));
  // The coupling falls off with distance.
  EXPECT_GT(CAbs(c.table.Zxx(1, 1)), CAbs(c.table.Zxx(1, 11)));
}

TEST(SlabCorrection, CoupledPlaneOfSquareCellsMatchesTheRecordListsAndTheirSigns) {
  // 5 x 4 square cells of 1.5 mm: Jx and Jy elements, SymAll; every sign combination
  // of the cross-polar offsets occurs, and zero components.
  const ElementLists plane = BuildLayout({{3.75 * mm, 3 * mm, 7.5 * mm, 6 * mm, 5, 4}});
  ASSERT_TRUE(plane.SymAll && plane.SymX && plane.SymY);
  const Corrected c = CorrectBoth(plane, false);
  ExpectAgreement(c, plane);
  // 16 Jx elements (4 columns on cell edges x 4 rows) and 15 Jy (5 columns x 3 rows
  // on cell edges): distinct absolute offsets xx 4 x 4, yy 5 x 3, and for xy and yx
  // 4 along x (0.5 to 3.5 cells) times 3 along y (0.5 to 2.5 cells).
  EXPECT_EQ(std::tie(c.count.Entries, c.count.KernelCalls),
            std::make_tuple(31 * 31, 16 + 15 + 12 + 12));
  // The cross-polar coupling of two elements on one line along x or y vanishes.
  double largest = 0, onALine = 0;
  for (std::int32_t n = 1; n <= plane.NX(); ++n)
    for (std::int32_t m = 1; m <= plane.NY(); ++m) {
      const CurrentCell &t = plane.Jx[n - 1], &s = plane.Jy[m - 1];
      largest = std::max(largest, CAbs(c.table.Zxy(n, m)));
      if (std::fabs(t.X - s.X) < 1e-9 || std::fabs(t.Y - s.Y) < 1e-9)
        onALine = std::max(onALine, CAbs(c.table.Zxy(n, m)));
    }
  EXPECT_LT(onALine, 1e-9 * largest);
}

TEST(SlabCorrection, MixedSizesNeverShareAValue) {
  // The L-shape of 2 mm, 2.5 mm and 3 mm cells with connecting elements of mean
  // size: no block symmetric, every size its own kernel values.
  const ElementLists l = BuildLayout({{6 * mm, 11 * mm, 12 * mm, 2 * mm, 6, 1},
                                      {1 * mm, 5 * mm, 2 * mm, 10 * mm, 1, 4},
                                      {15 * mm, 11 * mm, 6 * mm, 2 * mm, 2, 1}});
  ASSERT_FALSE(l.SymX || l.SymY || l.SymAll);
  const Corrected c = CorrectBoth(l, true);
  ExpectAgreement(c, l);
  EXPECT_LT(c.count.KernelCalls, c.count.Entries);
}

TEST(SlabCorrection, AbortStopsTheFillAndRefusesTooSmallBlocks) {
  const ElementLists plane = BuildLayout({{3.75 * mm, 3 * mm, 7.5 * mm, 6 * mm, 5, 4}});
  TestBlocks blocks;
  testing::CreateBlocks(blocks, Shape(plane));
  RecordingUi ui;
  ui.abortAfterPolls = 1;
  ComputationControl control(ui);
  SystemMatrices view = blocks.View();
  EXPECT_FALSE(AddSlabCorrection(Slab(plane), view, control));
  EXPECT_TRUE(control.AbortRequested);

  view.Zyx = nullptr;
  RecordingUi quiet;
  ComputationControl fresh(quiet);
  EXPECT_THROW(AddSlabCorrection(Slab(plane), view, fresh), std::invalid_argument);
}

TEST(KernelTable, OffsetsWithinAPicometreAreOneRecordSizesMustBeEqual) {
  KernelTable t;
  const std::int32_t a = t.Find(KernelKind::XX, 3e-3, -1e-3, 1e-3, 0.5e-3, 1e-3);
  EXPECT_EQ(t.Find(KernelKind::XX, -3e-3, 1e-3, 1e-3, 0.5e-3, 1e-3), a);           // signs
  EXPECT_EQ(t.Find(KernelKind::XX, 3e-3 + 0.9e-12, 1e-3 - 0.9e-12, 1e-3, 0.5e-3, 1e-3), a);
  EXPECT_NE(t.Find(KernelKind::XX, 3e-3 + 2e-12, 1e-3, 1e-3, 0.5e-3, 1e-3), a);    // 2 pm off
  EXPECT_NE(t.Find(KernelKind::XX, 3e-3, 1e-3, 1e-3, 0.5e-3, 1.0000000001e-3), a);  // testing size
  EXPECT_NE(t.Find(KernelKind::XX, 3e-3, 1e-3, 1e-3, 0.6e-3, 1e-3), a);             // source size
  EXPECT_NE(t.Find(KernelKind::YY, 3e-3, 1e-3, 1e-3, 0.5e-3, 1e-3), a);             // kind
  EXPECT_EQ(t.Calls().size(), 5u);
  const auto& call = t.Calls()[static_cast<std::size_t>(a)];
  EXPECT_EQ(std::tie(call.Dx, call.Dy), std::make_tuple(3e-3, 1e-3));

  // Across a rounding boundary of the picometre lattice: 0.4 and 0.6 pm above an
  // offset round to different lattice points and are still one record.
  const double base = 5e-3 + 0.4e-12;
  const std::int32_t b = t.Find(KernelKind::XY, base, 0.0, 1e-3, 1e-3, 1e-3);
  EXPECT_EQ(t.Find(KernelKind::XY, base + 0.2e-12, 0.0, 1e-3, 1e-3, 1e-3), b);
}

}  // namespace
}  // namespace lumetra

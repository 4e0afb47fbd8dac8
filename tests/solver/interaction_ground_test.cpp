// Ground-point rows and columns in the three placements, against the
// entry-by-entry reference fill, and the signs of their terms against mirror symmetry.
#include <gtest/gtest.h>

#include <cmath>

#include "solver/interaction_fill.h"
#include "solver/physical_constants.h"
#include "tests/solver/fill_reference.h"
#include "tests/support/recording_ui.h"

namespace lumetra {
namespace {

using testing::AddGroundPoint;
using testing::BuildLayout;
using testing::RecordingUi;
using testing::RelativeMismatch;
using testing::TestBlocks;

constexpr double mm = 0.001;
enum Edge { Left = 1, Right = 2, Bottom = 3, Top = 4 };

FrequencyConstants Over(double megahertz, double heightMm) {
  return MakeFrequencyConstants(megahertz, Eps0 * 2.5, 4.0, true, heightMm * mm);
}

TestBlocks Fill(const FillRequest& request, bool reference = false) {
  TestBlocks blocks;
  testing::CreateBlocks(blocks, request);
  SystemMatrices view = blocks.View();
  if (reference) {
    testing::ReferenceFill(request, view);
  } else {
    RecordingUi ui;
    ComputationControl control(ui);
    EXPECT_TRUE(FillInteractionMatrices(request, view, control));
  }
  return blocks;
}

void ExpectAgreement(const FillRequest& request) {
  const TestBlocks optimised = Fill(request), reference = Fill(request, true);
  EXPECT_LE(RelativeMismatch(optimised.Zxx, reference.Zxx), 1e-13) << "Zxx";
  EXPECT_LE(RelativeMismatch(optimised.Zxy, reference.Zxy), 1e-13) << "Zxy";
  EXPECT_LE(RelativeMismatch(optimised.Zyx, reference.Zyx), 1e-13) << "Zyx";
  EXPECT_LE(RelativeMismatch(optimised.Zyy, reference.Zyy), 1e-13) << "Zyy";
  // Every ground-point row and column is filled.
  const ComplexMatrix& z = request.GroundPoints == GroundPointPlacement::AfterJx ? optimised.Zxx : optimised.Zyy;
  for (std::int32_t i = 1; i <= z.Rows(); ++i) {
    EXPECT_NE(z(i, z.Cols()), Complex{}) << i;
    EXPECT_NE(z(z.Rows(), i), Complex{}) << i;
  }
}

// A 20 mm strip of ten 2 x 1 mm cells (Jx only) with ground points on the left
// edge of the first cell, the right edge of the last and the bottom edge of the middle.
ElementLists StripWithGroundPoints() {
  ElementLists strip = BuildLayout({{10 * mm, 0.5 * mm, 20 * mm, 1 * mm, 10, 1}});
  AddGroundPoint(strip, 1, Left);
  AddGroundPoint(strip, 10, Right);
  AddGroundPoint(strip, 5, Bottom);
  return strip;
}

// A vertical strip of eight 1 x 2.5 mm cells (Jy only): bottom, top and a side edge.
ElementLists ColumnWithGroundPoints() {
  ElementLists column = BuildLayout({{0.5 * mm, 10 * mm, 1 * mm, 20 * mm, 1, 8}});
  AddGroundPoint(column, 1, Bottom);
  AddGroundPoint(column, 8, Top);
  AddGroundPoint(column, 4, Left);
  return column;
}

// The L-shape of mixed cell sizes with connecting elements: ground points on a cell
// shared by Jx and Jy elements, across a strip (Jx on both sides of the cell), at
// the far ends, and two on one cell.
ElementLists LShapeWithGroundPoints() {
  ElementLists l = BuildLayout({{6 * mm, 11 * mm, 12 * mm, 2 * mm, 6, 1},
                                {1 * mm, 5 * mm, 2 * mm, 10 * mm, 1, 4},
                                {15 * mm, 11 * mm, 6 * mm, 2 * mm, 2, 1}});
  AddGroundPoint(l, 1, Left);    // corner cell: Jx to the right, Jy from below
  AddGroundPoint(l, 3, Top);     // Jx elements on both sides
  AddGroundPoint(l, 7, Bottom);  // lowest cell of the vertical trace
  AddGroundPoint(l, 12, Right);  // far end of the coarse trace
  AddGroundPoint(l, 12, Top);    // same cell again
  return l;
}

TEST(InteractionGroundPoints, AfterJxAgreesWithReferenceFill) {
  const ElementLists strip = StripWithGroundPoints();
  for (double megahertz : {100.0, 3000.0, 30000.0})
    for (double height : {1.6, 0.4}) {
      SCOPED_TRACE(std::to_string(megahertz) + " MHz, h = " + std::to_string(height) + " mm");
      ExpectAgreement({strip, Over(megahertz, height), true, GroundPointPlacement::AfterJx});
    }
}

TEST(InteractionGroundPoints, AfterJyWithoutJxAgreesWithReferenceFill) {
  const ElementLists column = ColumnWithGroundPoints();
  for (double megahertz : {100.0, 30000.0}) {
    SCOPED_TRACE(std::to_string(megahertz) + " MHz");
    ExpectAgreement({column, Over(megahertz, 1.6), true, GroundPointPlacement::AfterJy});
  }
}

TEST(InteractionGroundPoints, CoupledAfterJyAgreesWithReferenceFill) {
  const ElementLists l = LShapeWithGroundPoints();
  for (double megahertz : {100.0, 3000.0, 30000.0}) {
    SCOPED_TRACE(std::to_string(megahertz) + " MHz");
    ExpectAgreement({l, Over(megahertz, 1.6), true, GroundPointPlacement::AfterJy});
  }
}

TEST(InteractionGroundPoints, ImageTermsEnterEvenWhenNotRequested) {
  const ElementLists strip = StripWithGroundPoints();
  const TestBlocks requested = Fill({strip, Over(1000.0, 1.6), true, GroundPointPlacement::AfterJx});
  const TestBlocks implied = Fill({strip, Over(1000.0, 1.6), false, GroundPointPlacement::AfterJx});
  EXPECT_EQ(RelativeMismatch(implied.Zxx, requested.Zxx), 0.0);
}

TEST(InteractionGroundPoints, MirroredLayoutGivesTheSameCouplings) {
  // Reflecting x -> -x reverses every Jx current and also a ground point's unknown
  // (counted along +x on its half strip, from the edge inwards on a left edge, from
  // the centre outwards on a right edge), so a strip grounded at its left end and
  // the same strip grounded at its right end have equal entries between mirrored
  // unknowns. This checks the side factors of all three parts of the path.
  ElementLists left = BuildLayout({{10 * mm, 0.5 * mm, 20 * mm, 1 * mm, 10, 1}});
  ElementLists right = left;
  AddGroundPoint(left, 1, Left);
  AddGroundPoint(right, 10, Right);
  for (double megahertz : {100.0, 30000.0}) {
    const TestBlocks a = Fill({left, Over(megahertz, 1.6), true, GroundPointPlacement::AfterJx});
    const TestBlocks b = Fill({right, Over(megahertz, 1.6), true, GroundPointPlacement::AfterJx});
    const std::int32_t nx = left.NX(), g = nx + 1;
    double largest = 0, worst = 0;
    auto compare = [&](Complex x, Complex y) {
      largest = std::max(largest, std::hypot(x.Re, x.Im));
      worst = std::max(worst, std::hypot(x.Re - y.Re, x.Im - y.Im));
    };
    for (std::int32_t n = 1; n <= nx; ++n) {
      compare(a.Zxx(n, g), b.Zxx(nx + 1 - n, g));
      compare(a.Zxx(g, n), b.Zxx(g, nx + 1 - n));
    }
    compare(a.Zxx(g, g), b.Zxx(g, g));
    EXPECT_LT(worst, 1e-9 * largest) << megahertz;
  }
}

}  // namespace
}  // namespace lumetra

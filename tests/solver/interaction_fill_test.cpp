// The optimised matrix fill against the plain entry-by-entry reference fill, the
// symmetric fill, the coincidence rules, reciprocity of the filled blocks, abort
// and bad input.
#include "solver/interaction_fill.h"

#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <tuple>
#include <utility>

#include "solver/physical_constants.h"
#include "tests/solver/fill_reference.h"
#include "tests/support/recording_ui.h"

namespace lumetra {
namespace {

using testing::BuildLayout;
using testing::RecordingUi;
using testing::RelativeMismatch;
using testing::TestBlocks;

constexpr double mm = 0.001;

FrequencyConstants At(double megahertz, double heightMm = 1.6, double epsR = 1.0) {
  return MakeFrequencyConstants(megahertz, Eps0 * (1 + epsR) / 2, epsR, true, heightMm * mm);
}

// A horizontal trace of 2 mm cells, a vertical one of 2.5 mm cells hanging from
// its left end, and a coarser 3 mm-cell trace joined at its right end: connecting
// Jx and Jy elements of their own lengths, so neither block is symmetric.
ElementLists LShape() {
  return BuildLayout({{6 * mm, 11 * mm, 12 * mm, 2 * mm, 6, 1},
                      {1 * mm, 5 * mm, 2 * mm, 10 * mm, 1, 4},
                      {15 * mm, 11 * mm, 6 * mm, 2 * mm, 2, 1}});
}

// A 20 mm strip of ten 2 x 1 mm cells: nine equal Jx elements.
ElementLists UniformStrip() { return BuildLayout({{10 * mm, 0.5 * mm, 20 * mm, 1 * mm, 10, 1}}); }

// A 4 x 3 plane of 1.5 mm square cells: equal Jx and equal Jy elements.
ElementLists Plane() { return BuildLayout({{3 * mm, 2.25 * mm, 6 * mm, 4.5 * mm, 4, 3}}); }

struct Filled {
  TestBlocks optimised, reference;
};

Filled FillBoth(const FillRequest& request) {
  Filled f;
  testing::CreateBlocks(f.optimised, request);
  testing::CreateBlocks(f.reference, request);
  RecordingUi ui;
  ComputationControl control(ui);
  SystemMatrices view = f.optimised.View();
  EXPECT_TRUE(FillInteractionMatrices(request, view, control));
  EXPECT_FALSE(control.AbortRequested);
  EXPECT_GE(ui.polls, 1);
  SystemMatrices referenceView = f.reference.View();
  testing::ReferenceFill(request, referenceView);
  return f;
}

// Every block within 1e-13 of its largest entry: the tables, caches and the series
// of the smooth kernel change nothing a solution could see.
void ExpectAgreement(const Filled& f, double tolerance = 1e-13) {
  const auto& [o, r] = f;
  for (auto [name, a, b] : {std::tuple{"Zxx", &o.Zxx, &r.Zxx},
                            {"Zxy", &o.Zxy, &r.Zxy},
                            {"Zyx", &o.Zyx, &r.Zyx},
                            {"Zyy", &o.Zyy, &r.Zyy}})
    EXPECT_LE(RelativeMismatch(*a, *b), tolerance) << name;
}

std::complex<double> C(Complex z) { return {z.Re, z.Im}; }

TEST(InteractionFill, AgreesWithReferenceFillOnLayoutsFrequenciesAndGroundPlane) {
  struct Case {
    const char* name;
    ElementLists lists;
  };
  const Case cases[] = {{"L-shape", LShape()}, {"uniform strip", UniformStrip()}, {"plane", Plane()}};
  EXPECT_FALSE(cases[0].lists.SymX || cases[0].lists.SymY);
  EXPECT_TRUE(cases[1].lists.SymX);
  EXPECT_TRUE(cases[2].lists.SymX && cases[2].lists.SymY);
  // 100 MHz: every pair within 1/k (8 x 8 rule throughout); 3 and 30 GHz: far
  // pairs take the four-point rule, near ones the 8 x 8 rule.
  for (const Case& c : cases)
    for (double megahertz : {100.0, 3000.0, 30000.0})
      for (bool image : {false, true}) {
        SCOPED_TRACE(std::string(c.name) + " at " + std::to_string(megahertz) + " MHz" +
                     (image ? " with ground plane" : ""));
        ExpectAgreement(FillBoth({c.lists, At(megahertz), image}));
      }
}

TEST(InteractionFill, AgreesOnALayoutLargeEnoughToBeSplitAcrossWorkers) {
  // Two joined planes of different cell widths (218 unknowns, no symmetry): the
  // entries are filled in many pieces by several threads, with caches that grow.
  const ElementLists planes = BuildLayout({{6 * mm, 7.5 * mm, 12 * mm, 15 * mm, 8, 10},
                                           {17 * mm, 7.5 * mm, 10 * mm, 15 * mm, 4, 10}});
  EXPECT_EQ(planes.NX() + planes.NY(), 218);
  EXPECT_FALSE(planes.SymX || planes.SymY);
  ExpectAgreement(FillBoth({planes, At(10000.0), true}));

  // A plane of 2 mm cells under one of 2.57 x 2.4 mm cells, joined at the one
  // column they share: offsets between them hardly repeat. In free space at 1 GHz,
  // where pairs out to 48 mm take the 8 x 8 rule.
  const ElementLists stacked = BuildLayout({{9 * mm, 5 * mm, 18 * mm, 10 * mm, 9, 5},
                                            {9 * mm, 16 * mm, 18 * mm, 12 * mm, 7, 5}});
  EXPECT_EQ(stacked.NX() + stacked.NY(), 135);
  FrequencyConstants freeSpace = At(1000.0);
  freeSpace.GroundPlane = false;
  ExpectAgreement(FillBoth({stacked, freeSpace, false}));
}

TEST(InteractionFill, SymmetricBlocksAreExactlySymmetricWithConstantDiagonal) {
  for (bool image : {false, true}) {
    const ElementLists plane = Plane();
    const Filled f = FillBoth({plane, At(3000.0), image});
    for (const ComplexMatrix* z : {&f.optimised.Zxx, &f.optimised.Zyy}) {
      for (std::int32_t m = 1; m <= z->Cols(); ++m) {
        EXPECT_EQ((*z)(m, m), (*z)(1, 1));
        for (std::int32_t n = 1; n <= z->Rows(); ++n) EXPECT_EQ((*z)(n, m), (*z)(m, n));
      }
    }
  }
}

TEST(InteractionFill, EqualCellsGiveReciprocalBlocksWithoutCopying) {
  // Computed in full (flags cleared), the free-space and image blocks of equal
  // square cells still satisfy reciprocity: Zxx and Zyy symmetric, Zxy the
  // transpose of Zyx. That holds only if self forms are chosen symmetrically.
  ElementLists plane = Plane();
  plane.SymX = plane.SymY = plane.SymAll = false;
  for (double megahertz : {100.0, 30000.0}) {
    const Filled f = FillBoth({plane, At(megahertz), true});
    ExpectAgreement(f);
    const TestBlocks& z = f.optimised;
    double worst = 0, largest = 0;
    auto compare = [&](Complex a, Complex b) {
      worst = std::max(worst, std::abs(C(a) - C(b)));
      largest = std::max(largest, std::abs(C(a)));
    };
    for (auto [a, b] : {std::pair{&z.Zxx, &z.Zxx}, {&z.Zyy, &z.Zyy}, {&z.Zxy, &z.Zyx}})
      for (std::int32_t n = 1; n <= a->Rows(); ++n)
        for (std::int32_t m = 1; m <= a->Cols(); ++m) compare((*a)(n, m), (*b)(m, n));
    EXPECT_LT(worst, 1e-12 * largest) << megahertz;
  }
}

// Two Jx elements on three 1 mm cells whose middle cell is moved by `shift` along x:
// the first element's P+ misses the middle cell's centre by `shift`. Within a
// picometre the self form holds, beyond it the 8 x 8 rule (the reference decides
// the same way); a zero-height image takes the cell integral, never the self form.
TEST(InteractionFill, CoincidenceRulesAgreeWithTheReference) {
  for (double shift : {0.9e-12, 2e-12}) {
    ElementLists lists = BuildLayout({{1.5 * mm, 0.5 * mm, 3 * mm, 1 * mm, 3, 1}});
    lists.Charges[1].X += shift;
    ExpectAgreement(FillBoth({lists, At(1000.0), false}));
  }
  ExpectAgreement(FillBoth({UniformStrip(), At(1000.0, 0.0), true}));
}

TEST(InteractionFill, AbortStopsTheFillAndReportsIt) {
  const ElementLists plane = BuildLayout({{10 * mm, 10 * mm, 20 * mm, 20 * mm, 20, 20}});
  const FillRequest request{plane, At(100.0), true};
  // After one, two or three polls, or already aborted (0): then nothing is filled.
  for (int pollsBeforeAbort : {1, 2, 3, 0}) {
    TestBlocks blocks;
    testing::CreateBlocks(blocks, request);
    RecordingUi ui;
    ui.abortAfterPolls = pollsBeforeAbort;
    ComputationControl control(ui);
    control.AbortRequested = pollsBeforeAbort == 0;
    SystemMatrices view = blocks.View();
    EXPECT_FALSE(FillInteractionMatrices(request, view, control)) << pollsBeforeAbort;
    EXPECT_TRUE(control.AbortRequested);
    if (pollsBeforeAbort == 0) {
      EXPECT_EQ(blocks.Zxx(1, 1), Complex{});
    }
  }
}

TEST(InteractionFill, RejectsBlocksOfTheWrongShapeAndMissingChargeCells) {
  const ElementLists lshape = LShape();
  RecordingUi ui;
  ComputationControl control(ui);
  {
    TestBlocks blocks;
    testing::CreateBlocks(blocks, {lshape, At(100.0)});
    SystemMatrices view = blocks.View();
    view.Zxy = nullptr;
    EXPECT_THROW(FillInteractionMatrices({lshape, At(100.0)}, view, control), std::invalid_argument);
    view = blocks.View();
    EXPECT_THROW(FillInteractionMatrices({lshape, At(100.0), true, GroundPointPlacement::AfterJx}, view, control),
                 std::invalid_argument);
  }
  for (std::int32_t bad : {0, static_cast<std::int32_t>(lshape.Charges.size()) + 1}) {
    ElementLists broken = lshape;
    broken.Jy.back().Positive = bad;
    TestBlocks blocks;
    testing::CreateBlocks(blocks, {broken, At(100.0)});
    SystemMatrices view = blocks.View();
    EXPECT_THROW(FillInteractionMatrices({broken, At(100.0)}, view, control), std::invalid_argument) << bad;
  }
}

TEST(InteractionFill, EmptyLayoutFillsNothing) {
  const ElementLists empty;
  RecordingUi ui;
  ComputationControl control(ui);
  SystemMatrices none;
  EXPECT_TRUE(FillInteractionMatrices({empty, At(100.0)}, none, control));
}

}  // namespace
}  // namespace lumetra

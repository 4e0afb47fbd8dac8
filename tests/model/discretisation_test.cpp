#include "model/discretisation.h"

#include <gtest/gtest.h>

#include <tuple>

#include "tests/support/expect_values.h"

namespace lumetra {
namespace {

TEST(Discretisation, FourByTwoSegmentSplitsIntoTwoCellsJoinedByOneJx) {
  const std::vector<Segment> segments = {{10, 5, 4, 2, 2, 1}};
  const std::vector<ChargeElement> charges = ChargeElements(segments);
  ASSERT_EQ(charges.size(), 2u);
  for (std::size_t k = 0; k < 2; ++k)
    testing::ExpectDoublesEq({charges[k].X, charges[k].Y, charges[k].Dx, charges[k].Dy},
                             {k == 0 ? 9.0 : 11.0, 5, 2, 2});
  const std::vector<CurrentElement> jx = JxElements(segments);
  ASSERT_EQ(jx.size(), 1u);
  testing::ExpectDoublesEq({jx[0].X, jx[0].Y}, {10, 5});
  EXPECT_EQ(std::tie(jx[0].From, jx[0].To), std::make_tuple(1, 2));
  EXPECT_TRUE(JyElements(segments).empty());  // ChY = 1 has no Jy element
}

TEST(Discretisation, NumbersRunOverSegmentsRowsFromTheBottomCellsFromTheLeft) {
  // A 3 x 2 segment after a 2 x 1 segment: charge base 2.
  const std::vector<Segment> segments = {{1, 1, 2, 2, 2, 1}, {20, 10, 6, 4, 3, 2}};
  const std::vector<ChargeElement> charges = ChargeElements(segments);
  ASSERT_EQ(charges.size(), 8u);
  // Charge 3 is the lower-left cell of the second segment, charge 8 the upper right.
  testing::ExpectDoublesEq({charges[2].X, charges[2].Y, charges[7].X, charges[7].Y},
                           {18, 9, 22, 11});

  const std::vector<CurrentElement> jx = JxElements(segments);
  ASSERT_EQ(jx.size(), 1u + 4u);
  // The second segment's bottom row's first pair; its top row starts at charge 6.
  EXPECT_EQ(std::tie(jx[1].From, jx[1].To, jx[3].From), std::make_tuple(3, 4, 6));
  testing::ExpectDoublesEq({jx[3].X, jx[3].Y}, {19, 11});

  const std::vector<CurrentElement> jy = JyElements(segments);
  ASSERT_EQ(jy.size(), 3u);
  // From + ChX: the cell above.
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(std::tie(jy[i].From, jy[i].To), std::make_tuple(3 + i, 6 + i));
    EXPECT_DOUBLE_EQ(jy[i].Y, 10);
  }
  EXPECT_EQ(ChargeBase(segments, 1), 2);
}

}  // namespace
}  // namespace lumetra

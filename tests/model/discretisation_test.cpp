#include <gtest/gtest.h>

#include "model/discretisation.h"

namespace lumetra {
namespace {

TEST(Discretisation, FourByTwoSegmentSplitsIntoTwoCellsJoinedByOneJx) {
  const std::vector<Segment> segments = {{10, 5, 4, 2, 2, 1}};
  const std::vector<ChargeElement> charges = ChargeElements(segments);
  ASSERT_EQ(charges.size(), 2u);
  EXPECT_DOUBLE_EQ(charges[0].X, 9);
  EXPECT_DOUBLE_EQ(charges[1].X, 11);
  for (const ChargeElement& c : charges) {
    EXPECT_DOUBLE_EQ(c.Y, 5);
    EXPECT_DOUBLE_EQ(c.Dx, 2);
    EXPECT_DOUBLE_EQ(c.Dy, 2);
  }
  const std::vector<CurrentElement> jx = JxElements(segments);
  ASSERT_EQ(jx.size(), 1u);
  EXPECT_DOUBLE_EQ(jx[0].X, 10);
  EXPECT_DOUBLE_EQ(jx[0].Y, 5);
  EXPECT_EQ(jx[0].From, 1);
  EXPECT_EQ(jx[0].To, 2);
  EXPECT_TRUE(JyElements(segments).empty());  // ChY = 1 has no Jy element
}

TEST(Discretisation, NumbersRunOverSegmentsRowsFromTheBottomCellsFromTheLeft) {
  // A 3 x 2 segment after a 2 x 1 segment: charge base 2.
  const std::vector<Segment> segments = {{1, 1, 2, 2, 2, 1}, {20, 10, 6, 4, 3, 2}};
  const std::vector<ChargeElement> charges = ChargeElements(segments);
  ASSERT_EQ(charges.size(), 8u);
  // Charge 3 is the lower-left cell of the second segment, charge 8 the upper right.
  EXPECT_DOUBLE_EQ(charges[2].X, 18);
  EXPECT_DOUBLE_EQ(charges[2].Y, 9);
  EXPECT_DOUBLE_EQ(charges[7].X, 22);
  EXPECT_DOUBLE_EQ(charges[7].Y, 11);

  const std::vector<CurrentElement> jx = JxElements(segments);
  ASSERT_EQ(jx.size(), 1u + 4u);
  EXPECT_EQ(jx[1].From, 3);  // second segment, bottom row, first pair
  EXPECT_EQ(jx[1].To, 4);
  EXPECT_EQ(jx[3].From, 6);  // top row starts at charge 6
  EXPECT_DOUBLE_EQ(jx[3].X, 19);
  EXPECT_DOUBLE_EQ(jx[3].Y, 11);

  const std::vector<CurrentElement> jy = JyElements(segments);
  ASSERT_EQ(jy.size(), 3u);
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(jy[i].From, 3 + i);
    EXPECT_EQ(jy[i].To, 6 + i);  // from + ChX: the cell above
    EXPECT_DOUBLE_EQ(jy[i].Y, 10);
  }
  EXPECT_EQ(ChargeBase(segments, 1), 2);
}

}  // namespace
}  // namespace lumetra

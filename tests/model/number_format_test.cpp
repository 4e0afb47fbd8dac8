#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "model/number_format.h"
#include "model/text_reader.h"

namespace lumetra {
namespace {

TEST(R23, FieldLayoutMatchesTheFileForm) {
  EXPECT_EQ(FormatR23(160.0), " 1.60000000000000E+0002");
  EXPECT_EQ(FormatR23(-0.25), "-2.50000000000000E-0001");
  EXPECT_EQ(FormatR23(0.0), " 0.00000000000000E+0000");
  EXPECT_EQ(FormatR23(-0.0), " 0.00000000000000E+0000");
  EXPECT_EQ(FormatR23(1e-300), " 1.00000000000000E-0300");
  EXPECT_EQ(FormatR23(-1.7976931348623157e308), "-1.79769313486232E+0308");
  // Rounding to 15 digits may carry into the exponent.
  EXPECT_EQ(FormatR23(9.9999999999999999e2), " 1.00000000000000E+0003");
  for (double v : {1.0, -3.5, 1e-12, 123456789.123, 5e-324})
    EXPECT_EQ(FormatR23(v).size(), 23u) << v;
}

TEST(R23, KeepsFifteenSignificantDigitsThroughTheReader) {
  const double values[] = {M_PI, -std::exp(1.0) * 1e-7, 1.0 / 3.0, 12345.678901234567, 2.0 / 3e12};
  for (double v : values) {
    const std::string text = FormatR23(v);
    TextReader in(text, "r23");
    const double back = in.ReadReal("value");
    EXPECT_NEAR(back, v, std::fabs(v) * 5e-15) << text;
    // A second round trip is exact: the written digits are a fixed point.
    EXPECT_EQ(FormatR23(back), text);
  }
}

TEST(General, ShortestFormSwitchesToExponentLikeTheDialogsShowIt) {
  EXPECT_EQ(FormatGeneral(3.0), "3");
  EXPECT_EQ(FormatGeneral(2.5), "2.5");
  EXPECT_EQ(FormatGeneral(0.0001), "0.0001");
  EXPECT_EQ(FormatGeneral(0.00001), "1E-5");
  EXPECT_EQ(FormatGeneral(-1e-38), "-1E-38");
  EXPECT_EQ(FormatGeneral(1e12), "1000000000000");
  EXPECT_EQ(FormatGeneral(1.5e15), "1.5E15");
  EXPECT_EQ(FormatGeneral(0.1 + 0.2), "0.3");  // 15 digits hide the binary residue
  EXPECT_EQ(FormatGeneral(0.0), "0");
}

}  // namespace
}  // namespace lumetra

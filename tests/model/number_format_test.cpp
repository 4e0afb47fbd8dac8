#include "model/number_format.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "model/text_reader.h"

namespace lumetra {
namespace {

TEST(R23, FieldLayoutMatchesTheFileForm) {
  // Rounding to 15 digits may carry into the exponent (the last one).
  std::vector<std::string> texts;
  for (double v : {160.0, -0.25, 0.0, -0.0, 1e-300, -1.7976931348623157e308, 9.9999999999999999e2})
    texts.push_back(FormatR23(v));
  EXPECT_EQ(texts, (std::vector<std::string>{" 1.60000000000000E+0002", "-2.50000000000000E-0001",
                                             " 0.00000000000000E+0000", " 0.00000000000000E+0000",
                                             " 1.00000000000000E-0300", "-1.79769313486232E+0308",
                                             " 1.00000000000000E+0003"}));
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
  // 15 digits hide the binary residue of 0.1 + 0.2.
  std::vector<std::string> texts;
  for (double v : {3.0, 2.5, 0.0001, 0.00001, -1e-38, 1e12, 1.5e15, 0.1 + 0.2, 0.0})
    texts.push_back(FormatGeneral(v));
  EXPECT_EQ(texts, (std::vector<std::string>{"3", "2.5", "0.0001", "1E-5", "-1E-38",
                                             "1000000000000", "1.5E15", "0.3", "0"}));
}

}  // namespace
}  // namespace lumetra

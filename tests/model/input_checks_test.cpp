#include <gtest/gtest.h>

#include "model/input_checks.h"
#include "tests/support/recording_ui.h"

namespace lumetra {
namespace {

using testing::RecordingUi;

TEST(InputChecks, BoundsAreExclusiveAndNamedInTheMessage) {
  RecordingUi ui;
  std::int32_t lx = 0;
  EXPECT_TRUE(CheckInteger("160", "Lx", 0, 10000, ui, &lx));
  EXPECT_EQ(lx, 160);
  EXPECT_FALSE(CheckInteger("0", "Lx", 0, 10000, ui));
  EXPECT_FALSE(CheckInteger("10000", "Ly", 0, 10000, ui));
  EXPECT_FALSE(CheckReal("0.8", "Grid", 0.8, 16, ui));
  EXPECT_FALSE(CheckReal("-1e-38", "Resistance", -1e-38, 1e12, ui));
  EXPECT_TRUE(CheckReal("0", "Resistance", -1e-38, 1e12, ui));
  EXPECT_EQ(ui.messages, (std::vector<std::string>{
                             "Error: Out of range! Lx must be greater than 0",
                             "Error: Out of range! Ly must be smaller than 10000",
                             "Error: Out of range! Grid must be greater than 0.8",
                             "Error: Out of range! Resistance must be greater than -1E-38"}));
}

TEST(InputChecks, TextsThatAreNoNumbers) {
  RecordingUi ui;
  for (const char* text : {"", "abc", "12a", "1.5", "99999999999"})
    EXPECT_FALSE(CheckInteger(text, "Lx", 0, 10000, ui)) << text;
  for (const char* text : {"", "x", "1,5", "nan", "inf", "1e999"})
    EXPECT_FALSE(CheckReal(text, "Grid", 0, 10, ui)) << text;
  EXPECT_EQ(ui.messages.size(), 11u);
  EXPECT_EQ(ui.messages.front(), "Error: Not a valid integer number!");
  EXPECT_EQ(ui.messages.back(), "Error: Not a valid real number!");
  double value = 0;
  EXPECT_TRUE(CheckReal(" 1E-12 ", "Inductance", -1e-38, 1e12, ui, &value));
  EXPECT_DOUBLE_EQ(value, 1e-12);
  EXPECT_TRUE(CheckReal("+2.5", "Grid", 0, 10, ui));
}

}  // namespace
}  // namespace lumetra

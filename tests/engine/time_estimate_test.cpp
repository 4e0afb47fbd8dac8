#include "studies/time_estimate.h"

#include <gtest/gtest.h>

#include <tuple>

#include "tests/support/temp_dir.h"

namespace lumetra {
namespace {

using std::chrono::duration;
using testing::TempDir;

TEST(TimeEstimate, ConstantsFileRoundTripsAndDamageMeansNoEstimate) {
  TempDir dir;
  const auto file = dir / "Lumetra.TES";
  WriteTimeConstants(file, {321, 1.25, 0.5});
  EXPECT_EQ(testing::ReadBytes(file),
            "321\r\n 1.25000000000000E+0000\r\n 5.00000000000000E-0001\r\n");
  const TimeConstants read = ReadTimeConstants(file);
  EXPECT_EQ(std::tie(read.Unknowns, read.FillSeconds), std::make_tuple(321, 1.25));
  EXPECT_EQ(ReadTimeConstants(dir / "missing.TES").Unknowns, 0);
  // Damaged: a word, a line one number long or short.
  for (const char* damaged : {"12\r\nabc\r\n", "321 5\r\n1.25\r\n0.5\r\n", "321\r\n1.25 0.5\r\n"}) {
    testing::WriteBytes(file, damaged);
    EXPECT_EQ(ReadTimeConstants(file).Unknowns, 0) << damaged;
  }
}

TEST(CompletionReport, FormatFollowsTheTotal) {
  EXPECT_EQ(CompletionReport(duration<double>(3.456), duration<double>(1.2), duration<double>(2.256)),
            "Computation completed in 3,5 seconds\r\rMatrix fill time: 1,2 seconds\r"
            "Matrix invert time: 2,3 seconds");
  EXPECT_EQ(CompletionReport(duration<double>(75.0), duration<double>(5.0), duration<double>(70.0)),
            "Computation completed in 1 minutes and 15 seconds\r\rMatrix fill time: 0 minutes and 5 "
            "seconds\rMatrix invert time: 1 minutes and 10 seconds");
  EXPECT_EQ(CompletionReport(duration<double>(3725.0), duration<double>(3600.0), duration<double>(125.0)),
            "Computation completed in 1 hours, 2 minutes and 5 seconds\r\rMatrix fill time: 1 hours, "
            "0 minutes and 0 seconds\rMatrix invert time: 0 hours, 2 minutes and 5 seconds");
  // 0.96 s rounds up into the seconds instead of reading ",10".
  EXPECT_EQ(CompletionReport(duration<double>(0.96), duration<double>(0.25), duration<double>(0.71))
                .substr(0, 34),
            "Computation completed in 1,0 secon");
}

}  // namespace
}  // namespace lumetra

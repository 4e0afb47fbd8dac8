#include "solver/memory_estimate.h"

#include <gtest/gtest.h>

#include <fstream>
#include <tuple>

#include "tests/support/temp_dir.h"

namespace lumetra {
namespace {

// A strip of `cells` square 1 mm cells along x: cells charges, cells - 1 Jx
// elements whose end points are the charge centres.
ElementLists Strip(int cells) {
  ElementLists e;
  for (int i = 0; i < cells; ++i) e.Charges.push_back({(i + 0.5) * 1e-3, 0.5e-3, 1e-3, 1e-3});
  for (int i = 1; i < cells; ++i) e.Jx.push_back({i * 1e-3, 0.5e-3, 1e-3, 1e-3, i, i + 1});
  DeriveLayoutProperties(e);
  return e;
}

TEST(MemoryEstimate, MatrixTablesAndVectorsOfAPoint) {
  EXPECT_EQ(MatrixBytes(3000), 144'000'000);
  EXPECT_EQ(MatrixBytes(100'000), 160'000'000'000);  // beyond any int32 product
  ElementLists e = Strip(20);
  // 19 unknowns: 16 * 19^2 matrix, 20 charges seen from their 20 centres, five
  // complex vectors and the pivots.
  const std::int64_t vectors = 5 * 16 * 19 + 4 * 19;
  EXPECT_EQ(FrequencyPointBytes(e, false, false), 16 * 19 * 19 + 16 * 20 * 20 + vectors);
  // The image terms keep a second table; modelled ground points are unknowns.
  e.GroundPoints.push_back({1, 1, 1, true, 0.0, 0.5e-3});
  EXPECT_EQ(std::make_tuple(SystemOrder(e, false), SystemOrder(e, true)), std::make_tuple(19, 20));
  EXPECT_EQ(FrequencyPointBytes(e, true, true),
            16 * 20 * 20 + 2 * 16 * 20 * 20 + 5 * 16 * 20 + 4 * 20);
}

TEST(MemoryEstimate, AvailableMemoryIsReadFromMeminfo) {
  const std::string meminfo =
      "MemTotal:       24523676 kB\nMemFree:        23000000 kB\n"
      "MemAvailable:   22918244 kB\nBuffers:           12345 kB\n";
  EXPECT_EQ(MemAvailableBytes(meminfo), std::int64_t{22918244} * 1024);
  for (const char* unusable :
       {"MemTotal: 100 kB\n", "MemAvailable: lots kB\n", "MemAvailable: 100 MB\n",
        "MemAvailable: -5 kB\n", "MemAvailable: 99999999999999999999 kB\n"})
    EXPECT_EQ(MemAvailableBytes(unusable), std::nullopt) << unusable;

  testing::TempDir dir;
  std::ofstream(dir / "meminfo") << meminfo;
  EXPECT_EQ(ReadAvailableMemory(dir / "meminfo"), std::int64_t{22918244} * 1024);
  EXPECT_EQ(ReadAvailableMemory(dir / "missing"), std::nullopt);
  // This machine's own figure, when it has one, is a positive number of bytes.
  if (const auto here = ReadAvailableMemory()) {
    EXPECT_GT(*here, 0);
  }
}

TEST(MemoryEstimate, ARefusalNamesTheNeedAndTheAvailableMemory) {
  // 100 000 unknowns on a machine with 8 GiB available.
  const std::int64_t available = std::int64_t{8} << 30;
  const std::int64_t needed = MatrixBytes(100'000) + 2'000'000;
  EXPECT_EQ(MemoryRefusal(100'000, needed, available),
            "Error: Not enough memory for 100000 unknowns: the computation needs 160.00 GB (the "
            "matrix alone 160.00 GB), but this machine has only 8.59 GB available");
  EXPECT_EQ(MemoryRefusal(19, 13'772, 1'000),
            "Error: Not enough memory for 19 unknowns: the computation needs 13.8 kB (the "
            "matrix alone 5.8 kB), but this machine has only 1.0 kB available");
  EXPECT_EQ(MemoryRefusal(3000, 150'000'000, 150'000'000), std::nullopt);  // exactly fits
}

}  // namespace
}  // namespace lumetra

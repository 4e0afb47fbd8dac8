// The accuracy setting on the command line: Standard keeps every number of the
// examples' result files as the stored files have them,
// a word other than standard or high is a usage error, and High reports the
// number of spectral points it chose.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <iterator>
#include <map>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "tests/cli/cli_run.h"
#include "tests/support/temp_dir.h"

namespace lumetra {
namespace {

using testing::Cli;
using testing::ReadBytes;
using testing::TempDir;

// The examples' result files of the fixed runs, written into `out`.
void ExampleResults(const std::filesystem::path& out, const std::string& extra) {
  const std::string command = std::string("sh '") + LUMETRA_SOURCE +
                              "/tools/accuracy/example_results.sh' '" + LUMETRA_CLI + "' '" +
                              LUMETRA_EXAMPLES + "' '" + out.string() + "' '" + extra + "'";
  ASSERT_EQ(std::system(command.c_str()), 0);
}

std::vector<std::vector<std::string>> Words(const std::string& text) {
  std::vector<std::vector<std::string>> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) {
    std::istringstream words(line);
    lines.emplace_back(std::istream_iterator<std::string>(words), std::istream_iterator<std::string>());
  }
  return lines;
}

std::optional<double> Number(const std::string& word) {
  char* end = nullptr;
  const double value = std::strtod(word.c_str(), &end);
  if (end == word.c_str() || *end != '\0') return std::nullopt;
  return value;
}

// Same lines and words; every number within 1e-11 of itself, or within 1e-12 of the
// largest number in its column (the same place on lines of the same length), where a
// quantity that vanishes by symmetry comes out as rounding noise. OpenBLAS's kernels
// for AVX2 and for AVX-512 processors differ by at most 5e-13 and 3e-14 of these.
void ExpectSameNumbers(const std::string& name, const std::string& expected, const std::string& found) {
  const auto a = Words(expected), b = Words(found);
  ASSERT_EQ(a.size(), b.size()) << name;
  std::map<std::pair<std::size_t, std::size_t>, double> columnLargest;
  for (const auto& line : a)
    for (std::size_t k = 0; k < line.size(); ++k)
      if (const auto v = Number(line[k])) {
        double& largest = columnLargest[{line.size(), k}];
        largest = std::max(largest, std::abs(*v));
      }
  for (std::size_t i = 0; i < a.size(); ++i) {
    ASSERT_EQ(a[i].size(), b[i].size()) << name << " line " << i + 1;
    for (std::size_t k = 0; k < a[i].size(); ++k) {
      const auto x = Number(a[i][k]), y = Number(b[i][k]);
      if (!x || !y) {
        EXPECT_EQ(a[i][k], b[i][k]) << name << " line " << i + 1;
        continue;
      }
      const double tolerance = std::max(1e-11 * std::abs(*x), 1e-12 * columnLargest[{a[i].size(), k}]);
      EXPECT_NEAR(*y, *x, tolerance) << name << " line " << i + 1 << " word " << k + 1;
    }
  }
}

TEST(AccuracyCli, StandardKeepsTheExamplesResults) {
  const std::filesystem::path stored = std::string(LUMETRA_SOURCE) + "/tests/cli/data/standard_examples";
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(stored))
    names.push_back(entry.path().filename().string());
  ASSERT_EQ(names.size(), 31u);
  for (const char* extra : {"", "--accuracy standard"}) {
    TempDir dir;
    ExampleResults(dir.path(), extra);
    std::size_t written = 0;
    for (const auto& entry : std::filesystem::directory_iterator(dir.path())) written += entry.is_regular_file();
    EXPECT_EQ(written, names.size()) << extra;
    for (const std::string& name : names)
      ExpectSameNumbers(name + " " + extra, ReadBytes(stored / name), ReadBytes(dir / name));
  }
}

TEST(AccuracyCli, AWordOtherThanStandardOrHighIsAUsageError) {
  TempDir dir;
  const std::string project = std::string(LUMETRA_EXAMPLES) + "/dipole/dipole.PRO";
  for (const char* word : {"best", "", "1"}) {
    const auto run = Cli(dir, "compute '" + project + "' --freq 1400 --accuracy '" + word + "'");
    EXPECT_EQ(run.exitCode, 2) << word;
    EXPECT_NE(run.output.find("--accuracy needs standard or high, got \"" + std::string(word) + "\""),
              std::string::npos)
        << run.output;
  }
  EXPECT_EQ(Cli(dir, "compute '" + project + "' --accuracy").exitCode, 2);
}

TEST(AccuracyCli, HighReportsTheSpectralPointsItChose) {
  TempDir dir;
  std::filesystem::copy(std::string(LUMETRA_EXAMPLES) + "/dipole", dir / "dipole");
  const std::string project = "'" + (dir / "dipole" / "dipole.PRO").string() + "'";
  const std::string slab = " --freq 1400 --ground-plane 1.6 --diel 4.4 --json";
  const auto standard = Cli(dir, "compute " + project + slab + " --accuracy standard");
  EXPECT_NE(standard.output.find("\"spectral_points\": 100,"), std::string::npos) << standard.output;
  EXPECT_NE(standard.output.find("points would suffice"), std::string::npos) << standard.output;
  const auto high = Cli(dir, "compute " + project + slab + " --accuracy HIGH");
  EXPECT_EQ(high.exitCode, 0) << high.output;
  const auto at = high.output.find("\"spectral_points\": ");
  ASSERT_NE(at, std::string::npos) << high.output;
  EXPECT_GT(std::stoi(high.output.substr(at + 19)), 100);
  EXPECT_EQ(high.output.find("points would suffice"), std::string::npos) << high.output;
}

}  // namespace
}  // namespace lumetra

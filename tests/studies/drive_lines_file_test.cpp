// Drive-lines files: round trip, the accepted forms, and every refusal naming the
// file and the line.
#include "studies/emission/drive_lines_file.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <string>

#include "model/file_io.h"
#include "tests/support/temp_dir.h"
#include "tests/support/error_text.h"

namespace lumetra::emission {
namespace {

using testing::TempDir;
using testing::WriteBytes;

TEST(DriveLinesFile, WriteAndReadBackKeepEveryLine) {
  TempDir dir;
  const std::vector<DriveLine> lines{{25.0, std::polar(1.27, 0.3)},
                                        {75.0, std::polar(0.42, -std::numbers::pi / 2)},
                                        {125.000001, 0.0},
                                        {5999.5, std::polar(1e-6, 3.0)}};
  WriteDriveLinesFile(dir / "clock.csv", lines);
  const std::string bytes = testing::ReadBytes(dir / "clock.csv");
  EXPECT_EQ(bytes.rfind("frequency_MHz, amplitude_V, phase_deg\r\n", 0), 0u);
  EXPECT_EQ(bytes.find("\n", bytes.find("\r\n") + 2), bytes.find("\r\n", bytes.find("\r\n") + 2) + 1);
  const std::vector<DriveLine> back = ReadDriveLinesFile(dir / "clock.csv");
  ASSERT_EQ(back.size(), lines.size());
  for (std::size_t i = 0; i < lines.size(); ++i) {
    EXPECT_EQ(back[i].FrequencyMHz, lines[i].FrequencyMHz);
    EXPECT_LT(std::abs(back[i].PhasorV - lines[i].PhasorV), 1e-15);
  }
}

TEST(DriveLinesFile, AcceptsCommentsBlankLinesLfAndMissingPhase) {
  const auto lines = ParseDriveLinesText(
      "# measured at the clock pin\n\nFrequency (MHz), Amplitude (V)\n75.0, 0.5, 90\n"
      "  25 ,  2  \n# end\n\n",
      "clock.csv");
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0].FrequencyMHz, 25.0);  // sorted
  EXPECT_EQ(lines[0].PhasorV, std::complex<double>(2.0, 0.0));
  EXPECT_NEAR(lines[1].PhasorV.real(), 0.0, 1e-15);
  EXPECT_NEAR(lines[1].PhasorV.imag(), 0.5, 1e-15);
}

void ExpectError(const std::string& text, const std::string& where, const std::string& what) {
  const std::string message =
      lumetra::testing::ErrorText<FileError>([&] { ParseDriveLinesText(text, "signals/bad.csv"); });
  EXPECT_NE(message.find("signals/bad.csv" + where), std::string::npos) << message;
  EXPECT_NE(message.find(what), std::string::npos) << message;
}

TEST(DriveLinesFile, RefusesBadLinesNamingFileAndLine) {
  ExpectError("f, a\n25, 1\n50\n", ", line 3:", "expected");
  ExpectError("25, 1, 0, 7\n", ", line 1:", "expected");
  ExpectError("25, 1\n-50, 1\n", ", line 2:", "frequency \"-50\"");
  ExpectError("25, 1\r\n0, 1\r\n", ", line 2:", "frequency \"0\"");
  ExpectError("25, 1\nnan, 1\n", ", line 2:", "frequency");
  ExpectError("25, 1\n1e400, 1\n", ", line 2:", "frequency");
  ExpectError("25, -1\n", ", line 1:", "amplitude \"-1\"");
  ExpectError("25, 1V\n", ", line 1:", "amplitude");
  ExpectError("25, 1, 400\n", ", line 1:", "phase \"400\"");
  ExpectError("25, 1, \n", ", line 1:", "phase");
  ExpectError("# c\n25, 1\n50, 1\n25.0000000001, 2\n", ", line 4:", "frequency of line 2 is given again");
  ExpectError("f, a\nf, a\n", ", line 2:", "frequency \"f\"");  // only one header
  ExpectError("# nothing\n\n", ":", "no frequency line");
  ExpectError("25, 1\n" + std::string(5000, '1') + "\n", ", line 2:", "longer than");
  ExpectError(std::string("25, 1\n50,\0 1\n", 12), ", line 2:", "NUL");
}

TEST(DriveLinesFile, MissingFileIsAFileError) {
  TempDir dir;
  EXPECT_THROW(ReadDriveLinesFile(dir / "none.csv"), FileError);
}

TEST(DriveLinesFile, FrequenciesMatchWithinARelativeTolerance) {
  EXPECT_TRUE(SameFrequency(3 * 25.0, 75.0));
  EXPECT_TRUE(SameFrequency(0.1 * 3, 0.3));  // 0.30000000000000004
  EXPECT_FALSE(SameFrequency(75.0, 75.001));
  EXPECT_FALSE(SameFrequency(0.0, 1e-300));
}

}  // namespace
}  // namespace lumetra::emission

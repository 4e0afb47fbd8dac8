// The computation-time estimate: two time constants measured once on the user's
// machine by a calibration run, kept in "Lumetra.TES" in the start-up directory.
// The fill grows with the square of the number of unknowns, the inversion with the
// cube.
#pragma once

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <string>

namespace lumetra {

inline constexpr const char* TimeEstimateFileName = "Lumetra.TES";

struct TimeConstants {
  std::int32_t Unknowns = 0;  // N0 of the calibration run; 0 when never calibrated
  double FillSeconds = 0.0;
  double InvertSeconds = 0.0;
};

// Reads the constants file; a missing or unreadable file gives zero constants.
TimeConstants ReadTimeConstants(const std::filesystem::path& file);
// Writes the three lines (N0 as an integer, the two times as R23). Throws FileError.
void WriteTimeConstants(const std::filesystem::path& file, const TimeConstants& constants);

// Estimated seconds for `unknowns` unknowns over `points` frequency points; the fill
// term doubles with a ground plane (the image terms). Zero when never calibrated.
double EstimateSeconds(const TimeConstants& constants, std::int32_t unknowns, bool groundPlane,
                       std::size_t points);

// The completion message: total, fill and inversion times in the format the total
// calls for (hours, minutes or seconds with tenths), lines separated by CR.
std::string CompletionReport(std::chrono::duration<double> total,
                             std::chrono::duration<double> fill,
                             std::chrono::duration<double> invert);

}  // namespace lumetra

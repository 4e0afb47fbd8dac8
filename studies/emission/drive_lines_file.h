// Drive-lines files: the measured or simulated frequency lines of one source.
//
//   # comment lines and blank lines anywhere
//   frequency_MHz, amplitude_V, phase_deg        (an optional header line)
//   25, 1.27
//   75, 0.42, -90
//
// Amplitudes are peak phasor amplitudes in volts (what drives the solver); the
// phase is in degrees and 0 when the column is left out. Lines end in CR LF or LF.
#pragma once

#include <complex>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace lumetra::emission {

struct DriveLine {
  double FrequencyMHz = 0.0;
  std::complex<double> PhasorV;
};

// Two frequencies closer than this relative distance are one frequency line: the
// third harmonic of 25 MHz and a file line at 75.0 MHz are the same frequency.
inline constexpr double FrequencyTolerance = 1e-9;
bool SameFrequency(double aMHz, double bMHz);

// Parses the text of a drive-lines file; fileName names it in messages. Lines come
// back sorted by frequency. Throws FileError naming the file and the line for a
// malformed line, a frequency that is not finite and positive, a negative
// amplitude, a phase beyond +-360 degrees, a frequency given twice, or a file
// without any line.
std::vector<DriveLine> ParseDriveLinesText(std::string_view text, const std::string& fileName);

// Reads and parses a drive-lines file (size-capped); FileError names the file.
std::vector<DriveLine> ReadDriveLinesFile(const std::filesystem::path& path);

// Writes a drive-lines file with a header, every value to 17 significant digits,
// CR LF line ends. Throws FileError when the file cannot be written.
void WriteDriveLinesFile(const std::filesystem::path& path, const std::vector<DriveLine>& lines);

}  // namespace lumetra::emission

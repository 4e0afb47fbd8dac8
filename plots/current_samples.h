// The current samples of the current plots: one per Jx or Jy element at the
// selected frequency, read from the result files .XXX and .YYY, each tagged with
// the segment that holds its centre.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "fields/complex_phase.h"  // CurrentPhase, the phase of the samples
#include "model/project.h"

namespace lumetra {

struct CurrentSample {
  double X = 0.0, Y = 0.0;    // centre, mm
  double Dx = 0.0, Dy = 0.0;  // extent, mm
  double Re = 0.0, Im = 0.0;  // current density, A/m
  double Magnitude = 0.0;
  double Phase = 0.0;         // degrees, -180..180
  std::int32_t Segment = 0;   // 1-based; 0 when no segment holds the centre
};

struct CurrentSamples {
  std::vector<CurrentSample> Jx, Jy;
  double JxMax = 0.0, JyMax = 0.0;
  // Pixels per A/m that make the largest current 100 pixels high; 0 when every
  // current is 0, so that nothing divides by zero.
  double AmplitudeScale = 0.0;
};

// The last segment in list order whose closed outline contains (x, y); 0 if none.
std::int32_t SegmentOf(const std::vector<Segment>& segments, double x, double y);

// Whether a current file can be plotted: it exists and its first block is not
// empty.
bool IsCurrentFileUsable(const std::filesystem::path& file);
// The file whose frequencies stand for the plot: .XXX when usable, else .YYY when
// usable, else nullopt (nothing to plot).
std::optional<std::filesystem::path> PlotFrequencyFile(const std::filesystem::path& projectFile);

// The samples of one frequency from the project's .XXX and .YYY. A missing file
// contributes no samples. Throws FileError on a damaged file.
CurrentSamples LoadCurrentSamples(const std::filesystem::path& projectFile,
                                  const std::vector<Segment>& segments, double frequencyMHz);

// "1.234E-3": four significant digits, the exponent with its sign and without
// leading zeros, the way the maximum labels show it.
std::string FormatCurrentMax(double value);

}  // namespace lumetra

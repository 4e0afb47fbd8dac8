// What each voltage source drives at each frequency of an emission run.
//
// A source either keeps its own project voltage at every frequency (a constant
// drive, as a plain computation uses it), follows a periodic trapezoid, or follows
// the lines of a drive-lines file. The run's frequencies are the union of the lines
// of all sources up to a stop frequency; at each of them every source drives with
// its own phasor (zero where it has no line) in one solve, and the radiated field
// is the superposition.
#pragma once

#include <complex>
#include <cstddef>
#include <variant>
#include <vector>

#include "model/project.h"
#include "studies/emission/drive_lines_file.h"
#include "studies/emission/trapezoid.h"

namespace lumetra::emission {

// The project's voltage at every frequency; adds no frequency of its own.
struct ConstantDrive {
  std::complex<double> VoltageV;
};

// The lines of a drive-lines file, sorted by frequency.
struct DriveLineList {
  std::vector<DriveLine> Lines;
};

using SourceSignal = std::variant<ConstantDrive, TrapezoidWaveform, DriveLineList>;

// The constant drive of a project source: ReV + j ImV.
ConstantDrive ConstantDriveOf(const VoltageSource& source);

// The highest stop frequency (MHz); the limit lines end there.
inline constexpr double MaxEmissionStopMHz = 6000.0;
inline constexpr double DefaultEmissionStopMHz = 1000.0;
// The most frequencies one emission run may hold (each one is a full solve).
inline constexpr std::size_t MaxEmissionFrequencies = 100000;

// Throws std::invalid_argument unless 0 < stopMHz <= MaxEmissionStopMHz.
void ValidateStopFrequency(double stopMHz);

// The sorted union of the sources' lines up to stopMHz (harmonics n f0 <= stop of
// each trapezoid, n >= 1; the file lines up to stop), frequencies within
// FrequencyTolerance merged into one. Validates the stop frequency and every
// trapezoid, and refuses a run of more than MaxEmissionFrequencies frequencies.
std::vector<double> EmissionFrequencies(const std::vector<SourceSignal>& sourceSignals, double stopMHz);

// The complex voltage (peak phasor, V) of one source at one frequency: its own
// voltage for a constant drive, 2 c_n at the harmonic n f0 of a trapezoid, the
// file's phasor at a file line, and 0 where the source has no line.
std::complex<double> SourceDrive(const SourceSignal& signal, double frequencyMHz);

}  // namespace lumetra::emission

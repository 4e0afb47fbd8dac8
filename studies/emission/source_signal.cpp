#include "studies/emission/source_signal.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>
#include <string>

namespace lumetra::emission {

namespace {

template <class... Ts>
struct Overloaded : Ts... {
  using Ts::operator()...;
};

// The number of harmonics n >= 1 with n f0 <= stop (a harmonic within the
// tolerance above the stop still counts, so 40 x 25 MHz belongs to a 1000 MHz run).
double HarmonicCount(const TrapezoidWaveform& wave, double stopMHz) {
  return std::floor(stopMHz / wave.FundamentalMHz * (1.0 + FrequencyTolerance));
}

[[noreturn]] void TooManyFrequencies() {
  throw std::invalid_argument("Error: The emission run has more than " +
                              std::to_string(MaxEmissionFrequencies) +
                              " frequencies; raise the fundamental frequency or lower the stop frequency");
}

}  // namespace

ConstantDrive ConstantDriveOf(const VoltageSource& source) { return {{source.ReV, source.ImV}}; }

void ValidateStopFrequency(double stopMHz) {
  if (!std::isfinite(stopMHz) || stopMHz <= 0.0 || stopMHz > MaxEmissionStopMHz)
    throw std::invalid_argument("Error: The stop frequency must lie above 0 and not above 6000 MHz");
}

std::vector<double> EmissionFrequencies(const std::vector<SourceSignal>& sourceSignals, double stopMHz) {
  ValidateStopFrequency(stopMHz);
  std::vector<double> all;
  for (const SourceSignal& signal : sourceSignals) {
    std::visit(Overloaded{
                   [](const ConstantDrive&) {},
                   [&](const TrapezoidWaveform& wave) {
                     ValidateTrapezoid(wave);
                     const double count = HarmonicCount(wave, stopMHz);
                     if (count + static_cast<double>(all.size()) > MaxEmissionFrequencies)
                       TooManyFrequencies();
                     for (int n = 1; n <= static_cast<int>(count); ++n)
                       if (!IsSpectralNull(wave, n)) all.push_back(n * wave.FundamentalMHz);
                   },
                   [&](const DriveLineList& file) {
                     for (const DriveLine& line : file.Lines)
                       if (line.FrequencyMHz <= stopMHz * (1.0 + FrequencyTolerance))
                         all.push_back(line.FrequencyMHz);
                   },
               },
               signal);
  }
  std::sort(all.begin(), all.end());
  std::vector<double> merged;
  for (double f : all)
    if (merged.empty() || !SameFrequency(merged.back(), f)) merged.push_back(f);
  if (merged.size() > MaxEmissionFrequencies) TooManyFrequencies();
  return merged;
}

std::complex<double> SourceDrive(const SourceSignal& signal, double frequencyMHz) {
  return std::visit(
      Overloaded{
          [](const ConstantDrive& constant) { return constant.VoltageV; },
          [&](const TrapezoidWaveform& wave) -> std::complex<double> {
            const double n = std::round(frequencyMHz / wave.FundamentalMHz);
            if (n < 1.0 || n > 1e9 || !SameFrequency(n * wave.FundamentalMHz, frequencyMHz)) return 0.0;
            if (IsSpectralNull(wave, static_cast<int>(n))) return 0.0;
            return TrapezoidHarmonicPhasor(wave, static_cast<int>(n));
          },
          [&](const DriveLineList& file) -> std::complex<double> {
            const auto it = std::lower_bound(
                file.Lines.begin(), file.Lines.end(), frequencyMHz,
                [](const DriveLine& line, double f) { return line.FrequencyMHz < f; });
            // The matching line lies just below or at/above the frequency.
            if (it != file.Lines.end() && SameFrequency(it->FrequencyMHz, frequencyMHz)) return it->PhasorV;
            if (it != file.Lines.begin() && SameFrequency(std::prev(it)->FrequencyMHz, frequencyMHz))
              return std::prev(it)->PhasorV;
            return 0.0;
          },
      },
      signal);
}

}  // namespace lumetra::emission

// The frequencies of an emission run and what each source drives at each one.
#include "studies/emission/source_signal.h"
#include "tests/support/error_text.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <stdexcept>

namespace lumetra::emission {
namespace {

TEST(EmissionFrequencies, UnionOfHarmonicsAndFileLinesWithTolerance) {
  const TrapezoidWaveform clock{3.3, 25.0, 1.0, std::nullopt, 0.5};
  const TrapezoidWaveform data{1.8, 40.0, 2.0, 3.0, 0.4};
  const DriveLineList file{{{75.0, 1.0}, {75.0000000001 * 2, 0.5}, {1000.0, 0.1}, {1000.5, 0.1}}};
  const std::vector<SourceSignal> signals{clock, data, file, ConstantDrive{{1.0, 0.0}}};
  const std::vector<double> f = EmissionFrequencies(signals, 1000.0);
  // The 25 MHz clock (50 %, equal edges): its 20 odd harmonics, the even ones are
  // nulls of its spectrum. 40 MHz: 25 harmonics, none an odd multiple of 25. The
  // file adds 150 (75 is the clock's, 1000 the data line's); 1000.5 lies above the stop.
  EXPECT_EQ(f.size(), 20u + 25u + 1u);
  EXPECT_TRUE(std::is_sorted(f.begin(), f.end()));
  for (std::size_t i = 1; i < f.size(); ++i) EXPECT_FALSE(SameFrequency(f[i - 1], f[i]));
  EXPECT_EQ(f.front(), 25.0);
  EXPECT_EQ(f.back(), 1000.0);
}

TEST(EmissionFrequencies, ConstantSourcesAloneGiveNoFrequencies) {
  EXPECT_TRUE(EmissionFrequencies({ConstantDrive{{1.0, 0.0}}}, 1000.0).empty());
}

TEST(EmissionFrequencies, StopFrequencyIsLimitedToSixGigahertz) {
  const std::vector<SourceSignal> clock{TrapezoidWaveform{1.0, 100.0, 1.0, std::nullopt, 0.5}};
  EXPECT_EQ(EmissionFrequencies(clock, 6000.0).size(), 30u);  // the odd harmonics
  for (double stop : {0.0, -5.0, 6000.001, double(NAN), double(INFINITY)})
    EXPECT_THROW(EmissionFrequencies(clock, stop), std::invalid_argument) << stop;
  EXPECT_EQ(lumetra::testing::ErrorText<std::invalid_argument>([] { ValidateStopFrequency(7000.0); }),
            "Error: The stop frequency must lie above 0 and not above 6000 MHz");
}

TEST(EmissionFrequencies, RefusesARunOfTooManyFrequenciesAndBadWaveforms) {
  // A 10 kHz clock up to 6 GHz would need 600000 solves.
  EXPECT_THROW(EmissionFrequencies({TrapezoidWaveform{1.0, 0.01, 1.0, std::nullopt, 0.5}}, 6000.0),
               std::invalid_argument);
  EXPECT_THROW(EmissionFrequencies({TrapezoidWaveform{1.0, 100.0, 6.0, std::nullopt, 0.5}}, 1000.0),
               std::invalid_argument);
}

TEST(EmissionFrequencies, NullsOfTheSpectrumAreNotSolved) {
  // A 50 % wave with equal edges has no even harmonics; an edge of 2.5 ns puts a
  // zero of its sinc at 400 MHz, the fourth harmonic of 100 MHz.
  const TrapezoidWaveform square{1.0, 100.0, 1.0, std::nullopt, 0.5};
  EXPECT_TRUE(IsSpectralNull(square, 2));
  EXPECT_FALSE(IsSpectralNull(square, 3));
  EXPECT_EQ(SourceDrive(square, 200.0), std::complex<double>(0.0));
  const TrapezoidWaveform slow{1.0, 100.0, 2.5, std::nullopt, 0.4};
  EXPECT_TRUE(IsSpectralNull(slow, 4));
  EXPECT_FALSE(IsSpectralNull(slow, 2));
  const std::vector<double> f = EmissionFrequencies({slow}, 1000.0);
  EXPECT_EQ(std::count(f.begin(), f.end(), 400.0), 0);
  EXPECT_EQ(std::count(f.begin(), f.end(), 800.0), 0);
  // A 4 ns pulse in a 10 ns period also cancels every fifth harmonic (n tau / T
  // whole): 400, 500, 800 and 1000 MHz are missing.
  EXPECT_EQ(f, (std::vector<double>{100, 200, 300, 600, 700, 900}));
}

TEST(SourceDrive, EachSourceDrivesItsOwnLineAndZeroElsewhere) {
  const TrapezoidWaveform clock{3.3, 25.0, 1.0, std::nullopt, 0.5};
  EXPECT_EQ(SourceDrive(clock, 75.0), TrapezoidHarmonicPhasor(clock, 3));
  EXPECT_EQ(SourceDrive(clock, 75.0 * (1 + 1e-12)), TrapezoidHarmonicPhasor(clock, 3));
  EXPECT_EQ(SourceDrive(clock, 80.0), std::complex<double>(0.0));
  EXPECT_EQ(SourceDrive(clock, 10.0), std::complex<double>(0.0));  // below the fundamental

  const DriveLineList file{{{25.0, {1.0, 2.0}}, {75.0, {0.0, -1.0}}}};
  EXPECT_EQ(SourceDrive(file, 75.0), std::complex<double>(0.0, -1.0));
  EXPECT_EQ(SourceDrive(file, 3 * 25.0), std::complex<double>(0.0, -1.0));
  EXPECT_EQ(SourceDrive(file, 25.0 * (1 - 1e-12)), std::complex<double>(1.0, 2.0));
  EXPECT_EQ(SourceDrive(file, 50.0), std::complex<double>(0.0));
  EXPECT_EQ(SourceDrive(file, 1000.0), std::complex<double>(0.0));

  VoltageSource source;
  source.ReV = 0.7;
  source.ImV = -0.2;
  EXPECT_EQ(SourceDrive(ConstantDriveOf(source), 123.4), std::complex<double>(0.7, -0.2));
}

}  // namespace
}  // namespace lumetra::emission

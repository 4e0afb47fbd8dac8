#include "studies/emission/emission_line.h"

#include <cmath>
#include <complex>
#include <optional>

#include "solver/physical_constants.h"
#include "studies/byte_record.h"

namespace lumetra::emission {

namespace {

// k0 = omega sqrt(mu0 eps0), with the same constants as the solver's.
double FreeSpaceWavenumber(double frequencyMHz) {
  return TwoPi * frequencyMHz * 1e6 * std::sqrt(Mu0 * Eps0);
}

}  // namespace

LineOutcome SolveEmissionLine(EmissionWorkspace& workspace, const std::vector<SourceSignal>& signals,
                              const SiteSettings& site, double f, EmissionLine& line) {
  line = EmissionLine{};
  line.FrequencyMHz = f;
  const std::size_t sourceCount = signals.size();
  std::vector<std::complex<double>> drives(sourceCount);
  for (std::size_t k = 0; k < sourceCount; ++k) {
    drives[k] = SourceDrive(signals[k], f);
    if (drives[k] != 0.0) line.Sources.push_back({static_cast<int>(k + 1), drives[k]});
  }
  if (line.Sources.empty()) return LineOutcome::Silent;  // a spectrum line of zero amplitude

  const std::optional<SolvedPoint> radiators = workspace.Solve(f, drives);
  if (!radiators) return LineOutcome::Stopped;
  const double k0 = FreeSpaceWavenumber(f);
  line.Where = ScanSite(radiators->Radiators, k0, site);
  line.FieldVm = line.Where.FieldVm;
  line.LevelDbuvM = FieldDbuvM(line.FieldVm);
  line.LargestSource = line.Sources.front().Number;

  // With several sources at one frequency, the one to work on is the one whose
  // field alone reads highest where the sum peaks: one more solve per source.
  if (line.Sources.size() > 1) {
    double largest = -1.0;
    for (const SourceDriveRecord& source : line.Sources) {
      std::vector<std::complex<double>> alone(sourceCount);
      alone[static_cast<std::size_t>(source.Number - 1)] = source.AmplitudeV;
      const std::optional<SolvedPoint> own = workspace.Solve(f, alone);
      if (!own) return LineOutcome::Stopped;
      const double reading = ReadingAt(own->Radiators, k0, site, line.Where);
      if (reading > largest) {
        largest = reading;
        line.LargestSource = source.Number;
      }
    }
  }
  return LineOutcome::Solved;
}

std::string EncodeEmissionLine(const EmissionLine& line) {
  ByteWriter out;
  out.Put(line.FrequencyMHz);
  out.Put(line.FieldVm);
  out.Put(line.LevelDbuvM);
  out.Put(line.Where.FieldVm);
  out.Put(line.Where.ThetaDeg);
  out.Put(line.Where.PhiDeg);
  out.Put(line.Where.HeightM);
  out.Put(line.Where.Pol);
  out.Put(static_cast<std::uint64_t>(line.Sources.size()));
  for (const SourceDriveRecord& s : line.Sources) {
    out.Put(s.Number);
    out.Put(s.AmplitudeV.real());
    out.Put(s.AmplitudeV.imag());
  }
  out.Put(line.LargestSource);
  return out.Take();
}

EmissionLine DecodeEmissionLine(std::string_view bytes) {
  ByteReader in(bytes);
  EmissionLine line;
  line.FrequencyMHz = in.Get<double>();
  line.FieldVm = in.Get<double>();
  line.LevelDbuvM = in.Get<double>();
  line.Where.FieldVm = in.Get<double>();
  line.Where.ThetaDeg = in.Get<double>();
  line.Where.PhiDeg = in.Get<double>();
  line.Where.HeightM = in.Get<double>();
  line.Where.Pol = in.Get<Polarisation>();
  const std::uint64_t count = in.GetCount(sizeof(int) + 2 * sizeof(double));
  for (std::uint64_t k = 0; k < count; ++k) {
    SourceDriveRecord s;
    s.Number = in.Get<int>();
    const double re = in.Get<double>();
    s.AmplitudeV = {re, in.Get<double>()};
    line.Sources.push_back(s);
  }
  line.LargestSource = in.Get<int>();
  in.ExpectEnd();
  return line;
}

}  // namespace lumetra::emission

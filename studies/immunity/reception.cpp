#include "studies/immunity/reception.h"

#include <algorithm>

namespace lumetra::immunity {

namespace {

Complex Mul(Complex a, Complex b) { return CMul(a, b); }

}  // namespace

std::vector<Complex> IncidentRightHandSide(SystemLayout layout, const AssemblyInput& input,
                                           const PlaneWave& wave) {
  ComputationPlan plan = input.Plan;
  plan.IncidentField = true;
  plan.IncTheta = wave.ThetaDeg;
  plan.IncPhi = wave.PhiDeg;
  plan.IncPol = wave.PolDeg;
  const AssemblyInput waveInput{input.Elements, input.Constants, plan, input.Model, false};
  LinearSystem s;
  s.Layout = layout;
  s.NX = HasJx(layout) ? input.Elements.NX() : 0;
  s.NY = HasJy(layout) ? input.Elements.NY() : 0;
  s.NG = HasGroundPoints(layout) ? input.Elements.NG() : 0;
  bool failed = false;
  CreateVector(s.Vx, s.XRows(), failed);
  CreateVector(s.Vy, s.YRows(), failed);
  Excite(s, waveInput);
  std::vector<Complex> rhs;
  rhs.reserve(static_cast<std::size_t>(s.XRows() + s.YRows()));
  for (std::int32_t i = 1; i <= s.XRows(); ++i) rhs.push_back(s.Vx(i));
  for (std::int32_t i = 1; i <= s.YRows(); ++i) rhs.push_back(s.Vy(i));
  return rhs;
}

std::vector<Complex> WeightedSolution(SystemLayout layout, const ElementLists& lists,
                                      const SolvedCurrents& currents) {
  std::vector<Complex> weights;
  const auto scaled = [](Complex c, double w) { return Complex{c.Re * w, c.Im * w}; };
  // A ground point's vertical strip is as wide as the cell edge it leaves from.
  const auto addGround = [&] {
    if (!currents.Ground) return;
    for (std::size_t g = 0; g < lists.GroundPoints.size(); ++g) {
      const GroundContact& point = lists.GroundPoints[g];
      const ChargeCell& cell = lists.Charges.at(static_cast<std::size_t>(point.ChargeNo - 1));
      weights.push_back(scaled(currents.Ground[g], point.OnXEdge ? cell.Dy : cell.Dx));
    }
  };
  const bool groundAfterJx = layout == SystemLayout::JxWithGroundPoints;
  if (HasJx(layout)) {
    for (std::size_t n = 0; n < lists.Jx.size(); ++n)
      weights.push_back(scaled(currents.Jx[n], lists.Jx[n].Dy));
    if (groundAfterJx) addGround();
  }
  if (HasJy(layout)) {
    for (std::size_t n = 0; n < lists.Jy.size(); ++n)
      weights.push_back(scaled(currents.Jy[n], lists.Jy[n].Dx));
    if (!groundAfterJx && HasGroundPoints(layout)) addGround();
  }
  return weights;
}

Complex PortLoadImpedance(const AssemblyInput& input, const PortElement& port) {
  Complex z{0.0, 0.0};
  if (!input.Plan.UseLoads) return z;
  const double omega = input.Constants.Omega;
  for (const ImpedanceElement& load : input.Model.Impedances) {
    if (load.IsJx != port.IsJx || load.ElementNo != port.ElementNo) continue;
    z.Re += load.R;
    if (load.LC > 0) z.Im += omega * load.LC;
    else if (load.LC < 0) z.Im += 1.0 / (omega * load.LC);
  }
  return z;
}

Complex ReceivedCurrent(const PortReception& port, const std::vector<Complex>& rhs) {
  double re = 0.0, im = 0.0;
  const std::size_t n = std::min(port.Weights.size(), rhs.size());
  for (std::size_t i = 0; i < n; ++i) {
    const Complex& a = port.Weights[i];
    const Complex& b = rhs[i];
    re += a.Re * b.Re - a.Im * b.Im;
    im += a.Re * b.Im + a.Im * b.Re;
  }
  return {re, im};
}

Complex OpenCircuitVoltage(const PortReception& port, Complex receivedCurrent) {
  return CDiv(receivedCurrent, port.DrivenCurrent);
}

Complex PortVoltage(const PortReception& port, Complex receivedCurrent) {
  if (port.IsSource) return OpenCircuitVoltage(port, receivedCurrent);
  return Mul(port.LoadImpedance, receivedCurrent);
}

bool SolvePortReceptions(SystemLayout layout, AssemblyInput& input,
                         const std::vector<PortElement>& ports, ComputationControl& control,
                         MultiExcitationResult& solved, std::vector<PortReception>& receptions) {
  receptions.clear();
  const std::size_t sources = input.Model.VoltageSources.size();
  std::vector<SourceDrive> drives;
  for (const PortElement& port : ports) {
    SourceDrive drive(sources, Complex{0.0, 0.0});
    if (port.SourceIndex < sources) drive[port.SourceIndex] = {1.0, 0.0};
    drives.push_back(std::move(drive));
  }
  std::vector<PortReception> found(ports.size());
  const SolutionVisitor visit = [&](std::size_t k, const SolvedCurrents& currents) {
    found[k].Weights = WeightedSolution(layout, input.Elements, currents);
  };
  if (!SolveForExcitations(layout, input, drives, control, solved, visit)) return false;
  if (control.AbortRequested || solved.Excitations.size() != ports.size()) return true;
  for (std::size_t k = 0; k < ports.size(); ++k) {
    const std::optional<Complex>& current =
        solved.Excitations[k].Sources.at(ports[k].SourceIndex).Current;
    found[k].DrivenCurrent = current ? *current : Complex{0.0, 0.0};
    found[k].IsSource = ports[k].IsSource;
    found[k].LoadImpedance = ports[k].IsSource ? Complex{0.0, 0.0}
                                               : PortLoadImpedance(input, ports[k]);
  }
  receptions = std::move(found);
  return true;
}

}  // namespace lumetra::immunity

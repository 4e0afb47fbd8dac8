#include "studies/linear_system.h"

#include <cmath>

#include "fields/incident_field.h"
#include "fields/slab_incident_field.h"
#include "solver/dielectric_correction.h"
#include "solver/interaction_fill.h"
#include "solver/reciprocal_symmetry.h"
#include "solver/spectral_limit.h"

namespace lumetra {

namespace {

constexpr double DegreesToRadians = 0.017453292519943295;

bool CreateSystem(LinearSystem& s) {
  bool failed = false;
  const std::int32_t x = s.XRows(), y = s.YRows();
  if (s.Coupled()) {
    s.Blocks.Create(x, y, failed);
  } else if (HasJx(s.Layout)) {
    CreateMatrix(s.Zxx, x, x, failed);
  } else {
    CreateMatrix(s.Zyy, y, y, failed);
  }
  bool vectorFailed = false;
  for (auto [vector, count] : {std::pair{&s.Vx, x}, {&s.Vy, y}, {&s.Ix, x}, {&s.Iy, y}}) {
    CreateVector(*vector, count, vectorFailed);
    failed = failed || vectorFailed;
  }
  return !failed;
}

// Lumped loads in series with their elements: the load impedance times the
// element's width, since the unknowns are current densities.
void AddLoads(LinearSystem& s, const AssemblyInput& in) {
  const double omega = in.Constants.Omega;
  for (const ImpedanceElement& load : in.Model.Impedances) {
    ComplexMatrix* z = load.IsJx ? s.XX() : s.YY();
    const std::int32_t count = load.IsJx ? s.NX : s.NY;
    if (!z || load.ElementNo > count) continue;
    const double w = (load.IsJx ? load.Dy : load.Dx) * MillimetreToMetre;
    Complex& entry = (*z)(load.ElementNo, load.ElementNo);
    entry.Re += load.R * w;
    if (load.LC > 0) entry.Im += omega * load.LC * w;         // inductance
    else if (load.LC < 0) entry.Im += w / (omega * load.LC);  // capacitance |LC|
  }
}

// Surface resistance (ohm per square) of the traces along each element.
void AddResistivity(LinearSystem& s, const AssemblyInput& in) {
  const double rs = in.Plan.SurfaceResistance;
  if (ComplexMatrix* z = s.XX())
    for (std::int32_t n = 1; n <= s.NX; ++n) (*z)(n, n).Re += rs * in.Elements.Jx[n - 1].Dx;
  if (ComplexMatrix* z = s.YY())
    for (std::int32_t n = 1; n <= s.NY; ++n) (*z)(n, n).Re += rs * in.Elements.Jy[n - 1].Dy;
}

// The spectral sampling of a rigorous slab computation, from the first current
// element (the first Jy element in the layouts without Jx), with its warnings at
// the first point of a run.
SpectralIntegration SlabSpectralIntegration(SystemLayout layout, const AssemblyInput& in,
                                            UserInterface& ui) {
  const FrequencyConstants& c = in.Constants;
  const ElementLists& e = in.Elements;
  const double halfLength = HasJx(layout) ? e.Jx.front().Dx / 2 : e.Jy.front().Dy / 2;
  SpectralIntegration spectral =
      SpectralIntegrationFor(c.FrequencyMHz, c.EpsR, c.Height, halfLength, in.Plan.Integration);
  if (in.Plan.Accuracy == SolverAccuracy::High) {
    spectral = WithSufficientPoints(spectral, e.LayoutSpan);
    ui.SetStatusText(StatusPanel::State, SpectralPointsStatus(spectral.Points));
  }
  if (in.FirstPoint) {
    if (SpectralLimitTooHigh(c.FrequencyMHz, spectral.MaxKr)) ui.ShowMessage(MightNotConvergeWarning);
    if (SpectralStepTooCoarse(e.LayoutSpan, spectral))
      ui.ShowMessage(TooFewSpectralPointsMessage(SufficientSpectralPoints(e.LayoutSpan, spectral.MaxKr)));
  }
  return spectral;
}

}  // namespace

bool HasJx(SystemLayout l) {
  return l != SystemLayout::JyOnly && l != SystemLayout::JyWithGroundPoints;
}
bool HasJy(SystemLayout l) {
  return l != SystemLayout::JxOnly && l != SystemLayout::JxWithGroundPoints;
}
bool HasGroundPoints(SystemLayout l) {
  return l == SystemLayout::JxWithGroundPoints || l == SystemLayout::JyWithGroundPoints ||
         l == SystemLayout::CoupledWithGroundPoints;
}


std::vector<Complex> ProjectSourceVoltages(const Project& project) {
  std::vector<Complex> voltages;
  for (const VoltageSource& source : project.VoltageSources) voltages.push_back({source.ReV, source.ImV});
  return voltages;
}

// The right-hand side: the voltage that the sources or the incident wave impress
// along each testing element (V per unit current density, so a field times the
// element length).
void ExciteSources(LinearSystem& s, const AssemblyInput& in, const std::vector<Complex>& voltages) {
  for (ComplexVector* v : {&s.Vx, &s.Vy})
    for (std::int32_t i = 1; i <= v->Count(); ++i) (*v)(i) = {0, 0};
  // A later source on the same element replaces an earlier one.
  for (std::size_t k = 0; k < in.Model.VoltageSources.size(); ++k) {
    const VoltageSource& source = in.Model.VoltageSources[k];
    const Complex v = k < voltages.size() ? voltages[k] : Complex{0, 0};
    const bool toX = source.IsJx && HasJx(s.Layout) && source.ElementNo <= s.NX;
    const bool toY = !source.IsJx && HasJy(s.Layout) && source.ElementNo <= s.NY;
    if (toX) s.Vx(source.ElementNo) = v;
    if (toY) s.Vy(source.ElementNo) = v;
  }
}

void Excite(LinearSystem& s, const AssemblyInput& in) {
  for (ComplexVector* v : {&s.Vx, &s.Vy})
    for (std::int32_t i = 1; i <= v->Count(); ++i) (*v)(i) = {0, 0};
  const ComputationPlan& plan = in.Plan;
  const FrequencyConstants& c = in.Constants;
  const ElementLists& e = in.Elements;

  if (!plan.IncidentField) {
    ExciteSources(s, in, ProjectSourceVoltages(in.Model));
    return;
  }

  const PlaneWave wave{plan.IncTheta, plan.IncPhi, plan.IncPol};
  const PlaneWaveAngles angles = AnglesOf(wave);
  // Over a ground plane the wave reflected by it arrives with the extra path
  // 2 h cos(theta): tangential fields add as (1 - e^{-j phi}), normal ones as
  // (1 + e^{-j phi}).
  const double phi = c.GroundPlane ? 2.0 * c.K * c.Height * std::cos(plan.IncTheta * DegreesToRadians)
                                   : 0.0;
  const Complex reflected{std::cos(phi), -std::sin(phi)};  // e^{-j phi}
  const Complex tangential = c.GroundPlane && c.EpsR <= 1.0
                                 ? Complex{1.0 - reflected.Re, -reflected.Im}
                                 : Complex{1.0, 0.0};
  const Complex normal{1.0 + reflected.Re, reflected.Im};

  // On a slab the library's reciprocal field already holds the plane's reflection.
  const bool slab = SlabPresent(c);
  if (HasJx(s.Layout))
    for (std::int32_t n = 1; n <= s.NX; ++n) {
      const CurrentCell& cell = e.Jx[n - 1];
      const Complex field = slab ? SlabIncidentFieldX(wave, c, cell.X, cell.Y, cell.Dx)
                                 : CMul(IncidentFieldX(angles, c, cell.X, cell.Y), tangential);
      s.Vx(n) = {field.Re * cell.Dx, field.Im * cell.Dx};
    }
  if (HasJy(s.Layout))
    for (std::int32_t n = 1; n <= s.NY; ++n) {
      const CurrentCell& cell = e.Jy[n - 1];
      const Complex field = slab ? SlabIncidentFieldY(wave, c, cell.X, cell.Y, cell.Dy)
                                 : CMul(IncidentFieldY(angles, c, cell.X, cell.Y), tangential);
      s.Vy(n) = {field.Re * cell.Dy, field.Im * cell.Dy};
    }
  if (!HasGroundPoints(s.Layout)) return;
  ComplexVector& v = s.GroundAfterJx() ? s.Vx : s.Vy;
  const std::int32_t first = s.GroundAfterJx() ? s.NX : s.NY;
  const Complex tangentialFactor{1.0 - reflected.Re, -reflected.Im};
  for (std::int32_t g = 1; g <= s.NG; ++g) {
    const GroundContact& point = e.GroundPoints[g - 1];
    const ChargeCell& cell = e.Charges[point.ChargeNo - 1];
    // Along the half strip from the cell centre to the edge, then down the
    // vertical strip to the plane.
    const Complex along = point.OnXEdge
                              ? IncidentFieldX(angles, c, point.X, point.Y)
                              : IncidentFieldY(angles, c, point.X, point.Y);
    const double halfCell = 0.5 * (point.OnXEdge ? cell.Dx : cell.Dy);
    const Complex horizontal = CMul(along, tangentialFactor);
    const Complex vertical = CMul(IncidentFieldZ(angles, c, point.X, point.Y), normal);
    const double down = point.Side * c.Height;
    v(first + g) = {horizontal.Re * halfCell + vertical.Re * down,
                    horizontal.Im * halfCell + vertical.Im * down};
  }
}

// Time-averaged power delivered into the current elements, 1/2 Re(V I*), with the
// current of an element its density times its width.
double InputPower(const LinearSystem& s, const ElementLists& e) {
  double power = 0.0;
  if (HasJx(s.Layout))
    for (std::int32_t n = 1; n <= s.NX; ++n)
      power += (s.Vx(n).Re * s.Ix(n).Re + s.Vx(n).Im * s.Ix(n).Im) * e.Jx[n - 1].Dy;
  if (HasJy(s.Layout))
    for (std::int32_t n = 1; n <= s.NY; ++n)
      power += (s.Vy(n).Re * s.Iy(n).Re + s.Vy(n).Im * s.Iy(n).Im) * e.Jy[n - 1].Dx;
  return 0.5 * power;
}

std::vector<SourceReading> ReadSources(const LinearSystem& s, const AssemblyInput& in,
                                       const std::vector<Complex>& voltages) {
  std::vector<SourceReading> readings;
  std::int32_t number = 0;
  for (const VoltageSource& source : in.Model.VoltageSources) {
    SourceReading r;
    r.Number = ++number;
    r.Voltage = static_cast<std::size_t>(number) <= voltages.size() ? voltages[number - 1]
                                                                     : Complex{0, 0};
    const std::int32_t e = source.ElementNo;
    if (source.IsJx && HasJx(s.Layout) && e <= s.NX) {
      const double w = in.Elements.Jx[e - 1].Dy;
      r.Current = Complex{s.Ix(e).Re * w, s.Ix(e).Im * w};
    } else if (!source.IsJx && HasJy(s.Layout) && e <= s.NY) {
      const double w = in.Elements.Jy[e - 1].Dx;
      r.Current = Complex{s.Iy(e).Re * w, s.Iy(e).Im * w};
    }
    readings.push_back(r);
  }
  return readings;
}


AssemblyOutcome AssembleSystem(SystemLayout layout, AssemblyInput& in, ComputationControl& control,
                               LinearSystem& s, FrequencyPointResult& result) {
  const auto step = [&] { return control.PumpAndCheckAbort(); };
  constexpr AssemblyOutcome Stopped = AssemblyOutcome::Stopped;

  s.Layout = layout;
  s.NX = HasJx(layout) ? in.Elements.NX() : 0;
  s.NY = HasJy(layout) ? in.Elements.NY() : 0;
  s.NG = HasGroundPoints(layout) ? in.Elements.NG() : 0;
  result.FrequencyMHz = in.Constants.FrequencyMHz;
  result.EpsEff = in.Constants.EpsEff;
  result.Unknowns = s.XRows() + s.YRows();

  const bool rigorousSlab = SlabPresent(in.Constants) && in.Plan.RigSol &&
                            (s.NX > 0 || s.NY > 0);
  SpectralIntegration spectral;
  if (rigorousSlab) {
    spectral = SlabSpectralIntegration(layout, in, control.ui);
    result.MaxKr = spectral.MaxKr;
    result.SpectralPoints = spectral.Points;
    if (step()) return Stopped;
  }

  // A single-direction layout of equal elements fills only half its matrix.
  if ((layout == SystemLayout::JxOnly && in.Elements.SymX) ||
      (layout == SystemLayout::JyOnly && in.Elements.SymY)) {
    in.Elements.SymAll = true;
    control.ui.SetStatusText(StatusPanel::State, "Filling matrix (sym.)");
  }
  if (step()) return Stopped;

  // The coupled system is solved as one matrix of at most the plan's limit of
  // unknowns; a larger one is not solved, so it is not filled either.
  if (s.Coupled() && s.XRows() + s.YRows() > in.Plan.MaxUnknowns) {
    control.ui.ShowMessage(LuFailedMessage);
    control.AbortRequested = true;
    return Stopped;
  }
  if (!CreateSystem(s)) {
    control.ui.ShowMessage(MatricesNotCreatedMessage);
    return AssemblyOutcome::NotCreated;
  }
  if (step()) return Stopped;

  Excite(s, in);
  if (step()) return Stopped;

  SystemMatrices matrices;
  if (s.Coupled()) {
    matrices = {&s.Blocks.A, &s.Blocks.Bm, &s.Blocks.C, &s.Blocks.D};
  } else {
    matrices.Zxx = HasJx(layout) ? &s.Zxx : nullptr;
    matrices.Zyy = HasJy(layout) ? &s.Zyy : nullptr;
  }
  FillRequest request{in.Elements, in.Constants, in.Plan.GroundPlane || HasGroundPoints(layout),
                      !HasGroundPoints(layout) ? GroundPointPlacement::None
                      : s.GroundAfterJx()      ? GroundPointPlacement::AfterJx
                                               : GroundPointPlacement::AfterJy,
                      in.Plan.Accuracy};
  if (!FillInteractionMatrices(request, matrices, control)) return Stopped;
  if (rigorousSlab) {
    const SlabCorrectionRequest slab{in.Elements, in.Constants.FrequencyMHz, in.Constants.EpsR,
                                     in.Constants.Height, spectral, in.Plan.Accuracy};
    if (!AddSlabCorrection(slab, matrices, control)) return Stopped;
  }
  // High accuracy keeps the reaction between every pair of unknowns exactly
  // reciprocal, so that port matrices are symmetric and received voltages follow
  // from the transmit solutions to rounding.
  if (in.Plan.Accuracy == SolverAccuracy::High)
    SymmetriseReactions(matrices, in.Elements, request.GroundPoints);
  if (in.Plan.UseLoads) AddLoads(s, in);
  if (in.Plan.FiniteConductivity) AddResistivity(s, in);
  if (step()) return Stopped;
  return AssemblyOutcome::Assembled;
}

}  // namespace lumetra

// The search for the largest reading over a test site's scan.
//
// Both sites scan two coordinates: the free site theta and phi, the semi-anechoic
// site the antenna height and the turntable angle. A coarse grid is evaluated on
// every core; then, from the best few grid points that are not neighbours of one
// another, a pattern search moves to the best of the four neighbouring places while
// that improves the reading and halves its steps when none does, down to 0.1
// degree and 1 mm.
//
// The grid must put a point on every lobe, and near enough its peak that the lobe
// ranks among the starts, or the climb begins on the wrong one. Two kinds of lobe
// narrow with frequency: the pattern of the board itself, whose lobes are about
// lambda / D apart for radiators spread over a diameter D, and the interference of
// the direct wave with the one reflected by the floor, whose maxima over the
// antenna height lie at least lambda d / (2 h) apart (h the board's height above
// the floor). Where they are closer than the steps asked for, the grid takes half
// the pattern's lobe spacing, and a third of the height-lobe spacing: the
// floor-reflection lobes are all about equally high, and a point a sixth of a
// spacing from the peak still reads within 1.3 dB of it (cos 30 degrees).
#include <algorithm>
#include <atomic>
#include <cmath>
#include <numbers>
#include <stdexcept>
#include <thread>
#include <vector>

#include "solver/parallel_pieces.h"
#include "studies/emission/dipole_field.h"
#include "studies/emission/test_site.h"

namespace lumetra::emission {

namespace {

constexpr double RadToDeg = 180.0 / std::numbers::pi;
constexpr int StartsPerPolarisation = 8;
constexpr int StartsPerColumn = 2;
constexpr double FinestAngleDeg = 0.1;
constexpr double FinestHeightM = 0.001;
// The grid is never made finer than this on its own.
constexpr double SmallestAutoAngleDeg = 2.0;
constexpr double SmallestAutoHeightM = 0.02;
constexpr int MovesPerStep = 200;

// Calls work(i) for every i in [0, count) on every core, the calling thread
// included. work must not throw.
template <class Work>
void ForEachOnAllCores(std::size_t count, const Work& work) {
  const std::size_t workers =
      std::min<std::size_t>(static_cast<std::size_t>(FillWorkerCount()), count);
  std::atomic<std::size_t> next{0};
  auto loop = [&] {
    for (std::size_t i = next.fetch_add(1); i < count; i = next.fetch_add(1)) work(i);
  };
  std::vector<std::thread> helpers;
  for (std::size_t w = 1; w < workers; ++w) helpers.emplace_back(loop);
  loop();
  for (auto& t : helpers) t.join();
}

// The two scanned coordinates: A (theta in degrees, or the height in metres)
// between its bounds, B (phi in degrees) round the full circle.
struct ScanSpace {
  double AMin = 0.0, AMax = 0.0, AStep = 0.0;
  int ACount = 1;
  double BStep = 0.0;
  int BCount = 1;
  double AFinest = 0.0;
  std::vector<Polarisation> Pols;
  bool PoleRows = false;  // free site: at theta 0 and 180 every phi is one place
};

bool IsPoleRow(const ScanSpace& space, int a) {
  return space.PoleRows && (a == 0 || (a == space.ACount - 1 && space.AMax == 180.0));
}

// n + 1 evenly spaced values over [low, high] no further apart than step.
int GridCount(double range, double step) {
  return static_cast<int>(std::ceil(range / step - 1e-9)) + 1;
}

// The largest distance of the radiators from the board centre, horizontally and
// in space.
void RadiatorExtent(const std::vector<PointDipole>& board, const SiteSettings& s,
                    double& horizontal, double& spatial) {
  horizontal = spatial = 0.0;
  for (const PointDipole& d : board) {
    const double dx = d.X - s.BoardCentreX, dy = d.Y - s.BoardCentreY;
    const double rho2 = dx * dx + dy * dy;
    horizontal = std::max(horizontal, std::sqrt(rho2));
    spatial = std::max(spatial, std::sqrt(rho2 + d.Z * d.Z));
  }
}

// The step asked for, or half the lobe spacing when that is smaller (but never
// below floor).
double LobeStep(double asked, double lobeSpacing, double floor) {
  return std::min(asked, std::max(0.5 * lobeSpacing, floor));
}

ScanSpace MakeSpace(const std::vector<PointDipole>& board, double k0, const SiteSettings& s) {
  const double lambda = 2.0 * std::numbers::pi / k0;
  double horizontal = 0.0, spatial = 0.0;
  RadiatorExtent(board, s, horizontal, spatial);
  const auto angleSpacingDeg = [&](double radius) {
    return radius > 0.0 ? lambda / (2.0 * radius) * RadToDeg : 360.0;
  };
  ScanSpace space;
  double aStep = 0.0, bStep = 0.0;
  if (s.Kind == SiteKind::Free) {
    space.AMin = 0.0;
    space.AMax = s.UpperHemisphereOnly ? 90.0 : 180.0;
    aStep = LobeStep(s.ThetaStepDeg, angleSpacingDeg(spatial), SmallestAutoAngleDeg);
    bStep = LobeStep(s.PhiStepDeg, angleSpacingDeg(spatial), SmallestAutoAngleDeg);
    space.AFinest = FinestAngleDeg;
    space.Pols = {Polarisation::Total};
    space.PoleRows = true;
  } else {
    space.AMin = s.MinHeightM;
    space.AMax = s.MaxHeightM;
    aStep = std::min(s.HeightStepM, std::max(lambda * s.DistanceM / (2.0 * s.EutHeightM) / 3.0,
                                             SmallestAutoHeightM));
    bStep = LobeStep(s.TurntableStepDeg, angleSpacingDeg(horizontal), SmallestAutoAngleDeg);
    space.AFinest = FinestHeightM;
    space.Pols = {Polarisation::Horizontal, Polarisation::Vertical};
  }
  space.ACount = GridCount(space.AMax - space.AMin, aStep);
  space.AStep = (space.AMax - space.AMin) / (space.ACount - 1);
  space.BCount = GridCount(360.0, bStep) - 1;
  space.BStep = 360.0 / space.BCount;
  return space;
}

SiteMaximum Place(const SiteSettings& s, double a, double b, Polarisation pol) {
  SiteMaximum where;
  where.PhiDeg = b;
  where.Pol = pol;
  if (s.Kind == SiteKind::Free) {
    where.ThetaDeg = a;
  } else {
    where.HeightM = a;
    where.ThetaDeg = std::atan2(s.DistanceM, a - s.EutHeightM) * RadToDeg;
  }
  return where;
}

FieldVector FieldAtPlace(const DipoleArrays& radiators, double k0, const SiteSettings& s,
                         const SiteMaximum& where) {
  const SitePoint p = SitePosition(s, where);
  return SummedField(radiators, p.X, p.Y, p.Z, k0);
}

struct GridPoint {
  int A = 0, B = 0;
  double Value = 0.0;
};

// Same lobe, most likely: grid neighbours, diagonals included; at a pole row
// every point of the row and of the next one.
bool Neighbours(const ScanSpace& space, const GridPoint& p, const GridPoint& q) {
  if (std::abs(p.A - q.A) > 1) return false;
  if (IsPoleRow(space, p.A) || IsPoleRow(space, q.A)) return true;
  const int db = std::abs(p.B - q.B) % space.BCount;
  return std::min(db, space.BCount - db) <= 1;
}

// Whether no grid neighbour of (a, b) reads higher. A pole row is one place whose
// neighbours are the whole next row.
bool IsLocalMaximum(const ScanSpace& space, const std::vector<double>& values, int a, int b) {
  const auto at = [&](int ra, int rb) {
    const int wrapped = IsPoleRow(space, ra) ? 0 : (rb + space.BCount) % space.BCount;
    return values[static_cast<std::size_t>(ra) * space.BCount + wrapped];
  };
  const double v = at(a, b);
  for (int ra = std::max(a - 1, 0); ra <= std::min(a + 1, space.ACount - 1); ++ra) {
    if (IsPoleRow(space, a) && ra != a) {
      for (int rb = 0; rb < space.BCount; ++rb)
        if (at(ra, rb) > v) return false;
      continue;
    }
    for (int rb = b - 1; rb <= b + 1; ++rb)
      if (at(ra, rb) > v) return false;
  }
  return true;
}

// The highest local maxima of one reading on the grid, one per plateau. The
// floor-reflection lobes stack many nearly equal maxima over the height at one
// turntable angle; taking only a few per column of phi leaves room for the
// maxima of other directions.
std::vector<GridPoint> Starts(const ScanSpace& space, const std::vector<double>& values) {
  std::vector<GridPoint> maxima;
  for (int a = 0; a < space.ACount; ++a)
    for (int b = 0; b < (IsPoleRow(space, a) ? 1 : space.BCount); ++b)
      if (IsLocalMaximum(space, values, a, b))
        maxima.push_back({a, b, values[static_cast<std::size_t>(a) * space.BCount + b]});
  std::stable_sort(maxima.begin(), maxima.end(),
                   [](const GridPoint& p, const GridPoint& q) { return p.Value > q.Value; });
  std::vector<GridPoint> starts;
  for (const GridPoint& p : maxima) {
    if (static_cast<int>(starts.size()) == StartsPerPolarisation) break;
    const bool near = std::any_of(starts.begin(), starts.end(),
                                  [&](const GridPoint& q) { return Neighbours(space, p, q); });
    const auto sameColumn = std::count_if(starts.begin(), starts.end(), [&](const GridPoint& q) {
      const int db = std::abs(p.B - q.B);
      return std::min(db, space.BCount - db) <= 1;
    });
    if (!near && sameColumn < StartsPerColumn) starts.push_back(p);
  }
  return starts;
}

double WrapDegrees(double b) {
  b = std::fmod(b, 360.0);
  return b < 0.0 ? b + 360.0 : b;
}

struct Climb {
  Polarisation Pol = Polarisation::Total;
  double A = 0.0, B = 0.0, Value = 0.0;
};

// Pattern search from a grid point: move to the best of the four neighbouring
// places while it reads higher; halve the steps when none does.
Climb ClimbFrom(Climb c, const ScanSpace& space, const DipoleArrays& radiators, double k0,
                const SiteSettings& s) {
  const auto read = [&](double a, double b) {
    const FieldVector e = FieldAtPlace(radiators, k0, s, Place(s, a, b, c.Pol));
    return ReadComponent(e, c.Pol, b);
  };
  double stepA = 0.5 * space.AStep, stepB = 0.5 * space.BStep;
  for (;;) {
    for (int move = 0; move < MovesPerStep; ++move) {
      const double candidates[4][2] = {{std::min(c.A + stepA, space.AMax), c.B},
                                       {std::max(c.A - stepA, space.AMin), c.B},
                                       {c.A, WrapDegrees(c.B + stepB)},
                                       {c.A, WrapDegrees(c.B - stepB)}};
      Climb best = c;
      for (const auto& place : candidates) {
        const double v = read(place[0], place[1]);
        if (v > best.Value) best = {c.Pol, place[0], place[1], v};
      }
      if (best.Value <= c.Value) break;
      c = best;
    }
    if (stepA <= space.AFinest && stepB <= FinestAngleDeg) break;
    if (stepA > space.AFinest) stepA *= 0.5;
    if (stepB > FinestAngleDeg) stepB *= 0.5;
  }
  return c;
}

}  // namespace

SiteMaximum ScanSite(const std::vector<PointDipole>& board, double k0,
                     const SiteSettings& settings) {
  ValidateSiteSettings(settings);
  if (!(k0 > 0.0) || !std::isfinite(k0))
    throw std::invalid_argument("The wavenumber of a site scan must be positive");

  const ScanSpace space = MakeSpace(board, k0, settings);
  const DipoleArrays radiators = ArrangeDipoles(settings.Kind == SiteKind::SemiAnechoic
                                                    ? WithFloorImages(board, -settings.EutHeightM)
                                                    : board);
  const auto aAt = [&](int a) {
    return a == space.ACount - 1 ? space.AMax : space.AMin + a * space.AStep;
  };
  const auto bAt = [&](int b) { return b * space.BStep; };

  // The coarse grid, row by row of A; a pole row is one place.
  const std::size_t cells = static_cast<std::size_t>(space.ACount) * space.BCount;
  std::vector<FieldVector> fields(cells);
  const auto isPole = [&](int a) { return IsPoleRow(space, a); };
  ForEachOnAllCores(cells, [&](std::size_t i) {
    const int a = static_cast<int>(i / space.BCount), b = static_cast<int>(i % space.BCount);
    if (isPole(a) && b > 0) return;
    fields[i] =
        FieldAtPlace(radiators, k0, settings, Place(settings, aAt(a), bAt(b), Polarisation::Total));
  });
  for (int a = 0; a < space.ACount; ++a)
    if (isPole(a))
      for (int b = 1; b < space.BCount; ++b)
        fields[static_cast<std::size_t>(a) * space.BCount + b] =
            fields[static_cast<std::size_t>(a) * space.BCount];

  std::vector<Climb> climbs;
  for (Polarisation pol : space.Pols) {
    std::vector<double> values(cells);
    for (std::size_t i = 0; i < cells; ++i)
      values[i] = ReadComponent(fields[i], pol, bAt(static_cast<int>(i % space.BCount)));
    const std::vector<GridPoint> starts = Starts(space, values);
    for (const GridPoint& p : settings.Refine ? starts : std::vector<GridPoint>{starts.front()})
      climbs.push_back({pol, aAt(p.A), bAt(p.B), p.Value});
  }
  if (settings.Refine)
    ForEachOnAllCores(climbs.size(), [&](std::size_t i) {
      climbs[i] = ClimbFrom(climbs[i], space, radiators, k0, settings);
    });

  const Climb* best = &climbs.front();
  for (const Climb& c : climbs)
    if (c.Value > best->Value) best = &c;
  SiteMaximum result = Place(settings, best->A, best->B, best->Pol);
  result.FieldVm = best->Value;
  return result;
}

}  // namespace lumetra::emission

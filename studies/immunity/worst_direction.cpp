#include "studies/immunity/worst_direction.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <exception>
#include <numbers>
#include <thread>

namespace lumetra::immunity {

namespace {

constexpr double RadToDeg = 180.0 / std::numbers::pi;
constexpr double SmallestAutoStepDeg = 2.0;
constexpr double FinestStepDeg = 0.01;
constexpr int StartsPerPolarisation = 4;
constexpr int MovesPerStep = 200;

struct Grid {
  int ThetaCount = 1, PhiCount = 1;
  double ThetaStep = 0.0, PhiStep = 0.0;
};

struct GridValue {
  int A = 0, B = 0;
  double Value = 0.0;
};

Grid MakeGrid(const DirectionScan& scan) {
  const double step = GridStep(scan);
  Grid g;
  g.ThetaCount = static_cast<int>(std::ceil(scan.ThetaMaxDeg / step - 1e-9)) + 1;
  g.ThetaStep = scan.ThetaMaxDeg / (g.ThetaCount - 1);
  g.PhiCount = static_cast<int>(std::ceil(360.0 / step - 1e-9));
  g.PhiStep = 360.0 / g.PhiCount;
  return g;
}

// The highest local maxima of one port's grid values, none a neighbour of a
// better one.
std::vector<GridValue> Starts(const Grid& g, const std::vector<double>& values) {
  const auto at = [&](int a, int b) {
    return values[static_cast<std::size_t>(a) * g.PhiCount + ((b + g.PhiCount) % g.PhiCount)];
  };
  std::vector<GridValue> maxima;
  for (int a = 0; a < g.ThetaCount; ++a)
    for (int b = 0; b < g.PhiCount; ++b) {
      const double v = at(a, b);
      bool highest = true;
      for (int ra = std::max(a - 1, 0); ra <= std::min(a + 1, g.ThetaCount - 1) && highest; ++ra)
        for (int rb = b - 1; rb <= b + 1; ++rb)
          if (at(ra, rb) > v) highest = false;
      if (highest) maxima.push_back({a, b, v});
    }
  std::stable_sort(maxima.begin(), maxima.end(),
                   [](const GridValue& p, const GridValue& q) { return p.Value > q.Value; });
  std::vector<GridValue> starts;
  for (const GridValue& m : maxima) {
    const bool nearTaken = std::any_of(starts.begin(), starts.end(), [&](const GridValue& s) {
      const int db = std::abs(s.B - m.B) % g.PhiCount;
      return std::abs(s.A - m.A) <= 1 && std::min(db, g.PhiCount - db) <= 1;
    });
    if (!nearTaken) starts.push_back(m);
    if (static_cast<int>(starts.size()) == StartsPerPolarisation) break;
  }
  return starts;
}

// Calls work(i) for every i in [0, count) on up to the machine's cores. Each task
// writes only its own results, so the outcome does not depend on the order the
// tasks run in. An exception from a task is rethrown here.
template <typename Work>
void ForEachTask(std::size_t count, Work work) {
  const std::size_t threads =
      std::min<std::size_t>(count, std::max(1u, std::thread::hardware_concurrency()));
  std::atomic<std::size_t> next{0};
  std::exception_ptr failure;
  std::atomic<bool> failed{false};
  const auto run = [&] {
    for (std::size_t i = next++; i < count && !failed; i = next++) {
      try {
        work(i);
      } catch (...) {
        if (!failed.exchange(true)) failure = std::current_exception();
      }
    }
  };
  std::vector<std::thread> pool;
  for (std::size_t t = 1; t < threads; ++t) pool.emplace_back(run);
  run();
  for (std::thread& t : pool) t.join();
  if (failure) std::rethrow_exception(failure);
}

// One climb of the pattern search from a grid point.
struct Climb {
  std::size_t Port = 0;
  Polarisation Pol = Polarisation::Theta;
  double Theta = 0.0, Phi = 0.0;
  WorstDirection Result;
};

}  // namespace

double PolarisationAngle(Polarisation pol) { return pol == Polarisation::Theta ? 0.0 : 90.0; }

double GridStep(const DirectionScan& scan) {
  const double lobe = scan.LayoutRadius > 0.0
                          ? scan.Wavelength / (2.0 * scan.LayoutRadius) * RadToDeg
                          : 360.0;
  return std::min(scan.StepDeg, std::max(0.5 * lobe, SmallestAutoStepDeg));
}

std::vector<WorstDirection> FindWorstDirections(const std::vector<PortReception>& ports,
                                                const RightHandSideOf& rhsOf,
                                                const DirectionScan& scan) {
  std::vector<WorstDirection> worst(ports.size());
  if (ports.empty()) return worst;
  const Grid g = MakeGrid(scan);
  const std::size_t cells = static_cast<std::size_t>(g.ThetaCount) * g.PhiCount;

  // The coarse grid: every port read from one right-hand side per direction, the
  // directions shared out among the cores. values[pol][port][cell].
  std::vector<std::vector<std::vector<double>>> values(
      2, std::vector<std::vector<double>>(ports.size(), std::vector<double>(cells)));
  const Polarisation polarisations[2] = {Polarisation::Theta, Polarisation::Phi};
  ForEachTask(2 * cells, [&](std::size_t task) {
    const std::size_t k = task / cells, cell = task % cells;
    const int a = static_cast<int>(cell) / g.PhiCount, b = static_cast<int>(cell) % g.PhiCount;
    const std::vector<Complex> rhs =
        rhsOf({a * g.ThetaStep, b * g.PhiStep, PolarisationAngle(polarisations[k])});
    for (std::size_t p = 0; p < ports.size(); ++p)
      values[k][p][cell] = CAbs(PortVoltage(ports[p], ReceivedCurrent(ports[p], rhs)));
  });

  // A climb from each of the best grid points of every port and polarisation.
  std::vector<Climb> climbs;
  for (std::size_t k = 0; k < 2; ++k)
    for (std::size_t p = 0; p < ports.size(); ++p)
      for (const GridValue& start : Starts(g, values[k][p]))
        climbs.push_back({p, polarisations[k], start.A * g.ThetaStep, start.B * g.PhiStep, {}});
  ForEachTask(climbs.size(), [&](std::size_t c) {
    Climb& climb = climbs[c];
    const double polDeg = PolarisationAngle(climb.Pol);
    const PortReception& port = ports[climb.Port];
    const auto read = [&](double theta, double phi, Complex& received) {
      received = ReceivedCurrent(port, rhsOf({theta, phi, polDeg}));
      return CAbs(PortVoltage(port, received));
    };
    double theta = climb.Theta, phi = climb.Phi;
    Complex received;
    double best = read(theta, phi, received);
    for (double step = 0.5 * std::max(g.ThetaStep, g.PhiStep); step >= FinestStepDeg; step *= 0.5) {
      for (int move = 0; move < MovesPerStep; ++move) {
        double bestTheta = theta, bestPhi = phi, bestValue = best;
        Complex bestReceived = received;
        const double tries[4][2] = {{theta - step, phi}, {theta + step, phi},
                                    {theta, phi - step}, {theta, phi + step}};
        for (const auto& t : tries) {
          const double tt = std::clamp(t[0], 0.0, scan.ThetaMaxDeg);
          double pp = std::fmod(t[1], 360.0);
          if (pp < 0.0) pp += 360.0;
          Complex r;
          const double v = read(tt, pp, r);
          if (v > bestValue) {
            bestValue = v;
            bestTheta = tt;
            bestPhi = pp;
            bestReceived = r;
          }
        }
        if (bestValue <= best) break;
        best = bestValue;
        theta = bestTheta;
        phi = bestPhi;
        received = bestReceived;
      }
    }
    climb.Result = {theta, phi, climb.Pol, received, best};
  });
  // In the order the serial search took them: theta polarisation first, then phi.
  for (const Climb& climb : climbs)
    if (climb.Result.Voltage > worst[climb.Port].Voltage) worst[climb.Port] = climb.Result;
  return worst;
}

}  // namespace lumetra::immunity

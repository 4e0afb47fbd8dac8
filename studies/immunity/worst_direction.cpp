#include "studies/immunity/worst_direction.h"

#include <algorithm>
#include <cmath>
#include <numbers>

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

  for (Polarisation pol : {Polarisation::Theta, Polarisation::Phi}) {
    const double polDeg = PolarisationAngle(pol);
    // values[port][cell]: every port read from one right-hand side per direction.
    std::vector<std::vector<double>> values(ports.size(), std::vector<double>(cells));
    for (int a = 0; a < g.ThetaCount; ++a)
      for (int b = 0; b < g.PhiCount; ++b) {
        const std::vector<Complex> rhs = rhsOf({a * g.ThetaStep, b * g.PhiStep, polDeg});
        for (std::size_t p = 0; p < ports.size(); ++p)
          values[p][static_cast<std::size_t>(a) * g.PhiCount + b] =
              CAbs(PortVoltage(ports[p], ReceivedCurrent(ports[p], rhs)));
      }

    for (std::size_t p = 0; p < ports.size(); ++p) {
      const auto read = [&](double theta, double phi, Complex& received) {
        received = ReceivedCurrent(ports[p], rhsOf({theta, phi, polDeg}));
        return CAbs(PortVoltage(ports[p], received));
      };
      for (const GridValue& start : Starts(g, values[p])) {
        double theta = start.A * g.ThetaStep, phi = start.B * g.PhiStep;
        Complex received;
        double best = read(theta, phi, received);
        for (double step = 0.5 * std::max(g.ThetaStep, g.PhiStep); step >= FinestStepDeg;
             step *= 0.5) {
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
        if (best > worst[p].Voltage) worst[p] = {theta, phi, pol, received, best};
      }
    }
  }
  return worst;
}

}  // namespace lumetra::immunity

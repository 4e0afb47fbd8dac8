#include "solver/vertical_strip_potential.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <stdexcept>

#include "solver/cell_integrals.h"
#include "solver/strip_cell_integral.h"

namespace lumetra {

namespace {

struct GaussRule {
  std::array<double, 16> Nodes{};    // on [0, 1]
  std::array<double, 16> Weights{};  // summing to 1
};

// Gauss-Legendre on [0, 1] by Newton's iteration on the Legendre polynomial.
GaussRule MakeRule(int n) {
  GaussRule rule;
  for (int i = 0; i < n; ++i) {
    double x = std::cos(M_PI * (i + 0.75) / (n + 0.5));
    double derivative = 1.0;
    for (int iteration = 0; iteration < 100; ++iteration) {
      double p0 = 1.0, p1 = x;
      for (int order = 2; order <= n; ++order) {
        const double p2 = ((2.0 * order - 1.0) * x * p1 - (order - 1.0) * p0) / order;
        p0 = p1;
        p1 = p2;
      }
      derivative = n * (x * p1 - p0) / (x * x - 1.0);
      const double step = p1 / derivative;
      x -= step;
      if (std::fabs(step) < 1e-16) break;
    }
    rule.Nodes[static_cast<std::size_t>(i)] = 0.5 * (1.0 - x);
    rule.Weights[static_cast<std::size_t>(i)] = 1.0 / ((1.0 - x * x) * derivative * derivative);
  }
  return rule;
}

const GaussRule& RuleOf(int points) {
  if (points < 1 || points > 16)
    throw std::invalid_argument("depth test points must be from 1 to 16");
  static const std::array<GaussRule, 16> rules = [] {
    std::array<GaussRule, 16> all;
    for (int n = 1; n <= 16; ++n) all[static_cast<std::size_t>(n - 1)] = MakeRule(n);
    return all;
  }();
  return rules[static_cast<std::size_t>(points - 1)];
}

}  // namespace

Complex DepthAveragedPotential(double k, const VerticalStripPair& pair, int points) {
  const GaussRule& rule = RuleOf(points);
  // The 2h strip in pieces about as tall as it is wide, so that the cell rules
  // see each piece from no closer than its own size when the paths are a cell or
  // two apart; at most 64 pieces.
  const double total = 2.0 * pair.Height;
  const int pieces = std::clamp(static_cast<int>(std::ceil(total / pair.Width)), 1, 64);
  const double piece = total / pieces;
  Complex sum{};
  for (int i = 0; i < points; ++i) {
    const double depth = pair.Height * rule.Nodes[static_cast<std::size_t>(i)];
    Complex atDepth{};
    for (int p = 0; p < pieces; ++p) {
      const Complex part = CellIntegral(k, pair.SourceAlong, -(p + 0.5) * piece, pair.Width, piece,
                                        pair.ObserverAlong, -depth, pair.Perpendicular);
      atDepth.Re += part.Re, atDepth.Im += part.Im;
    }
    const double w = rule.Weights[static_cast<std::size_t>(i)];
    sum.Re += w * atDepth.Re, sum.Im += w * atDepth.Im;
  }
  return sum;
}

Complex SelfDepthAveragedPotential(SelfIntegralMemo& self, double width, double height,
                                   int points) {
  const GaussRule& rule = RuleOf(points);
  Complex sum{};
  for (int i = 0; i < points; ++i) {
    const double depth = height * rule.Nodes[static_cast<std::size_t>(i)];
    // Above the observer: depth t; below it down to the image's lower end: 2h - t;
    // each on both sides of the centre line.
    const Complex up = self.Integral(depth, width / 2);
    const Complex down = self.Integral(2.0 * height - depth, width / 2);
    const double w = 2.0 * rule.Weights[static_cast<std::size_t>(i)];
    sum.Re += w * (up.Re + down.Re), sum.Im += w * (up.Im + down.Im);
  }
  return sum;
}

Complex EdgeSingularDepthAveragedPotential(double k, const VerticalStripPair& pair, int points) {
  const GaussRule& rule = RuleOf(points);
  Complex sum{};
  for (int i = 0; i < points; ++i) {
    // The 2h strip's centre lies at depth h.
    const double depth = pair.Height * rule.Nodes[static_cast<std::size_t>(i)];
    const Complex atDepth = StripCellIntegral(k, 2.0 * pair.Height, pair.Width, depth - pair.Height,
                                              pair.ObserverAlong - pair.SourceAlong, pair.Perpendicular);
    const double w = rule.Weights[static_cast<std::size_t>(i)];
    sum.Re += w * atDepth.Re, sum.Im += w * atDepth.Im;
  }
  return sum;
}

}  // namespace lumetra

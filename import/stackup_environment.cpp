#include "import/stackup_environment.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace lumetra {

namespace {

bool IsCopper(const std::string& name) { return name.ends_with(".Cu"); }

std::string LayerType(const KicadBoard& board, const std::string& name) {
  for (const KicadLayer& layer : board.layers)
    if (layer.name == name) return layer.type;
  return "";
}

// Of the copper layers at the given positions, the one nearest to `from`,
// preferring declared plane layers.
std::optional<std::size_t> NearestPlane(const KicadBoard& board,
                                        const std::vector<std::string>& names, std::size_t from) {
  std::optional<std::size_t> best;
  int bestRank = 0;
  std::size_t bestDistance = 0;
  for (std::size_t k = 0; k < names.size(); ++k) {
    if (k == from || !IsCopper(names[k])) continue;
    const std::string type = LayerType(board, names[k]);
    const int rank = (type == "power" || type == "mixed") ? 0 : 1;
    const std::size_t distance = k > from ? k - from : from - k;
    if (!best || rank < bestRank || (rank == bestRank && distance < bestDistance)) {
      best = k;
      bestRank = rank;
      bestDistance = distance;
    }
  }
  return best;
}

std::string Format(const char* format, double a, double b = 0.0) {
  char text[160];
  std::snprintf(text, sizeof text, format, a, b);
  return text;
}

}  // namespace

std::optional<PlaneBelow> GroundPlaneFromStackup(const KicadBoard& board,
                                                 const std::string& signalLayer) {
  std::vector<std::string> stack;
  for (const KicadStackupLayer& layer : board.stackup) stack.push_back(layer.name);
  bool hasCopperInStack = false;
  for (const std::string& name : stack) hasCopperInStack |= IsCopper(name);

  if (hasCopperInStack) {
    std::optional<std::size_t> from;
    for (std::size_t k = 0; k < stack.size(); ++k)
      if (stack[k] == signalLayer) from = k;
    if (from) {
      const std::optional<std::size_t> plane = NearestPlane(board, stack, *from);
      if (!plane) return std::nullopt;
      const std::size_t low = std::min(*from, *plane), high = std::max(*from, *plane);
      double thickness = 0.0, weighted = 0.0, known = 0.0;
      for (std::size_t k = low + 1; k < high; ++k) {
        const KicadStackupLayer& layer = board.stackup[k];
        if (IsCopper(layer.name) || !layer.thicknessMm) continue;
        thickness += *layer.thicknessMm;
        if (layer.epsilonR) {
          weighted += *layer.epsilonR * *layer.thicknessMm;
          known += *layer.thicknessMm;
        }
      }
      if (thickness > 0.0) {
        PlaneBelow out;
        out.planeLayer = stack[*plane];
        out.heightMm = thickness;
        out.epsilonR = known > 0.0 ? weighted / known : AssumedEpsilonR;
        out.how = "from the stackup: " + Format("%.4g mm", thickness) + " of dielectric to " +
                  out.planeLayer + ", epsilon_r " + Format("%.4g", out.epsilonR) +
                  (known > 0.0 ? "" : " (assumed, the stackup names none)");
        return out;
      }
    }
  }

  // No usable stackup: copper layers in their declared order, evenly spaced.
  std::vector<std::string> copper;
  for (const KicadLayer& layer : board.layers)
    if (IsCopper(layer.name)) copper.push_back(layer.name);
  std::optional<std::size_t> from;
  for (std::size_t k = 0; k < copper.size(); ++k)
    if (copper[k] == signalLayer) from = k;
  if (!from || copper.size() < 2) return std::nullopt;
  const std::optional<std::size_t> plane = NearestPlane(board, copper, *from);
  if (!plane) return std::nullopt;
  const double boardThickness = board.thicknessMm.value_or(AssumedBoardThicknessMm);
  const double steps = static_cast<double>(*plane > *from ? *plane - *from : *from - *plane);
  PlaneBelow out;
  out.planeLayer = copper[*plane];
  out.heightMm = boardThickness * steps / static_cast<double>(copper.size() - 1);
  out.epsilonR = AssumedEpsilonR;
  out.how = "no stackup in the file: copper layers taken as evenly spaced through the " +
            Format("%.4g mm board", boardThickness) + ", " + Format("%.4g mm", out.heightMm) +
            " to " + out.planeLayer + ", epsilon_r " + Format("%.4g", AssumedEpsilonR) +
            " (FR-4) assumed";
  return out;
}

}  // namespace lumetra

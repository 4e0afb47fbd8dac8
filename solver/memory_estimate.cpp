#include "solver/memory_estimate.h"

#include <cstdio>
#include <fstream>
#include <sstream>

#include "solver/complex_arithmetic.h"
#include "solver/fill_geometry.h"

namespace lumetra {

namespace {

constexpr std::int64_t ComplexBytes = sizeof(Complex);

// Bytes in decimal units: GB with two decimals, MB or kB with one below them.
std::string Figure(std::int64_t bytes) {
  char text[48];
  const double b = static_cast<double>(bytes);
  if (b >= 1e9) std::snprintf(text, sizeof text, "%.2f GB", b / 1e9);
  else if (b >= 1e6) std::snprintf(text, sizeof text, "%.1f MB", b / 1e6);
  else std::snprintf(text, sizeof text, "%.1f kB", b / 1e3);
  return text;
}

}  // namespace

std::int64_t SystemOrder(const ElementLists& elements, bool groundPointsModelled) {
  return std::int64_t{elements.NX()} + elements.NY() + (groundPointsModelled ? elements.NG() : 0);
}

std::int64_t MatrixBytes(std::int64_t order) { return ComplexBytes * order * order; }

std::int64_t FrequencyPointBytes(const ElementLists& elements, bool groundPointsModelled,
                                 bool image) {
  const std::int64_t order = SystemOrder(elements, groundPointsModelled);
  const auto observers = static_cast<std::int64_t>(BuildFillGeometry(elements).Observers.size());
  const auto charges = static_cast<std::int64_t>(elements.Charges.size());
  const std::int64_t tables = ComplexBytes * charges * observers * (image ? 2 : 1);
  // Vx, Vy, Ix, Iy and the substitution's copy of the right-hand side; the pivots.
  const std::int64_t vectors = 5 * ComplexBytes * order + 4 * order;
  return MatrixBytes(order) + tables + vectors;
}

std::optional<std::int64_t> MemAvailableBytes(std::string_view meminfo) {
  std::istringstream lines{std::string(meminfo)};
  std::string line;
  while (std::getline(lines, line)) {
    if (line.rfind("MemAvailable:", 0) != 0) continue;
    std::istringstream fields(line.substr(13));
    long long kilobytes = -1;
    std::string unit;
    if (!(fields >> kilobytes >> unit) || kilobytes < 0 || unit != "kB" ||
        kilobytes > (std::int64_t{1} << 52))
      return std::nullopt;
    return std::int64_t{kilobytes} * 1024;
  }
  return std::nullopt;
}

std::optional<std::int64_t> ReadAvailableMemory(const std::filesystem::path& meminfo) {
  std::ifstream in(meminfo);
  if (!in) return std::nullopt;
  std::ostringstream text;
  text << in.rdbuf();
  return MemAvailableBytes(text.str());
}

std::optional<std::string> MemoryRefusal(std::int64_t unknowns, std::int64_t neededBytes,
                                         std::int64_t availableBytes) {
  if (neededBytes <= availableBytes) return std::nullopt;
  return "Error: Not enough memory for " + std::to_string(unknowns) +
         " unknowns: the computation needs " + Figure(neededBytes) + " (the matrix alone " +
         Figure(MatrixBytes(unknowns)) + "), but this machine has only " +
         Figure(availableBytes) + " available";
}

}  // namespace lumetra

// How much memory one frequency point holds at its peak, and how much the machine
// can give without swapping, so that a run too large for the machine is refused
// before its matrix is created rather than paged out or killed half way.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "solver/element_lists.h"

namespace lumetra {

// The order of the system the layout's elements make: every Jx and Jy element,
// plus the ground points when they are modelled (they are unknowns only over a
// ground plane).
std::int64_t SystemOrder(const ElementLists& elements, bool groundPointsModelled);

// A dense complex matrix of that order: 16 n^2 bytes.
std::int64_t MatrixBytes(std::int64_t order);

// The peak of one point: the matrix, the charge-potential tables of the fill (one
// complex value per charge cell and observation point, twice with the image
// terms), the right-hand sides and solutions, and the pivots of the factorisation.
std::int64_t FrequencyPointBytes(const ElementLists& elements, bool groundPointsModelled,
                                 bool image);

// The "MemAvailable:" line of a /proc/meminfo text, in bytes; nullopt when the text
// has no such line or its figure is not a number of kB.
std::optional<std::int64_t> MemAvailableBytes(std::string_view meminfo);

// The machine's available memory from the file (normally /proc/meminfo); nullopt
// where it cannot be read, and then no run is refused for its size.
std::optional<std::int64_t> ReadAvailableMemory(
    const std::filesystem::path& meminfo = "/proc/meminfo");

// The refusal when needed exceeds available; nullopt when the point fits.
std::optional<std::string> MemoryRefusal(std::int64_t unknowns, std::int64_t neededBytes,
                                         std::int64_t availableBytes);

}  // namespace lumetra

// Feeds arbitrary bytes to the signal-file and limit-file readers. They may
// refuse a text, but only with FileError; a signal they accept is sorted, finite
// and free of repeated frequencies, and a limit they accept answers LimitAt at
// every edge with a finite value.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "model/file_io.h"
#include "studies/emission/limit_line.h"
#include "studies/emission/drive_lines_file.h"
#include "tests/fuzz/fuzz_support.h"

using namespace lumetra;
using lumetra::fuzz::Require;
using namespace lumetra::emission;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  try {
    const auto lines = ParseDriveLinesText(text, "fuzz.csv");
    Require(!lines.empty());
    for (std::size_t i = 0; i < lines.size(); ++i) {
      Require(std::isfinite(lines[i].FrequencyMHz) && lines[i].FrequencyMHz > 0.0);
      Require(std::isfinite(std::abs(lines[i].PhasorV)));
      if (i > 0) Require(lines[i - 1].FrequencyMHz < lines[i].FrequencyMHz);
    }
  } catch (const FileError&) {
  }
  try {
    const LimitLine limit = ParseLimitText(text, "fuzz.csv");
    Require(!limit.Segments.empty() && limit.DistanceM > 0.0);
    for (const LimitSegment& s : limit.Segments) {
      const auto at = LimitAt(limit, s.StartMHz);
      Require(at.has_value() && std::isfinite(*at));
      Require(LimitAt(limit, s.StopMHz).has_value());
    }
  } catch (const FileError&) {
  }
  return 0;
}

// Feeds arbitrary text to the Touchstone reader, the port count (1 to 4) taken
// from the first byte as a file name's .sNp would give it. The reader may refuse
// a file, but only with FileError; whatever it accepts must hold together: one
// N x N matrix per frequency, frequencies finite, non-negative and ascending,
// every value finite. Written again and read back, it gives the same numbers of
// frequencies and matrices.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "model/file_io.h"
#include "studies/network/touchstone.h"
#include "tests/fuzz/fuzz_support.h"

using namespace lumetra;
using lumetra::fuzz::Require;
using namespace lumetra::network;

namespace {

void RequireConsistent(const TouchstoneData& data, std::size_t ports) {
  Require(data.Ports == ports);
  Require(data.FrequenciesMHz.size() == data.Matrices.size());
  Require(!data.FrequenciesMHz.empty());
  Require(data.ReferenceOhms.size() == 1 || data.ReferenceOhms.size() == ports);
  for (double r : data.ReferenceOhms) Require(std::isfinite(r) && r > 0.0);
  for (std::size_t k = 0; k < data.FrequenciesMHz.size(); ++k) {
    const double f = data.FrequenciesMHz[k];
    Require(std::isfinite(f) && f >= 0.0);
    if (k > 0) Require(f > data.FrequenciesMHz[k - 1]);
    const PortMatrix& m = data.Matrices[k];
    Require(m.Ports() == ports);
    for (std::size_t i = 0; i < ports; ++i)
      for (std::size_t j = 0; j < ports; ++j)
        Require(std::isfinite(m(i, j).real()) && std::isfinite(m(i, j).imag()));
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const std::size_t ports = 1 + data[0] % 4;
  const std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);
  TouchstoneData read;
  try {
    read = ParseTouchstone(text, "fuzz.s" + std::to_string(ports) + "p", ports);
  } catch (const FileError&) {
    return 0;
  }
  RequireConsistent(read, ports);

  // What was read can be written, and the text reads back to the same records.
  const std::string written = FormatTouchstone(read);
  const TouchstoneData again = ParseTouchstone(written, "again.s" + std::to_string(ports) + "p", ports);
  RequireConsistent(again, ports);
  Require(again.FrequenciesMHz.size() == read.FrequenciesMHz.size());
  return 0;
}

// Touchstone 1.1 files (.sNp): network parameters over frequency in the form
// every RF and signal-integrity tool reads.
//
// Layout: comment lines start with '!'; the option line "# <unit> <parameter>
// <format> R <ohms>" comes before the data (a per-port list "R 50 75 ..." is
// the 1.1 extension); then one record per frequency, ascending: the frequency and
// N^2 value pairs. A one-port record is one line; a two-port record is one line in
// the order N11 N21 N12 N22; from three ports on each matrix row starts a line of
// its own (the first after the frequency), at most four pairs per line. Pairs are
// magnitude and angle (MA), dB and angle (DB, 20 log10 of the magnitude) or real
// and imaginary part (RI); angles in degrees. Z and Y values are normalised:
// Z / R and Y * R (per port: divided, or multiplied, by sqrt(r_i r_j)).
#pragma once

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "studies/network/port_matrix.h"

namespace lumetra::network {

enum class NetworkParameter { S, Y, Z };
enum class PairFormat { MA, DB, RI };

struct TouchstoneData {
  NetworkParameter Parameter = NetworkParameter::S;
  PairFormat Format = PairFormat::MA;
  std::vector<double> ReferenceOhms{50.0};  // one, or one per port
  std::size_t Ports = 0;
  std::vector<double> FrequenciesMHz;       // ascending
  std::vector<PortMatrix> Matrices;         // one per frequency: ohm, siemens or plain S
  std::vector<std::string> Comments;        // the writer's header lines, without '!'
};

// The file's text with CR LF line ends; frequencies in MHz ("# MHZ ...").
// Throws std::invalid_argument for data that cannot be written (matrix sizes that
// differ from Ports, frequencies that do not ascend, bad references).
std::string FormatTouchstone(const TouchstoneData& data);

// Writes the file whole (a failure leaves any old file as it was); FileError.
void WriteTouchstone(const std::filesystem::path& path, const TouchstoneData& data);

// N of a name ending in ".sNp" (any case), N from 1 to 99; none otherwise.
std::optional<std::size_t> PortCountFromName(const std::filesystem::path& path);

// Reads the text of a file of the given port count. Values come back
// denormalised (ohm, siemens), frequencies in MHz. Throws FileError naming the
// file and the line for anything that is not a well-formed file.
TouchstoneData ParseTouchstone(std::string_view text, const std::string& fileName,
                               std::size_t ports);

// Reads a file, with the port count from its name; FileError.
TouchstoneData ReadTouchstone(const std::filesystem::path& path);

const char* ParameterName(NetworkParameter parameter);  // "S", "Y", "Z"
const char* FormatName(PairFormat format);              // "MA", "DB", "RI"

}  // namespace lumetra::network

#include "studies/network/touchstone.h"

#include <cmath>
#include <cstdio>
#include <stdexcept>

#include "model/file_io.h"

namespace lumetra::network {

namespace {

constexpr double RadiansToDegrees = 57.29577951308232;

// Twelve significant digits: far below any solver error, and a round trip through
// the file returns the numbers to that precision.
std::string Number(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%.12g", value == 0.0 ? 0.0 : value);  // no "-0"
  return text;
}

std::string Pair(Cplx value, PairFormat format) {
  switch (format) {
    case PairFormat::RI: return Number(value.real()) + " " + Number(value.imag());
    case PairFormat::MA:
      return Number(std::abs(value)) + " " + Number(std::arg(value) * RadiansToDegrees);
    case PairFormat::DB:
      break;
  }
  // 20 log10 of zero has no value; -999 dB stands for "nothing" as instruments write it.
  const double magnitude = std::abs(value);
  const double db = magnitude > 0.0 ? 20.0 * std::log10(magnitude) : -999.0;
  return Number(db) + " " + Number(std::arg(value) * RadiansToDegrees);
}

// The value as stored: Z and Y normalised to the reference resistances.
Cplx Stored(const TouchstoneData& data, const std::vector<double>& r, const PortMatrix& m,
            std::size_t i, std::size_t j) {
  const double scale = std::sqrt(r[i] * r[j]);
  switch (data.Parameter) {
    case NetworkParameter::Z: return m(i, j) / scale;
    case NetworkParameter::Y: return m(i, j) * scale;
    case NetworkParameter::S: break;
  }
  return m(i, j);
}

}  // namespace

const char* ParameterName(NetworkParameter parameter) {
  switch (parameter) {
    case NetworkParameter::Y: return "Y";
    case NetworkParameter::Z: return "Z";
    case NetworkParameter::S: break;
  }
  return "S";
}

const char* FormatName(PairFormat format) {
  switch (format) {
    case PairFormat::DB: return "DB";
    case PairFormat::RI: return "RI";
    case PairFormat::MA: break;
  }
  return "MA";
}

std::string FormatTouchstone(const TouchstoneData& data) {
  const std::size_t n = data.Ports;
  if (n == 0) throw std::invalid_argument("a network needs at least one port");
  const std::vector<double> r = ReferencesFor(n, data.ReferenceOhms);
  if (data.Matrices.size() != data.FrequenciesMHz.size())
    throw std::invalid_argument("one matrix per frequency");
  for (std::size_t k = 0; k < data.Matrices.size(); ++k) {
    if (data.Matrices[k].Ports() != n) throw std::invalid_argument("matrix of the wrong size");
    if (!(data.FrequenciesMHz[k] >= 0.0) ||
        (k > 0 && !(data.FrequenciesMHz[k] > data.FrequenciesMHz[k - 1])))
      throw std::invalid_argument("the frequencies of a Touchstone file must ascend");
  }

  std::string text;
  const auto line = [&text](const std::string& content) { text += content + "\r\n"; };
  for (const std::string& comment : data.Comments) line("! " + comment);
  std::string option = std::string("# MHZ ") + ParameterName(data.Parameter) + " " +
                       FormatName(data.Format) + " R";
  const bool perPort = data.ReferenceOhms.size() == n && n > 1;
  for (std::size_t i = 0; i < (perPort ? n : 1); ++i) option += " " + Number(r[i]);
  line(option);

  for (std::size_t k = 0; k < data.Matrices.size(); ++k) {
    const PortMatrix& m = data.Matrices[k];
    const std::string frequency = Number(data.FrequenciesMHz[k]);
    if (n <= 2) {
      // One line; a two-port in the column order N11 N21 N12 N22.
      std::string record = frequency;
      for (std::size_t j = 0; j < n; ++j)
        for (std::size_t i = 0; i < n; ++i) record += " " + Pair(Stored(data, r, m, i, j), data.Format);
      line(record);
      continue;
    }
    const std::string indent(frequency.size(), ' ');
    for (std::size_t i = 0; i < n; ++i)
      for (std::size_t j0 = 0; j0 < n; j0 += 4) {
        std::string record = i == 0 && j0 == 0 ? frequency : indent;
        for (std::size_t j = j0; j < std::min(n, j0 + 4); ++j)
          record += " " + Pair(Stored(data, r, m, i, j), data.Format);
        line(record);
      }
  }
  return text;
}

void WriteTouchstone(const std::filesystem::path& path, const TouchstoneData& data) {
  WriteTextFile(path, FormatTouchstone(data));
}

std::optional<std::size_t> PortCountFromName(const std::filesystem::path& path) {
  const std::string extension = path.extension().string();
  if (extension.size() < 4 || extension.size() > 5) return std::nullopt;
  if ((extension[1] != 's' && extension[1] != 'S') ||
      (extension.back() != 'p' && extension.back() != 'P'))
    return std::nullopt;
  std::size_t ports = 0;
  for (std::size_t i = 2; i + 1 < extension.size(); ++i) {
    if (extension[i] < '0' || extension[i] > '9') return std::nullopt;
    ports = ports * 10 + static_cast<std::size_t>(extension[i] - '0');
  }
  if (ports < 1 || extension[2] == '0') return std::nullopt;
  return ports;
}

}  // namespace lumetra::network

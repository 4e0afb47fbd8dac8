#include "plots/port_table.h"

#include <algorithm>
#include <charconv>
#include <cmath>

#include "plots/engineering_units.h"

namespace lumetra {

namespace {

// General form without the locale: "300", "0.001234", "1.5e-07".
std::string General(double value, int digits) {
  if (std::isnan(value)) return {};
  if (std::isinf(value)) return value < 0 ? "-inf" : "inf";
  char text[64];
  const auto result =
      std::to_chars(text, text + sizeof text, value, std::chars_format::general, digits);
  return std::string(text, result.ptr);
}

std::string Scientific(double value, int decimals) {
  char text[64];
  const auto result =
      std::to_chars(text, text + sizeof text, value, std::chars_format::scientific, decimals);
  return std::string(text, result.ptr);
}

std::string Fixed(double value, int decimals) {
  char text[64];
  const auto result =
      std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, decimals);
  return std::string(text, result.ptr);
}

// "a + jb" / "a - jb" with the imaginary part's sign moved in front of the j.
template <typename Format>
std::string Rectangular(Complex z, Format format) {
  return format(z.Re) + (std::signbit(z.Im) ? " - j" : " + j") + format(std::fabs(z.Im));
}

}  // namespace

std::vector<PortRow> PortRows(const std::vector<FrequencyPointResult>& points) {
  std::vector<PortRow> rows;
  for (const FrequencyPointResult& point : points)
    for (const SourceReading& source : point.Sources)
      rows.push_back({point.FrequencyMHz, source.Number, source.Current,
                      PortImpedance(source.Voltage, source.Current)});
  std::stable_sort(rows.begin(), rows.end(),
                   [](const PortRow& a, const PortRow& b) { return a.Source < b.Source; });
  return rows;
}

std::vector<std::int32_t> PortSources(const std::vector<PortRow>& rows) {
  std::vector<std::int32_t> sources;
  for (const PortRow& row : rows) sources.push_back(row.Source);
  std::sort(sources.begin(), sources.end());
  sources.erase(std::unique(sources.begin(), sources.end()), sources.end());
  return sources;
}

PortCells FormatPortRow(const PortRow& row) {
  PortCells cells;
  cells.Frequency = General(row.FrequencyMHz, 10);
  const auto exponent = [](double v) { return Scientific(v, 3); };
  const auto ohms = [](double v) { return Fixed(v, 2); };
  cells.Current = row.Current ? Rectangular(*row.Current, exponent) : "-";
  cells.CurrentMagnitude = row.Current ? exponent(CAbs(*row.Current)) : "-";
  cells.Impedance = row.Impedance ? Rectangular(*row.Impedance, ohms) : "-";
  cells.ImpedanceMagnitude = row.Impedance ? ohms(CAbs(*row.Impedance)) : "-";
  cells.ReflectionDb = row.Impedance ? FormatDb(ReflectionDb(*row.Impedance)) : "-";
  return cells;
}

std::vector<std::string> PortColumnTitles() {
  return {"f [MHz]", "Z = R + jX [ohm]", "|Z| [ohm]", "Gamma 50 ohm [dB]", "I [A]", "|I| [A]"};
}

std::string PortTableCsv(const std::vector<PortRow>& rows) {
  std::string csv =
      "Frequency [MHz],Source,Re(I) [A],Im(I) [A],|I| [A],R [ohm],X [ohm],|Z| [ohm],"
      "Reflection to 50 ohm [dB]\r\n";
  const auto number = [](double v) { return General(v, 10); };
  for (const PortRow& row : rows) {
    csv += number(row.FrequencyMHz) + ',' + std::to_string(row.Source);
    if (row.Current)
      csv += ',' + number(row.Current->Re) + ',' + number(row.Current->Im) + ',' +
             number(CAbs(*row.Current));
    else
      csv += ",,,";
    if (row.Impedance)
      csv += ',' + number(row.Impedance->Re) + ',' + number(row.Impedance->Im) + ',' +
             number(CAbs(*row.Impedance)) + ',' + FormatDb(ReflectionDb(*row.Impedance), 3);
    else
      csv += ",,,,";
    csv += "\r\n";
  }
  return csv;
}

}  // namespace lumetra

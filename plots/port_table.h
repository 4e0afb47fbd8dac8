// The port results of a computation as a table: per voltage source and frequency
// the port current, the port impedance R + jX with |Z|, and the reflection
// coefficient against 50 ohm in dB; as display texts and as CSV for a spreadsheet.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "solver/complex_arithmetic.h"
#include "studies/system_assembly.h"

namespace lumetra {

struct PortRow {
  double FrequencyMHz = 0.0;
  std::int32_t Source = 0;                // 1-based number of the voltage source
  std::optional<Complex> Current;         // A
  std::optional<Complex> Impedance;       // ohm
};

// The rows of the solved points, grouped by source (ascending), each source's
// rows in the order the frequencies were computed.
std::vector<PortRow> PortRows(const std::vector<FrequencyPointResult>& points);
// The distinct source numbers of the rows, ascending.
std::vector<std::int32_t> PortSources(const std::vector<PortRow>& rows);

// The texts of one row in the window's table; a port without a current shows "-"
// in every column after the frequency.
struct PortCells {
  std::string Frequency;          // MHz, shortest form: "300", "1e+03" never
  std::string Current;            // "1.234e-03 - j5.678e-04" A
  std::string CurrentMagnitude;   // "1.234e-03"
  std::string Impedance;          // "73.08 + j42.51"
  std::string ImpedanceMagnitude; // "84.53"
  std::string ReflectionDb;       // "-9.54", "-inf" for a match
};
PortCells FormatPortRow(const PortRow& row);
// The column titles of the window's table, with units, in the order the table
// shows them: frequency, impedance, |Z|, reflection, current, |I|.
std::vector<std::string> PortColumnTitles();

// Comma-separated values: a header row with units, one line per row, CR LF line
// ends, '.' as decimal separator whatever the locale, numbers with 10 significant
// digits; a port without a current leaves its cells empty.
std::string PortTableCsv(const std::vector<PortRow>& rows);

}  // namespace lumetra

#include "fields/plot_cuts.h"

#include <algorithm>
#include <cctype>
#include <cmath>

#include "fields/complex_phase.h"
#include "fields/result_files.h"
#include "model/file_io.h"
#include "model/input_checks.h"
#include "model/number_format.h"
#include "model/text_reader.h"

namespace lumetra {

namespace {

int FieldsOf(PlotFileKind kind) {
  switch (kind) {
    case PlotFileKind::JxCurrents:
    case PlotFileKind::JyCurrents: return CurrentFileFields;
    case PlotFileKind::FarField: return FarFieldFileFields;
    case PlotFileKind::ElectricNearField:
    case PlotFileKind::MagneticNearField: return NearFieldFileFields;
    default: return 0;
  }
}

// Real part, imaginary part, amplitude and phase of re + j im at x.
void AddComplex(PlotCurves& curves, double x, double re, double im) {
  curves.Series[0].Add(x, re);
  curves.Series[1].Add(x, im);
  curves.Series[2].Add(x, std::hypot(re, im));
  curves.Series[3].Add(x, CurrentPhase(re, im));
}

std::string AtFrequency(double frequencyMHz) {
  return " @ " + PlotNumberText(frequencyMHz) + " MHz";
}

// One question over a list of values; nullopt (after the no-data message for an
// empty list) when nothing is chosen.
std::optional<double> AskValue(const PlotQuestions& ask, const std::string& question,
                               const std::vector<double>& values, UserInterface& ui) {
  if (values.empty()) {
    ui.ShowMessage(PlotUtilityNoDataMessage);
    return std::nullopt;
  }
  const std::optional<std::size_t> chosen = ask.Choose(question, PlotListEntries(values));
  if (!chosen || *chosen >= values.size()) return std::nullopt;
  return values[*chosen];
}

std::optional<std::size_t> AskIndex(const PlotQuestions& ask, const std::string& question,
                                    const std::vector<std::string>& entries) {
  const std::optional<std::size_t> chosen = ask.Choose(question, entries);
  return chosen && *chosen < entries.size() ? chosen : std::nullopt;
}

}  // namespace

PlotFileKind PlotFileKindOf(const std::filesystem::path& file) {
  std::string extension = file.extension().string();
  std::transform(extension.begin(), extension.end(), extension.begin(),
                 [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
  if (extension == ".XXX") return PlotFileKind::JxCurrents;
  if (extension == ".YYY") return PlotFileKind::JyCurrents;
  if (extension == ".DAT") return PlotFileKind::CurrentSweep;
  if (extension == ".RAD") return PlotFileKind::FarField;
  if (extension == ".NFE") return PlotFileKind::ElectricNearField;
  if (extension == ".NFH") return PlotFileKind::MagneticNearField;
  return PlotFileKind::Unknown;
}

std::string PlotNumberText(double value) { return FormatGeneral(value); }

std::vector<std::string> PlotListEntries(const std::vector<double>& values) {
  std::vector<std::string> entries;
  entries.reserve(values.size());
  for (double v : values) entries.push_back(PlotNumberText(v));
  return entries;
}

std::vector<double> DistinctValues(const ResultBlock& block, int column) {
  std::vector<double> values;
  if (column < 0 || column >= block.FieldsPerLine) return values;
  for (std::size_t r = 0; r < block.Rows(); ++r) {
    const double v = block.Row(r)[column];
    if (std::find(values.begin(), values.end(), v) == values.end()) values.push_back(v);
  }
  return values;
}

PlotCurves CurrentDensityCut(const ResultBlock& block, bool jx, double constant) {
  PlotCurves curves;
  const int fixed = jx ? 1 : 0;  // centre y for Jx, centre x for Jy
  if (block.FieldsPerLine == CurrentFileFields)
    for (std::size_t r = 0; r < block.Rows(); ++r) {
      const double* v = block.Row(r);
      if (v[fixed] == constant) AddComplex(curves, v[1 - fixed], v[4], v[5]);
    }
  curves.Title =
      std::string(jx ? "Jx" : "Jy") + " current density [A/m]" + AtFrequency(block.Frequency);
  curves.BottomAxisTitle = "Coordinate [mm]";
  return curves;
}

PlotCurves ParseCurrentSweep(std::string_view content, const std::string& fileName) {
  PlotCurves curves;
  curves.Title = "Current density [A/m]";
  curves.BottomAxisTitle = "Frequency [MHz]";
  TextReader reader(content, fileName);
  reader.ReadLine(MaxTextFileBytes);  // the free text of the first line
  for (;;) {
    const int line = reader.Line();
    const std::optional<std::string> text = reader.ReadLine();
    if (!text) break;
    double v[5];
    int count = 0;
    std::size_t at = 0;
    for (;;) {
      at = text->find_first_not_of(" \t\r\f\v", at);
      if (at == std::string::npos) break;
      const std::size_t end = std::min(text->find_first_of(" \t\r\f\v", at), text->size());
      const std::string token = text->substr(at, end - at);
      const std::optional<double> value = ParseRealText(token);
      if (!value) reader.FailAtLine(line, "number expected, found \"" + token.substr(0, 24) + "\"");
      if (count < 5) v[count] = *value;
      ++count;
      at = end;
    }
    if (count == 0) continue;  // a blank line
    if (count != 5)
      reader.FailAtLine(line, "five numbers expected, found " + std::to_string(count));
    for (int s = 0; s < 4; ++s) curves.Series[static_cast<std::size_t>(s)].Add(v[0], v[s + 1]);
  }
  return curves;
}

PlotCurves ReadCurrentSweep(const std::filesystem::path& file) {
  return ParseCurrentSweep(ReadTextFile(file), file.string());
}

PlotCurves PatternCut(const ResultBlock& block, PatternCutKind kind, double angle) {
  PlotCurves curves;
  const bool thetaConstant = kind == PatternCutKind::ThetaConstant;
  const int fixed = thetaConstant ? 0 : 1;
  if (block.FieldsPerLine == FarFieldFileFields)
    for (std::size_t r = 0; r < block.Rows(); ++r) {
      const double* v = block.Row(r);
      if (v[fixed] != angle) continue;
      curves.Series[0].Add(v[1 - fixed], v[2]);
      curves.Series[1].Add(v[1 - fixed], v[3]);
      curves.Series[2].Add(v[1 - fixed], std::hypot(v[2], v[3]));
    }
  curves.Title = std::string("Normalised radiation pattern [V], ") +
                 (thetaConstant ? "Theta=" : "Phi=") + PlotNumberText(angle) +
                 AtFrequency(block.Frequency);
  curves.BottomAxisTitle = thetaConstant ? "Phi [deg.]" : "Theta [deg.]";
  return curves;
}

PlotCurves NearFieldCut(const ResultBlock& block, bool electric, int component, int along,
                        const std::array<double, 3>& constants) {
  PlotCurves curves;
  component = std::clamp(component, 0, 2);
  along = std::clamp(along, 0, 2);
  if (block.FieldsPerLine == NearFieldFileFields)
    for (std::size_t r = 0; r < block.Rows(); ++r) {
      const double* v = block.Row(r);
      bool onLine = true;
      for (int c = 0; c < 3; ++c)
        if (c != along && v[c] != constants[static_cast<std::size_t>(c)]) onLine = false;
      if (onLine) AddComplex(curves, v[along], v[3 + 2 * component], v[4 + 2 * component]);
    }
  const std::string axis(1, "xyz"[component]);
  curves.Title =
      electric ? "Electric field, E" + axis + ", [V/m]" : "Magnetic field, H" + axis + ", [A/m]";
  curves.Title += AtFrequency(block.Frequency);
  curves.BottomAxisTitle = std::string(1, "XYZ"[along]) + " [mm]";
  return curves;
}

std::optional<PlotCurves> PlotResultFile(const std::filesystem::path& file,
                                         const PlotQuestions& ask, UserInterface& ui) {
  const PlotFileKind kind = PlotFileKindOf(file);
  if (kind == PlotFileKind::Unknown) return std::nullopt;
  if (kind == PlotFileKind::CurrentSweep) return ReadCurrentSweep(file);

  const int fields = FieldsOf(kind);
  const std::string content = ReadTextFile(file);
  const std::string name = file.string();
  std::string tail;  // an interrupted run's incomplete last block, set aside
  const std::vector<double> frequencies = ScanFrequencies(content, name, fields, &tail);
  if (!tail.empty()) ui.ShowWarning(tail);
  const std::optional<double> frequency = AskValue(ask, "Frequency [MHz]:", frequencies, ui);
  if (!frequency) return std::nullopt;
  // The lists come from the first block: every block holds the same points.
  const std::optional<ResultBlock> first = FindBlock(content, name, frequencies.front(), fields);
  if (!first) return std::nullopt;
  const auto block = [&]() { return FindBlock(content, name, *frequency, fields); };

  if (kind == PlotFileKind::JxCurrents || kind == PlotFileKind::JyCurrents) {
    const bool jx = kind == PlotFileKind::JxCurrents;
    const std::optional<double> constant =
        AskValue(ask, "Constant coordinate:", DistinctValues(*first, jx ? 1 : 0), ui);
    const std::optional<ResultBlock> chosen = constant ? block() : std::nullopt;
    if (!chosen) return std::nullopt;
    return CurrentDensityCut(*chosen, jx, *constant);
  }

  if (kind == PlotFileKind::FarField) {
    const std::optional<PatternCutKind> cut = ask.ChooseCut();
    if (!cut) return std::nullopt;
    const bool theta = *cut == PatternCutKind::ThetaConstant;
    const std::optional<double> angle =
        AskValue(ask, theta ? "Constant Theta angle:" : "Constant Phi angle:",
                 DistinctValues(*first, theta ? 0 : 1), ui);
    const std::optional<ResultBlock> chosen = angle ? block() : std::nullopt;
    if (!chosen) return std::nullopt;
    return PatternCut(*chosen, *cut, *angle);
  }

  const bool electric = kind == PlotFileKind::ElectricNearField;
  const std::optional<std::size_t> component =
      electric ? AskIndex(ask, "Select field component",
                          {"Ex field component", "Ey field component", "Ez field component"})
               : AskIndex(ask, "Select field component",
                          {"Hx field component", "Hy field component", "Hz field component"});
  if (!component) return std::nullopt;
  const std::optional<std::size_t> along =
      AskIndex(ask, "Select plot variable",
               {"Along X-coordinate", "Along Y-coordinate", "Along Z-coordinate"});
  if (!along) return std::nullopt;
  std::array<double, 3> constants{};
  for (int c = 0; c < 3; ++c) {
    if (c == static_cast<int>(*along)) continue;
    const std::optional<double> value = AskValue(
        ask, std::string("Constant ") + "XYZ"[c] + "-coordinate", DistinctValues(*first, c), ui);
    if (!value) return std::nullopt;
    constants[static_cast<std::size_t>(c)] = *value;
  }
  const std::optional<ResultBlock> chosen = block();
  if (!chosen) return std::nullopt;
  return NearFieldCut(*chosen, electric, static_cast<int>(*component), static_cast<int>(*along),
                      constants);
}

}  // namespace lumetra

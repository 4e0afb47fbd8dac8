#include "fields/result_lists.h"

#include <algorithm>
#include <stdexcept>
#include <system_error>

#include "fields/result_files.h"
#include "fields/result_lists_format.h"
#include "model/file_io.h"
#include "model/input_checks.h"
#include "model/number_format.h"
#include "model/project_files.h"

namespace lumetra {

namespace {

int FieldsOf(ListKind kind) {
  switch (kind) {
    case ListKind::Jx:
    case ListKind::Jy:
      return CurrentFileFields;
    case ListKind::Jz:
      return GroundPlaneFileFields;
    case ListKind::FarField:
      return FarFieldFileFields;
    case ListKind::ElectricField:
    case ListKind::MagneticField:
      return NearFieldFileFields;
  }
  return 0;
}

const char* TitlePrefix(ListKind kind) {
  switch (kind) {
    case ListKind::Jx:
      return "Jx-current at ";
    case ListKind::Jy:
      return "Jy-current at ";
    case ListKind::Jz:
      return "Jz-current at ";
    case ListKind::FarField:
      return "Far-field at ";
    case ListKind::ElectricField:
      return "Electric field at ";
    case ListKind::MagneticField:
      return "Magnetic field at ";
  }
  return "";
}

std::vector<const char*> Extensions(ListKind kind) {
  switch (kind) {
    case ListKind::Jx:
      return {".XXX"};
    case ListKind::Jy:
      return {".YYY"};
    case ListKind::Jz:
      return {".ZZX", ".ZZY"};
    case ListKind::FarField:
      return {".RAD"};
    case ListKind::ElectricField:
      return {".NFE"};
    case ListKind::MagneticField:
      return {".NFH"};
  }
  return {};
}

std::string F(double value, int precision) { return FormatListFixed(value, precision, 2); }

// A current row: the line number, amplitude and phase of (re, im), the three sizes
// and the centre.
std::vector<std::string> CurrentRow(std::size_t number, double re, double im, std::string dx,
                                    std::string dy, std::string dz, double x, double y) {
  return {std::to_string(number),
          FormatListExponent(ListMagnitude(re, im), 4, 2),
          F(ListPhase(re, im, false), 2),
          std::move(dx),
          std::move(dy),
          std::move(dz),
          F(x, 3),
          F(y, 3)};
}

ListFile ReadListFile(const std::filesystem::path& file) {
  ListFile listFile{file.string(), std::nullopt};
  std::error_code error;
  const bool exists = std::filesystem::exists(file, error);
  // Only a file that is not there counts as missing; one that cannot be read is an
  // input/output error, reported by the reader.
  if (exists || error) listFile.Content = ReadTextFile(file);
  return listFile;
}

}  // namespace

FrequencyDialogMode DialogModeOf(ListKind kind) {
  switch (kind) {
    case ListKind::FarField:
      return FrequencyDialogMode::FarField;
    case ListKind::ElectricField:
    case ListKind::MagneticField:
      return FrequencyDialogMode::NearField;
    default:
      return FrequencyDialogMode::Current;
  }
}

std::string_view DialogModeName(FrequencyDialogMode mode) {
  switch (mode) {
    case FrequencyDialogMode::Current:
      return "cur";
    case FrequencyDialogMode::FarField:
      return "rad";
    case FrequencyDialogMode::NearField:
      return "nfe";
  }
  return "";
}

std::string_view ListWindowCaption(ListKind kind) {
  switch (kind) {
    case ListKind::FarField:
      return "Far-field list";
    case ListKind::ElectricField:
    case ListKind::MagneticField:
      return "Near-field list";
    default:
      return "Current list";
  }
}

std::vector<std::string> ListHeader(ListKind kind) {
  switch (kind) {
    case ListKind::Jx:
    case ListKind::Jy:
    case ListKind::Jz:
      return {"No.",     "Amp [A/m]", "Phase [deg]", "dx [mm]",
              "dy [mm]", "dz [mm]",   "xc [mm]",     "yc [mm]"};
    case ListKind::FarField:
      return {"No.", "ETheta [V]", "EPhi [V]", "Theta [deg]", "Phi [deg]"};
    case ListKind::ElectricField:
      return {"x [mm]",   "y [mm]",   "z [mm]",   "Ex [V/m]", "Ex [deg]",
              "Ey [V/m]", "Ey [deg]", "Ez [V/m]", "Ez [deg]"};
    case ListKind::MagneticField:
      return {"x [mm]",   "y [mm]",   "z [mm]",   "Hx [A/m]", "Hx [deg]",
              "Hy [A/m]", "Hy [deg]", "Hz [A/m]", "Hz [deg]"};
  }
  return {};
}

bool FirstColumnIsNumber(ListKind kind) {
  return kind != ListKind::ElectricField && kind != ListKind::MagneticField;
}

void AppendListRows(ListKind kind, const ResultBlock& block, std::size_t firstNumber,
                    std::vector<std::vector<std::string>>& rows) {
  if (block.FieldsPerLine != FieldsOf(kind))
    throw std::invalid_argument("block does not hold the list's fields per line");
  rows.reserve(rows.size() + block.Rows());
  for (std::size_t r = 0; r < block.Rows(); ++r) {
    const double* v = block.Row(r);
    const std::size_t number = firstNumber + r;
    switch (kind) {
      case ListKind::Jx:
      case ListKind::Jy:
        rows.push_back(CurrentRow(number, v[4], v[5], F(v[2], 2), F(v[3], 2), "-", v[0], v[1]));
        break;
      case ListKind::Jz:
        rows.push_back(
            CurrentRow(number, v[5], v[6], F(v[2], 2), F(v[3], 2), F(v[4], 2), v[0], v[1]));
        break;
      case ListKind::FarField:
        rows.push_back({std::to_string(number), FormatListExponent(v[2], 4, 2),
                        FormatListExponent(v[3], 4, 2), F(v[0], 3), F(v[1], 3)});
        break;
      case ListKind::ElectricField:
      case ListKind::MagneticField: {
        std::vector<std::string> row = {F(v[0], 3), F(v[1], 3), F(v[2], 3)};
        for (int c = 0; c < 3; ++c) {
          const double re = v[3 + 2 * c], im = v[4 + 2 * c];
          row.push_back(FormatListExponent(ListMagnitude(re, im), 3, 2));
          row.push_back(F(ListPhase(re, im, true), 2));
        }
        rows.push_back(std::move(row));
        break;
      }
    }
  }
}

std::vector<double> FrequencyDialogFrequencies(const std::filesystem::path& projectFile,
                                               FrequencyDialogMode mode) {
  switch (mode) {
    case FrequencyDialogMode::Current:
      return ScanFrequencies(FrequencyScanFile(projectFile), CurrentFileFields);
    case FrequencyDialogMode::FarField:
      return ScanFrequencies(ProjectFileWithExtension(projectFile, ".RAD"), FarFieldFileFields);
    case FrequencyDialogMode::NearField:
      return ScanFrequencies(ProjectFileWithExtension(projectFile, ".NFE"), NearFieldFileFields);
  }
  return {};
}

std::vector<std::string> FrequencyDialogEntries(const std::vector<double>& frequencies) {
  std::vector<std::string> entries;
  entries.reserve(frequencies.size());
  for (double f : frequencies) entries.push_back(FormatGeneral(f));
  return entries;
}

std::optional<ResultList> BuildResultList(
    ListKind kind, const std::vector<ListFile>& files,
    const std::function<std::vector<double>()>& dialogFrequencies, UserInterface& ui,
    const FrequencyChooser& choose) {
  const int fields = FieldsOf(kind);
  // The files that exist with their frequencies; scanning them whole also finds a
  // damaged file before anything is listed.
  struct Present {
    const ListFile* file;
    std::vector<double> frequencies;
  };
  std::vector<Present> present;
  for (const ListFile& file : files)
    if (file.Content) {
      // A tail an interrupted run left is set aside; the list shows the blocks before it.
      std::string tail;
      present.push_back({&file, ScanFrequencies(*file.Content, file.Name, fields, &tail)});
      if (!tail.empty()) ui.ShowWarning(tail);
    }
  const Present* counted = nullptr;
  for (const Present& p : present)
    if (!p.frequencies.empty()) {
      counted = &p;
      break;
    }
  // No file, or only files a run left empty: nothing to show.
  if (!counted) {
    ui.ShowMessage(NoDataToListMessage);
    return std::nullopt;
  }

  double frequency = counted->frequencies.front();
  if (counted->frequencies.size() > 1) {
    // The dialog offers what the list's own file holds: an interrupted run can leave
    // the dialog's file (the Jx file for the Jy and Jz lists) one block ahead.
    std::vector<double> offered = dialogFrequencies();
    std::erase_if(offered, [&](double f) {
      return std::find(counted->frequencies.begin(), counted->frequencies.end(), f) ==
             counted->frequencies.end();
    });
    const std::vector<std::string> entries = FrequencyDialogEntries(offered);
    const std::optional<std::size_t> selected = choose ? choose(entries) : std::nullopt;
    const std::optional<double> chosen =
        selected && *selected < entries.size() ? ParseRealText(entries[*selected]) : std::nullopt;
    if (!chosen) {
      ui.ShowMessage(SelectFrequencyMessage);
      return std::nullopt;
    }
    frequency = *chosen;
  }

  ResultList list;
  list.Kind = kind;
  list.FrequencyMHz = frequency;
  list.Title = TitlePrefix(kind) + FormatGeneral(frequency) + " MHz";
  list.Header = ListHeader(kind);
  for (const Present& p : present) {
    if (p.frequencies.empty()) continue;
    const std::optional<ResultBlock> block =
        FindBlock(*p.file->Content, p.file->Name, frequency, fields);
    if (!block)
      throw FileError("Error in file \"" + p.file->Name + "\": no results for " +
                      FormatGeneral(frequency) + " MHz");
    AppendListRows(kind, *block, list.Rows.size() + 1, list.Rows);
  }
  return list;
}

std::optional<ResultList> BuildResultList(const std::filesystem::path& projectFile, ListKind kind,
                                          UserInterface& ui, const FrequencyChooser& choose) {
  std::vector<ListFile> files;
  for (const char* extension : Extensions(kind))
    files.push_back(ReadListFile(ProjectFileWithExtension(projectFile, extension)));
  return BuildResultList(
      kind, files, [&] { return FrequencyDialogFrequencies(projectFile, DialogModeOf(kind)); }, ui,
      choose);
}

}  // namespace lumetra

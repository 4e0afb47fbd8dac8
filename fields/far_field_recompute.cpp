#include "fields/far_field_recompute.h"

#include <cmath>

#include "fields/near_field_sources.h"
#include "fields/result_files.h"
#include "fields/result_readers.h"
#include "model/file_io.h"
#include "model/input_checks.h"
#include "model/number_format.h"
#include "model/project_files.h"
#include "model/project_lock.h"
#include "solver/physical_constants.h"

namespace lumetra {

namespace {

constexpr double mm = MillimetreToMetre;

// The rows of the block for frequency f of one current file (none for an empty
// file, which the layout never wrote).
std::vector<double> RowsAtOrAbove(const CurrentFileText& file, double frequencyMHz, int fields,
                                  std::size_t& rows) {
  rows = 0;
  if (file.Empty) return {};
  std::optional<ResultBlock> block = FirstBlockAtOrAbove(file.Content, file.Name, frequencyMHz, fields);
  if (!block)
    throw FileError("Error in file \"" + file.Name + "\": no results for " +
                    FormatGeneral(frequencyMHz) + " MHz or above");
  rows = block->Rows();
  return std::move(block->Values);
}

void AddCurrentElements(const CurrentFileText& file, double frequencyMHz, bool alongX,
                        RadiatingCurrents& currents) {
  std::size_t rows = 0;
  const std::vector<double> v = RowsAtOrAbove(file, frequencyMHz, CurrentFileFields, rows);
  for (std::size_t r = 0; r < rows; ++r) {
    const double* row = v.data() + r * CurrentFileFields;
    // x, y, dx, dy (mm), Re, Im (A/m): moment I dx dy.
    const double area = row[2] * mm * row[3] * mm;
    currents.Horizontal.push_back(
        {row[0] * mm, row[1] * mm, alongX, {row[4] * area, row[5] * area}});
  }
}

// A ground-point line: the edge midpoint, the two cell-size fields of which the one
// along the edge normal is signed and halved (it points into the cell), the height,
// the current. The half strip is centred half of that signed field away from the
// edge; the vertical strip runs the full edge width down to the ground plane.
void AddGroundPoints(const CurrentFileText& file, double frequencyMHz, bool onXEdge,
                     double heightMetres, RadiatingCurrents& currents) {
  std::size_t rows = 0;
  const std::vector<double> v = RowsAtOrAbove(file, frequencyMHz, GroundPlaneFileFields, rows);
  for (std::size_t r = 0; r < rows; ++r) {
    const double* row = v.data() + r * GroundPlaneFileFields;
    const double x = row[0] * mm, y = row[1] * mm;
    const double signedHalf = onXEdge ? row[2] * mm : row[3] * mm;
    const double across = onXEdge ? row[3] * mm : row[2] * mm;  // cell size along the edge
    const Complex current{row[5], row[6]};
    const double area = std::fabs(signedHalf) * across;
    currents.Horizontal.push_back({onXEdge ? x + signedHalf / 2 : x,
                                   onXEdge ? y : y + signedHalf / 2, onXEdge,
                                   {current.Re * area, current.Im * area}});
    const double vertical = across * 2 * heightMetres;
    currents.Vertical.push_back({x, y, signedHalf > 0 ? +1 : -1,
                                 {current.Re * vertical, current.Im * vertical}});
  }
}

// Everything that radiates at frequency f, in the summation order of the writer.
RadiatingCurrents ReadCurrents(const CurrentFileSet& files, double frequencyMHz,
                               double heightMetres) {
  RadiatingCurrents currents;
  AddCurrentElements(files.Xxx, frequencyMHz, true, currents);
  AddGroundPoints(files.Zzx, frequencyMHz, true, heightMetres, currents);
  AddCurrentElements(files.Yyy, frequencyMHz, false, currents);
  AddGroundPoints(files.Zzy, frequencyMHz, false, heightMetres, currents);
  return currents;
}

}  // namespace

bool CheckFarFieldAngles(const FarFieldAngleTexts& texts, bool groundPlane, UserInterface& ui,
                         FarFieldGrid& grid, std::optional<FarFieldAngle>& failed) {
  struct Check {
    FarFieldAngle field;
    const std::string& text;
    const char* name;
    double low, high;
    double* value;
  };
  FarFieldGrid checked;
  const Check checks[] = {
      {FarFieldAngle::ThetaStart, texts.ThetaStart, "Far field Theta angle",
       groundPlane ? -90.1 : -180.1, groundPlane ? 90.1 : 180.1, &checked.ThetaStart},
      {FarFieldAngle::ThetaStop, texts.ThetaStop, "Far field Theta angle", -0.1,
       groundPlane ? 90.1 : 180.1, &checked.ThetaStop},
      {FarFieldAngle::ThetaStep, texts.ThetaStep, "Far field Theta angle step", 0.1, 180.1,
       &checked.ThetaStep},
      {FarFieldAngle::PhiStart, texts.PhiStart, "Far field Phi angle", -0.1, 360.1,
       &checked.PhiStart},
      {FarFieldAngle::PhiStop, texts.PhiStop, "Far field Phi angle", -0.1, 360.1,
       &checked.PhiStop},
      {FarFieldAngle::PhiStep, texts.PhiStep, "Far field Phi angle step", 0.1, 180.1,
       &checked.PhiStep},
  };
  failed.reset();
  for (const Check& check : checks)
    if (!CheckReal(check.text, check.name, check.low, check.high, ui, check.value)) {
      failed = check.field;
      return false;
    }
  grid = checked;
  return true;
}

std::string ComputingFarFieldCaption(double frequencyMHz) {
  return "Wait! Computing far-field at " + FormatGeneral(frequencyMHz) + " MHz";
}

double ReadGroundPlaneHeightMm(const std::filesystem::path& projectFile) {
  const ProFileSettings settings = ParseProFile(ReadTextFile(projectFile), projectFile.string());
  const std::optional<double> height = ParseRealText(settings.GroundPlaneLine);
  if (!height)
    throw FileError("Error in file \"" + projectFile.string() +
                    "\", line 7: ground-plane height expected, found \"" +
                    settings.GroundPlaneLine.substr(0, 24) + "\"");
  return *height;
}

FarFieldRunResult RecomputeFarField(const std::filesystem::path& projectFile,
                                    const FarFieldAngleTexts& texts, UserInterface& ui,
                                    const std::function<void(std::string_view)>& setCaption) {
  FarFieldRunResult result;
  const std::optional<ProjectLock> lock = ProjectLock::TryTake(projectFile);
  if (!lock) {
    ui.ShowMessage(ProjectBusyMessage(projectFile));
    return result;
  }
  if (IsResultFileEmpty(ProjectFileWithExtension(projectFile, ".XXX")) &&
      IsResultFileEmpty(ProjectFileWithExtension(projectFile, ".YYY"))) {
    ui.ShowMessage(NoCurrentFilesText);
    return result;
  }
  const double heightMm = ReadGroundPlaneHeightMm(projectFile);
  const bool groundPlane = heightMm > 0.0;
  FarFieldGrid grid;
  if (!CheckFarFieldAngles(texts, groundPlane, ui, grid, result.FocusField)) return result;

  const std::filesystem::path rad = ProjectFileWithExtension(projectFile, ".RAD");
  const CurrentFileSet files = CurrentFileSet::Read(projectFile);
  const std::vector<double> frequencies = CompleteRunFrequencies(files, ui);
  if (frequencies.empty()) {  // nothing but the incomplete first block of a run
    ui.ShowMessage(NoCurrentFilesText);
    return result;
  }
  const double height = groundPlane ? heightMm * MillimetreToMetre : 0.0;
  const auto aborted = [&] { return ui.PumpEventsAndCheckAbort(); };
  for (std::size_t i = 0; i < frequencies.size(); ++i) {
    const double f = frequencies[i];
    if (setCaption) setCaption(ComputingFarFieldCaption(f));
    const RadiatingCurrents currents = ReadCurrents(files, f, height);
    bool written = false;
    try {
      written = WriteFarFieldBlock(rad, i == 0, f, currents, FreeSpaceMedium(f, height), grid,
                                   aborted);
    } catch (const FileError& error) {
      const std::vector<double> kept(frequencies.begin(),
                                     frequencies.begin() + static_cast<std::ptrdiff_t>(i));
      throw FileError(WithKeptResults(error.what(), kept));
    }
    if (!written) {
      result.Outcome = FarFieldRunOutcome::Aborted;
      return result;
    }
    ++result.Frequencies;
  }
  result.Outcome = FarFieldRunOutcome::Completed;
  return result;
}

}  // namespace lumetra

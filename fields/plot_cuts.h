// What the plot utility plots from a result file, without any widget:
// the questions it asks (frequency, cut, coordinates) with their list entries, and
// the four curves of the chosen cut with the chart title and the bottom axis title.
//
// Curves: current files (.XXX, .YYY) and near-field files (.NFE, .NFH) give the
// real part, imaginary part, amplitude and phase of the cut; the current-sweep file
// (.DAT) its four columns as read; the far-field file (.RAD) Etheta, Ephi and Etot,
// and no phase. A listed coordinate or angle selects the points that carry exactly
// that value, so a value is never matched approximately.
#pragma once

#include <array>
#include <cstddef>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "fields/result_readers.h"
#include "model/user_interface.h"

namespace lumetra {

// Shown instead of a question whose list would be empty (a file without blocks).
inline constexpr const char* PlotUtilityNoDataMessage = "There exist no data to plot!";

enum class PlotFileKind {
  Unknown,
  JxCurrents,         // .XXX
  JyCurrents,         // .YYY
  CurrentSweep,       // .DAT, written by the current-extraction program
  FarField,           // .RAD
  ElectricNearField,  // .NFE
  MagneticNearField,  // .NFH
};
// By the upper-cased extension of the name.
PlotFileKind PlotFileKindOf(const std::filesystem::path& file);

struct PlotCurve {
  std::vector<double> X, Y;
  void Add(double x, double y) {
    X.push_back(x);
    Y.push_back(y);
  }
};

// Series 1..4 of the chart (index 0..3), the chart title and the bottom axis title.
struct PlotCurves {
  std::array<PlotCurve, 4> Series;
  std::string Title;
  std::string BottomAxisTitle;
};

// A number as the lists and titles show it: the default float-to-text conversion.
std::string PlotNumberText(double value);
std::vector<std::string> PlotListEntries(const std::vector<double>& values);

// The distinct values of one column (0-based) of a block, in file order; two
// values are the same only when they are equal as doubles.
std::vector<double> DistinctValues(const ResultBlock& block, int column);

// Current files: the elements of a current block whose centre y (Jx, jx true) or x (Jy)
// equals `constant`, against the other centre coordinate.
PlotCurves CurrentDensityCut(const ResultBlock& block, bool jx, double constant);

// The current-sweep file (.DAT): a first line of free text, then per line frequency (MHz), Re,
// Im, amplitude and phase. Blank lines are passed over; any other line that does
// not hold exactly five numbers is a FileError naming the file and the line.
PlotCurves ParseCurrentSweep(std::string_view content, const std::string& fileName);
PlotCurves ReadCurrentSweep(const std::filesystem::path& file);

// Far field: the records of a far-field block on a cut, against the other angle.
enum class PatternCutKind { ThetaConstant, PhiConstant };
PlotCurves PatternCut(const ResultBlock& block, PatternCutKind kind, double angle);

// Near field: one component (0..2: x, y, z) of a near-field block along one coordinate
// (0..2: x, y, z), at the points whose other two coordinates equal those of
// `constants` (its entry at `along` is not used).
PlotCurves NearFieldCut(const ResultBlock& block, bool electric, int component, int along,
                        const std::array<double, 3>& constants);

// The questions, answered by the window's dialogs (or a test). Choose shows the
// question text and the entries and returns the index of the chosen entry;
// ChooseCut the kind of pattern cut. nullopt abandons the plot.
struct PlotQuestions {
  std::function<std::optional<std::size_t>(const std::string& question,
                                           const std::vector<std::string>& entries)>
      Choose;
  std::function<std::optional<PatternCutKind>()> ChooseCut;
};

// File, "Open..." after the file dialog: asks the questions of the file's kind and
// returns the curves. nullopt for an unknown extension, when a question is not
// answered, or after PlotUtilityNoDataMessage when a list would be empty. Throws
// FileError for a file that is missing or damaged.
std::optional<PlotCurves> PlotResultFile(const std::filesystem::path& file,
                                         const PlotQuestions& ask, UserInterface& ui);

}  // namespace lumetra

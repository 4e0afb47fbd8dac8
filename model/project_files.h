// The project's text files: .PRO, .SEG, the element files .CHE/.JXE/.JYE/.JXC/.JYC
// and the record files .GEN/.IMP/.GPC. All share the directory and base name of the
// .PRO; lines end with CR LF (readers also take LF); lengths are millimetres.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "model/discretisation.h"
#include "model/project.h"

namespace lumetra {

inline constexpr const char* LineEnd = "\r\n";

// Base name of the temporary project copy a computation writes into the working
// directory.
inline constexpr const char* TempFileBase = "TempFile.PRO";

// Reader limits: far beyond anything the solver can compute (2000 unknowns per
// direction), small enough that a hostile file cannot exhaust memory or disk.
inline constexpr std::int64_t MaxChargeElements = 10'000'000;
inline constexpr std::int64_t MaxRecords = 1'000'000;
inline constexpr double MaxCoordinate = 1e7;  // mm

// D/N.PRO with its extension replaced, e.g. ".SEG".
std::filesystem::path ProjectFileWithExtension(const std::filesystem::path& projectFile,
                                               std::string_view extension);

// Date and time written on the first two lines of the .PRO.
struct SaveStamp {
  std::string Date;
  std::string Time;
};
// The locale's short date and long time of now.
SaveStamp CurrentSaveStamp();

// --- Writers (each returns the whole file text, CR LF line ends) ---
std::string FormatProFile(const Project& project, const SaveStamp& stamp);
std::string FormatSegFile(const Project& project);
std::string FormatGenFile(const std::vector<VoltageSource>& sources);
std::string FormatImpFile(const std::vector<ImpedanceElement>& loads);
std::string FormatGpcFile(const std::vector<GroundPoint>& points);

// Writes the .PRO to project.ProjectFile, then base.SEG, .CHE, .JXE, .JYE, .GEN,
// .IMP and .GPC (every file created or truncated, empty lists give empty files).
// The element files are derived from the segments now. Throws FileError.
void SaveProjectFiles(const Project& project, const std::filesystem::path& base,
                      const SaveStamp& stamp = CurrentSaveStamp());

// The connecting-element file (.JXC or .JYC): "x y" then, without a blank, "dx dy".
void WriteConnectingElementFile(const std::filesystem::path& path,
                                const std::vector<CurrentElement>& elements);

// --- Readers (content plus the file name used in error messages) ---

// How many elements of each kind a layout has; the record readers refuse numbers
// beyond them, since the solver indexes its matrices by these numbers.
struct ElementCounts {
  std::int64_t Charges = MaxChargeElements;
  std::int64_t Jx = MaxChargeElements;
  std::int64_t Jy = MaxChargeElements;
};
ElementCounts CountElements(const std::vector<Segment>& segments);

// What Open takes from the .PRO: lines 7, 8 and 15.
struct ProFileSettings {
  std::string GroundPlaneLine;
  std::string ResistivityLine;
  std::string DielConstLine = "1";
};
ProFileSettings ParseProFile(std::string_view content, const std::string& fileName);

// Board, grid and segments from a .SEG into project (lists replaced).
void ParseSegFile(std::string_view content, const std::string& fileName, Project& project);
std::vector<VoltageSource> ParseGenFile(std::string_view content, const std::string& fileName,
                                        const ElementCounts& counts = {});
std::vector<ImpedanceElement> ParseImpFile(std::string_view content, const std::string& fileName,
                                           const ElementCounts& counts = {});
std::vector<GroundPoint> ParseGpcFile(std::string_view content, const std::string& fileName,
                                      const ElementCounts& counts = {});
std::vector<ChargeElement> ParseChargeElementFile(std::string_view content,
                                                  const std::string& fileName);
std::vector<CurrentElement> ParseCurrentElementFile(std::string_view content,
                                                    const std::string& fileName);

// Reads a whole project from its files: the .PRO, the .SEG and, where present, the
// .GEN, .IMP and .GPC. Element numbers of sources, loads and ground points are
// checked against the segments. Returns the complete project (Saved, not
// Connected, ProjectFile = the absolute path) or throws FileError; nothing is
// half-read. The element files are not read; the next save derives them.
Project LoadProject(const std::filesystem::path& projectFile);

// Deletes the temporary project copy of a computation in dir (missing files silently).
void DeleteTempFiles(const std::filesystem::path& dir = ".");

}  // namespace lumetra

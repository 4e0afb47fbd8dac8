#include "fields/near_field_sources.h"

#include <cmath>
#include <optional>

#include "fields/result_files.h"
#include "fields/result_readers.h"
#include "model/file_io.h"
#include "model/number_format.h"
#include "model/project_files.h"
#include "solver/physical_constants.h"

namespace lumetra {

namespace {

constexpr double mm = MillimetreToMetre;

// The data of the block for f, or nothing for an empty file.
std::optional<ResultBlock> BlockOf(const CurrentFileText& file, double frequencyMHz, int fields) {
  if (file.Empty) return std::nullopt;
  std::optional<ResultBlock> block =
      FirstBlockAtOrAbove(file.Content, file.Name, frequencyMHz, fields);
  if (!block)
    throw FileError("Error in file \"" + file.Name + "\": no results for " +
                    FormatGeneral(frequencyMHz) + " MHz or above");
  return block;
}

Dipole Horizontal(double x, double y, bool alongX, Complex moment, double sizeA, double sizeB,
                  double heightMetres) {
  Dipole d;
  d.X = x;
  d.Y = y;
  d.Axis = alongX ? DipoleAxis::X : DipoleAxis::Y;
  d.Moment = moment;
  d.SizeA = sizeA;
  d.SizeB = sizeB;
  d.HasImage = heightMetres > 0.0;
  d.ImageZ = -2.0 * heightMetres;
  return d;
}

// x, y, dx, dy (mm), Re, Im (A/m) per line.
void AddElements(const std::optional<ResultBlock>& block, bool alongX, double heightMetres,
                 std::vector<Dipole>& out) {
  if (!block) return;
  out.reserve(block->Rows());
  for (std::size_t r = 0; r < block->Rows(); ++r) {
    const double* row = block->Row(r);
    const double dx = row[2] * mm, dy = row[3] * mm;
    const double area = dx * dy;
    out.push_back(Horizontal(row[0] * mm, row[1] * mm, alongX, {row[4] * area, row[5] * area}, dx,
                             dy, heightMetres));
  }
}

// A ground-point line: X, Y, a, b (mm, the field along the edge normal signed and
// halved), h (mm), Re, Im. onXEdge: a line of .ZZX, where a is the signed one.
void AddGroundHorizontal(const std::optional<ResultBlock>& block, bool onXEdge, double heightMetres,
                         std::vector<Dipole>& out) {
  if (!block) return;
  for (std::size_t r = 0; r < block->Rows(); ++r) {
    const double* row = block->Row(r);
    const double x = row[0] * mm, y = row[1] * mm, a = row[2] * mm, b = row[3] * mm;
    const double sizeA = onXEdge ? std::fabs(a) : a;
    const double sizeB = onXEdge ? b : std::fabs(b);
    const double area = sizeA * sizeB;
    out.push_back(Horizontal(onXEdge ? x + a / 2 : x, onXEdge ? y : y + b / 2, onXEdge,
                             {row[5] * area, row[6] * area}, sizeA, sizeB, heightMetres));
  }
}

void AddGroundVertical(const std::optional<ResultBlock>& block, bool onXEdge, double heightMetres,
                       std::vector<Dipole>& out) {
  if (!block) return;
  for (std::size_t r = 0; r < block->Rows(); ++r) {
    const double* row = block->Row(r);
    const double a = row[2] * mm, b = row[3] * mm;
    const double signedHalf = onXEdge ? a : b;
    const double w = onXEdge ? b : a;  // the cell size along the edge
    const double length = 2.0 * heightMetres;
    const double scale = (signedHalf > 0 ? 1.0 : -1.0) * w * length;
    Dipole d;
    d.X = row[0] * mm;
    d.Y = row[1] * mm;
    d.Z = -heightMetres;
    d.Axis = DipoleAxis::Z;
    d.Moment = {row[5] * scale, row[6] * scale};
    d.SizeA = w;
    d.SizeB = length;
    out.push_back(d);
  }
}

}  // namespace

CurrentFileText CurrentFileText::Read(const std::filesystem::path& file) {
  CurrentFileText text;
  text.Name = file.string();
  text.Empty = IsResultFileEmpty(file);
  if (!text.Empty) text.Content = ReadTextFile(file);
  return text;
}

CurrentFileText CurrentFileText::FromContent(std::string name, std::string content) {
  CurrentFileText text;
  text.Name = std::move(name);
  text.Empty = content.find_first_not_of(" \t\r\n\f\v") == std::string::npos;
  text.Content = std::move(content);
  return text;
}

CurrentFileSet CurrentFileSet::Read(const std::filesystem::path& projectFile) {
  return {CurrentFileText::Read(ProjectFileWithExtension(projectFile, ".XXX")),
          CurrentFileText::Read(ProjectFileWithExtension(projectFile, ".ZZX")),
          CurrentFileText::Read(ProjectFileWithExtension(projectFile, ".YYY")),
          CurrentFileText::Read(ProjectFileWithExtension(projectFile, ".ZZY"))};
}

std::vector<double> CompleteRunFrequencies(const CurrentFileSet& files, UserInterface& ui) {
  const CurrentFileText& scanned = files.Xxx.Empty ? files.Yyy : files.Xxx;
  std::string tail;
  std::vector<double> frequencies =
      ScanFrequencies(scanned.Content, scanned.Name, CurrentFileFields, &tail);
  if (!tail.empty()) ui.ShowWarning(tail);
  const std::pair<const CurrentFileText*, int> partners[] = {{&files.Xxx, CurrentFileFields},
                                                             {&files.Zzx, GroundPlaneFileFields},
                                                             {&files.Yyy, CurrentFileFields},
                                                             {&files.Zzy, GroundPlaneFileFields}};
  for (const auto& [file, fields] : partners) {
    if (file == &scanned || file->Empty) continue;
    tail.clear();
    const std::size_t whole = ScanFrequencies(file->Content, file->Name, fields, &tail).size();
    if (tail.empty()) continue;  // a file short for another reason is reported when read
    ui.ShowWarning(tail);
    if (whole < frequencies.size()) frequencies.resize(whole);
  }
  return frequencies;
}

std::vector<Dipole> ReadSourceGroup(const CurrentFileSet& files, SourceGroup group,
                                    double frequencyMHz, double heightMetres) {
  std::vector<Dipole> out;
  switch (group) {
    case SourceGroup::JxElements:
      AddElements(BlockOf(files.Xxx, frequencyMHz, CurrentFileFields), true, heightMetres, out);
      break;
    case SourceGroup::ZzxHorizontal:
      AddGroundHorizontal(BlockOf(files.Zzx, frequencyMHz, GroundPlaneFileFields), true,
                          heightMetres, out);
      break;
    case SourceGroup::JyElements:
      AddElements(BlockOf(files.Yyy, frequencyMHz, CurrentFileFields), false, heightMetres, out);
      break;
    case SourceGroup::ZzyHorizontal:
      AddGroundHorizontal(BlockOf(files.Zzy, frequencyMHz, GroundPlaneFileFields), false,
                          heightMetres, out);
      break;
    case SourceGroup::Vertical:
      AddGroundVertical(BlockOf(files.Zzx, frequencyMHz, GroundPlaneFileFields), true, heightMetres,
                        out);
      AddGroundVertical(BlockOf(files.Zzy, frequencyMHz, GroundPlaneFileFields), false,
                        heightMetres, out);
      break;
  }
  return out;
}

NearFieldSources ReadNearFieldSources(const CurrentFileSet& files, double frequencyMHz,
                                      double heightMetres) {
  const std::optional<ResultBlock> xxx = BlockOf(files.Xxx, frequencyMHz, CurrentFileFields);
  const std::optional<ResultBlock> zzx = BlockOf(files.Zzx, frequencyMHz, GroundPlaneFileFields);
  const std::optional<ResultBlock> yyy = BlockOf(files.Yyy, frequencyMHz, CurrentFileFields);
  const std::optional<ResultBlock> zzy = BlockOf(files.Zzy, frequencyMHz, GroundPlaneFileFields);
  NearFieldSources sources;
  auto& g = sources.Groups;
  AddElements(xxx, true, heightMetres, g[static_cast<std::size_t>(SourceGroup::JxElements)]);
  AddGroundHorizontal(zzx, true, heightMetres,
                      g[static_cast<std::size_t>(SourceGroup::ZzxHorizontal)]);
  AddElements(yyy, false, heightMetres, g[static_cast<std::size_t>(SourceGroup::JyElements)]);
  AddGroundHorizontal(zzy, false, heightMetres,
                      g[static_cast<std::size_t>(SourceGroup::ZzyHorizontal)]);
  auto& vertical = g[static_cast<std::size_t>(SourceGroup::Vertical)];
  AddGroundVertical(zzx, true, heightMetres, vertical);
  AddGroundVertical(zzy, false, heightMetres, vertical);
  return sources;
}

}  // namespace lumetra

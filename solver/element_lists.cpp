#include "solver/element_lists.h"

#include <algorithm>
#include <limits>
#include <system_error>

#include "model/file_io.h"
#include "model/project_files.h"
#include "solver/physical_constants.h"

namespace lumetra {

namespace {

constexpr double mm = MillimetreToMetre;

std::vector<CurrentCell> ReadCurrents(const std::filesystem::path& path, std::int64_t charges,
                                      bool optional) {
  std::error_code error;
  if (optional && !std::filesystem::exists(path, error)) return {};
  const std::string content = ReadTextFile(path);
  std::vector<CurrentCell> cells;
  for (const CurrentElement& e : ParseCurrentElementFile(content, path.string())) {
    if (e.From > charges || e.To > charges)
      throw FileError("Error in file \"" + path.string() + "\": element " +
                      std::to_string(cells.size() + 1) + " joins charge element " +
                      std::to_string(std::max(e.From, e.To)) + ", the layout has " +
                      std::to_string(charges));
    cells.push_back({e.X * mm, e.Y * mm, e.Dx * mm, e.Dy * mm, e.From, e.To});
  }
  return cells;
}

}  // namespace

void DeriveLayoutProperties(ElementLists& lists) {
  double minX = std::numeric_limits<double>::infinity(), maxX = -minX, minY = minX, maxY = -minX;
  for (const auto* list : {&lists.Jx, &lists.Jy})
    for (const CurrentCell& c : *list) {
      minX = std::min(minX, c.X), maxX = std::max(maxX, c.X);
      minY = std::min(minY, c.Y), maxY = std::max(maxY, c.Y);
    }
  lists.LayoutSpan = lists.Jx.empty() && lists.Jy.empty() ? 0.0 : std::max(maxX - minX, maxY - minY);

  const auto allLike = [](const std::vector<CurrentCell>& cells) {
    return std::all_of(cells.begin(), cells.end(), [&](const CurrentCell& c) {
      return c.Dx == cells.front().Dx && c.Dy == cells.front().Dy;
    });
  };
  lists.SymX = allLike(lists.Jx);
  lists.SymY = allLike(lists.Jy);
  const auto& q = lists.Charges;
  lists.SymAll = !q.empty() && q.front().Dx == q.front().Dy &&
                 std::all_of(q.begin(), q.end(), [&](const ChargeCell& c) {
                   return c.Dx == q.front().Dx && c.Dy == q.front().Dy;
                 });
  lists.SymAll = lists.SymAll && lists.SymX && lists.SymY;
  if (!lists.GroundPoints.empty()) lists.SymX = lists.SymY = lists.SymAll = false;
}

ElementLists LoadElementLists(const std::filesystem::path& tempBase,
                              const std::filesystem::path& projectFile) {
  ElementLists lists;
  const std::filesystem::path che = ProjectFileWithExtension(tempBase, ".CHE");
  for (const ChargeElement& e : ParseChargeElementFile(ReadTextFile(che), che.string()))
    lists.Charges.push_back({e.X * mm, e.Y * mm, e.Dx * mm, e.Dy * mm});
  const auto charges = static_cast<std::int64_t>(lists.Charges.size());

  lists.Jx = ReadCurrents(ProjectFileWithExtension(tempBase, ".JXE"), charges, false);
  for (const CurrentCell& c : ReadCurrents(ProjectFileWithExtension(projectFile, ".JXC"), charges, true))
    lists.Jx.push_back(c);
  lists.Jy = ReadCurrents(ProjectFileWithExtension(tempBase, ".JYE"), charges, false);
  for (const CurrentCell& c : ReadCurrents(ProjectFileWithExtension(projectFile, ".JYC"), charges, true))
    lists.Jy.push_back(c);

  const std::filesystem::path gpc = ProjectFileWithExtension(tempBase, ".GPC");
  ElementCounts counts;
  counts.Charges = charges;
  for (const GroundPoint& g : ParseGpcFile(ReadTextFile(gpc), gpc.string(), counts)) {
    const bool onXEdge = g.Edge == EdgeLeft || g.Edge == EdgeRight;
    const int side = (g.Edge == EdgeLeft || g.Edge == EdgeBottom) ? +1 : -1;
    lists.GroundPoints.push_back({g.ChargeNo, g.Edge, side, onXEdge, g.X * mm, g.Y * mm});
  }
  DeriveLayoutProperties(lists);
  return lists;
}

}  // namespace lumetra

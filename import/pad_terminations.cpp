#include "import/pad_terminations.h"

#include <cmath>

#include "model/discretisation.h"
#include "model/layout_editing.h"

namespace lumetra {

std::optional<TerminationSite> TerminationSiteNear(const std::vector<Segment>& segments,
                                                   double x, double y) {
  const std::vector<CurrentElement> jx = JxElements(segments), jy = JyElements(segments);
  const CurrentElement* best = nullptr;
  bool bestIsJx = true;
  std::int32_t bestNumber = 0;
  double bestDistance = INFINITY;
  auto consider = [&](const std::vector<CurrentElement>& list, bool isJx) {
    for (std::size_t k = 0; k < list.size(); ++k) {
      const double distance = std::hypot(list[k].X - x, list[k].Y - y);
      if (distance < bestDistance) {
        best = &list[k];
        bestIsJx = isJx;
        bestNumber = static_cast<std::int32_t>(k + 1);
        bestDistance = distance;
      }
    }
  };
  consider(jx, true);
  consider(jy, false);
  if (!best) return std::nullopt;

  TerminationSite site;
  site.element = {bestNumber, best->X, best->Y, best->Dx, best->Dy, bestIsJx};
  // The element reaches from the centre of its From cell to the centre of its To
  // cell, one cell size apart.
  const double stepX = bestIsJx ? best->Dx / 2.0 : 0.0, stepY = bestIsJx ? 0.0 : best->Dy / 2.0;
  const double fromX = best->X - stepX, fromY = best->Y - stepY;
  const double toX = best->X + stepX, toY = best->Y + stepY;
  const bool atFrom = std::hypot(fromX - x, fromY - y) <= std::hypot(toX - x, toY - y);
  ChargeCellHit cell;
  cell.ChargeNo = atFrom ? best->From : best->To;
  cell.X = atFrom ? fromX : toX;
  cell.Y = atFrom ? fromY : toY;
  cell.Dx = best->Dx;
  cell.Dy = best->Dy;
  const std::int32_t edge = bestIsJx ? (atFrom ? EdgeLeft : EdgeRight)
                                     : (atFrom ? EdgeBottom : EdgeTop);
  site.ground = MakeGroundPoint(cell, edge);
  return site;
}

}  // namespace lumetra

#include "model/element_lookup.h"

#include "model/discretisation.h"

namespace lumetra {

namespace {

bool Inside(double x, double y, double cx, double cy, double dx, double dy) {
  return x > cx - dx / 2 && x < cx + dx / 2 && y > cy - dy / 2 && y < cy + dy / 2;
}

template <typename Item>
std::vector<std::size_t> MarkersContaining(const std::vector<Item>& items, double x, double y) {
  std::vector<std::size_t> hits;
  for (std::size_t k = 0; k < items.size(); ++k)
    if (Inside(x, y, items[k].X, items[k].Y, items[k].Dx, items[k].Dy)) hits.push_back(k);
  return hits;
}

}  // namespace

std::vector<std::size_t> SegmentsContaining(const std::vector<Segment>& segments, double x,
                                            double y) {
  std::vector<std::size_t> hits;
  for (std::size_t k = 0; k < segments.size(); ++k) {
    const Segment& s = segments[k];
    if (Inside(x, y, s.Xc, s.Yc, s.Lx, s.Ly)) hits.push_back(k);
  }
  return hits;
}

std::vector<std::size_t> SourcesContaining(const std::vector<VoltageSource>& sources, double x,
                                           double y) {
  return MarkersContaining(sources, x, y);
}

std::vector<std::size_t> ImpedancesContaining(const std::vector<ImpedanceElement>& loads,
                                              double x, double y) {
  return MarkersContaining(loads, x, y);
}

std::optional<CurrentElementHit> FindCurrentElementAt(const std::vector<Segment>& segments,
                                                      std::size_t index, double x, double y,
                                                      bool jx) {
  if (index >= segments.size()) return std::nullopt;
  std::int64_t before = 0;  // elements of this direction in earlier segments
  for (std::size_t k = 0; k < index; ++k)
    before += jx ? JxCount(segments[k]) : JyCount(segments[k]);
  const Segment& s = segments[index];
  const SegmentGeometry g = GeometryOf(s);
  const int columns = jx ? s.ChX - 1 : s.ChX;
  const int rows = jx ? s.ChY : s.ChY - 1;
  for (int j = 0; j < rows; ++j)
    for (int i = 0; i < columns; ++i) {
      // Centre of the element; its area is one cell in size around it.
      const double cx = jx ? g.X1 + g.Dx + i * g.Dx : g.X1 + g.Dx / 2 + i * g.Dx;
      const double cy = jx ? g.Y1 + g.Dy / 2 + j * g.Dy : g.Y1 + g.Dy + j * g.Dy;
      if (Inside(x, y, cx, cy, g.Dx, g.Dy))
        return CurrentElementHit{static_cast<std::int32_t>(before + j * columns + i + 1), cx, cy,
                                 g.Dx, g.Dy, jx};
    }
  return std::nullopt;
}

std::optional<ChargeCellHit> FindChargeCellAt(const std::vector<Segment>& segments,
                                              std::size_t index, double x, double y) {
  if (index >= segments.size()) return std::nullopt;
  const Segment& s = segments[index];
  const SegmentGeometry g = GeometryOf(s);
  const std::int32_t base = ChargeBase(segments, index);
  for (int j = 0; j < s.ChY; ++j)
    for (int i = 0; i < s.ChX; ++i) {
      const double cx = g.X1 + g.Dx / 2 + i * g.Dx, cy = g.Y1 + g.Dy / 2 + j * g.Dy;
      if (Inside(x, y, cx, cy, g.Dx, g.Dy))
        return ChargeCellHit{base + j * s.ChX + i + 1, cx, cy, g.Dx, g.Dy};
    }
  return std::nullopt;
}

}  // namespace lumetra

#include "model/discretisation.h"

namespace lumetra {

SegmentGeometry GeometryOf(const Segment& s) {
  return SegmentGeometry{s.Lx / s.ChX,      s.Ly / s.ChY,      s.Xc - s.Lx / 2,
                         s.Xc + s.Lx / 2,   s.Yc - s.Ly / 2,   s.Yc + s.Ly / 2};
}

void ForEachChargeElement(const Segment& segment,
                          const std::function<void(const ChargeElement&)>& visit) {
  const SegmentGeometry g = GeometryOf(segment);
  for (std::int32_t j = 0; j < segment.ChY; ++j)
    for (std::int32_t i = 0; i < segment.ChX; ++i)
      visit({g.X1 + g.Dx / 2 + i * g.Dx, g.Y1 + g.Dy / 2 + j * g.Dy, g.Dx, g.Dy});
}

void ForEachJxElement(const Segment& segment, std::int32_t chargeBase,
                      const std::function<void(const CurrentElement&)>& visit) {
  const SegmentGeometry g = GeometryOf(segment);
  for (std::int32_t j = 0; j < segment.ChY; ++j)
    for (std::int32_t i = 0; i + 1 < segment.ChX; ++i) {
      const std::int32_t from = chargeBase + j * segment.ChX + i + 1;
      visit({g.X1 + g.Dx + i * g.Dx, g.Y1 + g.Dy / 2 + j * g.Dy, g.Dx, g.Dy, from, from + 1});
    }
}

void ForEachJyElement(const Segment& segment, std::int32_t chargeBase,
                      const std::function<void(const CurrentElement&)>& visit) {
  const SegmentGeometry g = GeometryOf(segment);
  for (std::int32_t j = 0; j + 1 < segment.ChY; ++j)
    for (std::int32_t i = 0; i < segment.ChX; ++i) {
      const std::int32_t from = chargeBase + j * segment.ChX + i + 1;
      visit({g.X1 + g.Dx / 2 + i * g.Dx, g.Y1 + g.Dy + j * g.Dy, g.Dx, g.Dy, from,
             from + segment.ChX});
    }
}

std::vector<ChargeElement> ChargeElements(const std::vector<Segment>& segments) {
  std::vector<ChargeElement> elements;
  for (const Segment& s : segments)
    ForEachChargeElement(s, [&](const ChargeElement& e) { elements.push_back(e); });
  return elements;
}

namespace {

std::vector<CurrentElement> CurrentElements(
    const std::vector<Segment>& segments,
    void (*forEach)(const Segment&, std::int32_t,
                    const std::function<void(const CurrentElement&)>&)) {
  std::vector<CurrentElement> elements;
  std::int32_t base = 0;
  for (const Segment& s : segments) {
    forEach(s, base, [&](const CurrentElement& e) { elements.push_back(e); });
    base += static_cast<std::int32_t>(ChargeCount(s));
  }
  return elements;
}

}  // namespace

std::vector<CurrentElement> JxElements(const std::vector<Segment>& segments) {
  return CurrentElements(segments, &ForEachJxElement);
}

std::vector<CurrentElement> JyElements(const std::vector<Segment>& segments) {
  return CurrentElements(segments, &ForEachJyElement);
}

std::int32_t ChargeBase(const std::vector<Segment>& segments, std::size_t index) {
  std::int64_t base = 0;
  for (std::size_t k = 0; k < index && k < segments.size(); ++k) base += ChargeCount(segments[k]);
  return static_cast<std::int32_t>(base);
}

}  // namespace lumetra

#include "solver/ground_point_fill.h"

#include <cmath>

#include "solver/cell_integrals.h"
#include "solver/vertical_strip_potential.h"

namespace lumetra {

namespace {

// The path of one ground point's current, worked out from its record.
struct GroundPath {
  std::int32_t Charge;  // 0-based cell
  const ChargeCell* Cell;
  int Side;             // +1 left or bottom edge, -1 right or top edge
  bool OnXEdge;
  double Xg, Yg;        // edge midpoint
  double StripX, StripY;  // centre of the horizontal half strip
  CellSizeKey Strip;      // its size
  double NormalSize;      // cell size across the edge: dx on an x-edge, dy on a y-edge
  std::int32_t CentreObserver;
};

GroundPath PathOf(const FillContext& context, std::int32_t g) {
  const GroundContact& contact = context.Elements.GroundPoints[static_cast<std::size_t>(g)];
  GroundPath p;
  p.Charge = contact.ChargeNo - 1;
  p.Cell = &context.Elements.Charges[static_cast<std::size_t>(p.Charge)];
  p.Side = contact.Side;
  p.OnXEdge = contact.OnXEdge;
  p.Xg = contact.X, p.Yg = contact.Y;
  const ChargeCell& q = *p.Cell;
  if (p.OnXEdge) {
    p.StripX = q.X - p.Side * q.Dx / 4, p.StripY = q.Y;
    p.Strip = CellIntegralCache::SizeKey(q.Dx / 2, q.Dy);
    p.NormalSize = q.Dx;
  } else {
    p.StripX = q.X, p.StripY = q.Y - p.Side * q.Dy / 4;
    p.Strip = CellIntegralCache::SizeKey(q.Dx, q.Dy / 2);
    p.NormalSize = q.Dy;
  }
  p.CentreObserver = context.Geometry.GroundCellObserver[static_cast<std::size_t>(g)];
  return p;
}

// Column entries (xz or yz): testing current element n of one direction against
// ground point p, divided by j.
Complex CurrentRowEntry(const FillContext& context, const GroundPath& p, bool testingAlongX,
                        std::int32_t n, WorkerScratch& scratch) {
  const CurrentCell& test =
      (testingAlongX ? context.Elements.Jx : context.Elements.Jy)[static_cast<std::size_t>(n)];
  const CurrentEndPoints& ends = testingAlongX ? context.Geometry.Jx : context.Geometry.Jy;
  const bool parallel = p.OnXEdge == testingAlongX;
  Complex sum{};
  // The half strip's current is parallel to the testing current or at right angles
  // to it (no vector-potential coupling then).
  if (parallel) {
    const Complex h0 = scratch.Free.Integral(p.Strip, p.StripX, p.StripY, test.X, test.Y);
    const Complex h2 = scratch.Mirror.Integral(p.Strip, p.StripX, p.StripY, test.X, test.Y);
    sum = CScale(CSub(h0, h2), context.VectorFactor() * (testingAlongX ? test.Dx : test.Dy));
  }
  // Charge on the cell, seen from P+ and P- and from their images. Along the
  // strip's own direction only the end that can lie on the cell centre from the
  // strip's side (P+ for side -1, P- for side +1) takes the self form; across it
  // either end can.
  const std::int32_t plus = ends.PlusObserver[static_cast<std::size_t>(n)];
  const std::int32_t minus = ends.MinusObserver[static_cast<std::size_t>(n)];
  const bool onPlus = ends.PlusCoincident.Contains(n, p.Charge);
  const bool onMinus = ends.MinusCoincident.Contains(n, p.Charge);
  const bool selfPlus = parallel ? (p.Side == -1 && onPlus) : onPlus;
  const bool selfMinus = parallel ? (p.Side == +1 && onMinus) : onMinus;
  const Complex self = context.ChargeSelf[static_cast<std::size_t>(p.Charge)];
  const Complex* free = context.Free.Column(p.Charge);
  const Complex* mirror = context.Mirror.Column(p.Charge);
  const Complex a1 = selfPlus ? self : free[plus];
  const Complex a2 = selfMinus ? self : free[minus];
  const Complex difference = CSub(CSub(a1, a2), CSub(mirror[plus], mirror[minus]));
  const double chargeFactor =
      -p.Side * OneOverFourPi / (context.Constants.Omega * context.Constants.EpsEff * p.NormalSize);
  return CAdd(sum, CScale(difference, chargeFactor));
}

// Row entries (zx or zy): ground point p tested against source current element m,
// divided by j.
Complex CurrentColumnEntry(const FillContext& context, const GroundPath& p, bool sourceAlongX,
                           std::int32_t m, WorkerScratch& scratch) {
  const CurrentCell& source =
      (sourceAlongX ? context.Elements.Jx : context.Elements.Jy)[static_cast<std::size_t>(m)];
  Complex sum{};
  if (p.OnXEdge == sourceAlongX) {
    const CellSizeKey size = CellIntegralCache::SizeKey(source.Dx, source.Dy);
    const bool strip = context.Strips.ElementOnStrip(sourceAlongX, m);
    const Complex i0 = strip ? StripCurrentIntegral(source, sourceAlongX, p.Xg, p.Yg, scratch.StripFree)
                             : scratch.Free.Integral(size, source.X, source.Y, p.Xg, p.Yg);
    const Complex i2 = strip ? StripCurrentIntegral(source, sourceAlongX, p.Xg, p.Yg, scratch.StripMirror)
                             : scratch.Mirror.Integral(size, source.X, source.Y, p.Xg, p.Yg);
    sum = CScale(CSub(i0, i2), context.VectorFactor() * (p.NormalSize / 2));
  }
  // Potential difference along the path: at its lower end (depth h) the cell's
  // charge and its image (2h below the cell) are equally far and cancel, leaving
  // the image seen from the cell centre minus the charge seen from there.
  const ChargeCell& own = *p.Cell;
  const std::int32_t cells[2] = {source.Negative - 1, source.Positive - 1};
  const double signs[2] = {1.0, -1.0};
  for (int i = 0; i < 2; ++i) {
    const std::int32_t qi = cells[i];
    const ChargeCell& cell = context.Elements.Charges[static_cast<std::size_t>(qi)];
    const bool onCentre = std::fabs(own.X - cell.X) < CoincidenceTolerance &&
                          std::fabs(own.Y - cell.Y) < CoincidenceTolerance;
    const Complex b = onCentre ? context.ChargeSelf[static_cast<std::size_t>(qi)]
                               : context.Free.Column(qi)[p.CentreObserver];
    const Complex d = context.Mirror.Column(qi)[p.CentreObserver];
    const double length = sourceAlongX ? cell.Dx : cell.Dy;
    const double factor =
        signs[i] * -p.Side * OneOverFourPi / (context.Constants.Omega * context.Constants.EpsEff * length);
    sum = CAdd(sum, CScale(CSub(d, b), factor));
  }
  return sum;
}

// Ground point n tested against ground point m, divided by j.
Complex GroundGroundEntry(const FillContext& context, const GroundPath& n, const GroundPath& m,
                          bool same, WorkerScratch& scratch) {
  const double k = context.Constants.K, h = context.Constants.Height;
  const ChargeCell& cell = *m.Cell;
  // Horizontal: m's half strip seen from n's edge midpoint. Half strips at right
  // angles (an x edge and a y edge) carry perpendicular currents and do not couple
  // through the vector potential.
  Complex sum{0.0, 0.0};
  if (n.OnXEdge == m.OnXEdge) {
    const Complex h0 = same ? CScale(scratch.Self.Integral(cell.Dx / 2, cell.Dy / 2), 2.0)
                            : scratch.Free.Integral(m.Strip, m.StripX, m.StripY, n.Xg, n.Yg);
    const Complex h2 = scratch.Mirror.Integral(m.Strip, m.StripX, m.StripY, n.Xg, n.Yg);
    sum = CScale(CSub(h0, h2), context.VectorFactor() * (m.NormalSize / 2));
  }

  // Vertical: m's strip and its image, integrated in their own vertical plane
  // (coordinates along the edge and depth), seen from n's edge midpoint in the
  // trace plane at the perpendicular distance between the two edges.
  const double along = m.OnXEdge ? m.Yg : m.Xg, observerAlong = m.OnXEdge ? n.Yg : n.Xg;
  const double width = m.OnXEdge ? cell.Dy : cell.Dx;
  const double perpendicular = m.OnXEdge ? n.Xg - m.Xg : n.Yg - m.Yg;
  Complex vertical;
  if (context.Accuracy == SolverAccuracy::High) {
    // Tested over the whole depth of n's path, not only at its top end, and with the
    // edge-singular current across the post (the round wire of radius width/4).
    vertical = EdgeSingularDepthAveragedPotential(k, {along, observerAlong, perpendicular, width, h},
                                                  DepthTestPoints);
  } else {
    const Complex v1 = !same ? CellIntegral(k, along, -h / 2, width, h, observerAlong, 0.0, perpendicular)
                       : m.OnXEdge ? CScale(scratch.Self.Integral(h, cell.Dy / 2), 2.0)
                                   : CScale(scratch.Self.Integral(cell.Dx / 2, h), 2.0);
    const Complex v2 = CellIntegral(k, along, -3 * h / 2, width, h, observerAlong, 0.0, perpendicular);
    vertical = CAdd(v1, v2);
  }
  // The vertical current of a ground point runs down for one side of its cell and
  // up for the other (the far field and the excitation carry the same side
  // factor), so the coupling of two vertical strips carries both sides.
  sum = CAdd(sum, CScale(vertical, context.VectorFactor() * h * m.Side * n.Side));

  // Charge: m's cell seen from n's cell centre, and its image.
  const Complex q0 = same ? context.ChargeSelf[static_cast<std::size_t>(m.Charge)]
                          : context.Free.Column(m.Charge)[n.CentreObserver];
  const Complex q2 = context.Mirror.Column(m.Charge)[n.CentreObserver];
  const double chargeFactor = -m.Side * n.Side * OneOverFourPi /
                              (context.Constants.Omega * context.Constants.EpsEff * m.NormalSize);
  return CAdd(sum, CScale(CSub(q0, q2), chargeFactor));
}

}  // namespace

void FillGroundPoint(const FillContext& context, const GroundPointBlocks& blocks, std::int32_t g,
                     WorkerScratch& scratch) {
  const GroundPath path = PathOf(context, g);
  const ElementLists& elements = context.Elements;
  if (blocks.Xz)
    for (std::int32_t n = 0; n < elements.NX(); ++n)
      (*blocks.Xz)(n + 1, blocks.XzColumn + g + 1) = TimesJ(CurrentRowEntry(context, path, true, n, scratch));
  if (blocks.Yz)
    for (std::int32_t n = 0; n < elements.NY(); ++n)
      (*blocks.Yz)(n + 1, blocks.YzColumn + g + 1) = TimesJ(CurrentRowEntry(context, path, false, n, scratch));
  if (blocks.Zx)
    for (std::int32_t m = 0; m < elements.NX(); ++m)
      (*blocks.Zx)(blocks.ZxRow + g + 1, m + 1) = TimesJ(CurrentColumnEntry(context, path, true, m, scratch));
  if (blocks.Zy)
    for (std::int32_t m = 0; m < elements.NY(); ++m)
      (*blocks.Zy)(blocks.ZyRow + g + 1, m + 1) = TimesJ(CurrentColumnEntry(context, path, false, m, scratch));
  if (blocks.Zz)
    for (std::int32_t m = 0; m < elements.NG(); ++m) {
      const GroundPath source = m == g ? path : PathOf(context, m);
      (*blocks.Zz)(blocks.ZzOffset + g + 1, blocks.ZzOffset + m + 1) =
          TimesJ(GroundGroundEntry(context, path, source, m == g, scratch));
    }
}

}  // namespace lumetra

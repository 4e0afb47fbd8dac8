#include "tests/solver/fill_reference.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

#include "model/connections.h"
#include "model/discretisation.h"

namespace lumetra::testing {

namespace {

constexpr double mu0 = 1.2566370614359173e-06;
constexpr double oneOverPi = 0.3183098861837907;
constexpr double fourPi = 12.566370614359172;
constexpr double oneOverFourPi = 0.07957747154594767;
constexpr double tolerance = 1e-12;

Complex Add(Complex a, Complex b) { return {a.Re + b.Re, a.Im + b.Im}; }
Complex Sub(Complex a, Complex b) { return {a.Re - b.Re, a.Im - b.Im}; }
Complex Scale(double s, Complex a) { return {s * a.Re, s * a.Im}; }
Complex J(Complex a) { return {-a.Im, a.Re}; }  // j * a

bool Coincide(double x1, double y1, double x2, double y2) {
  return std::fabs(x1 - x2) < tolerance && std::fabs(y1 - y2) < tolerance;
}

// Midpoint-rule integral of e^(-jkR)/R over a rectangle: four samples from k R0 = 1
// outward, 8 x 8 nearer.
Complex ReferenceCellIntegral(double k, double xc, double yc, double wx, double wy, double xo,
                              double yo, double z) {
  const double R0 = std::sqrt((xc - xo) * (xc - xo) + (yc - yo) * (yc - yo) + z * z);
  double re = 0, im = 0;
  auto sample = [&](double x, double y) {
    const double R = std::sqrt((x - xo) * (x - xo) + (y - yo) * (y - yo) + z * z);
    re += std::cos(k * R) / R;
    im -= std::sin(k * R) / R;
  };
  if (k * R0 >= 1) {
    sample(xc - wx / 4, yc - wy / 4);
    sample(xc + wx / 4, yc - wy / 4);
    sample(xc + wx / 4, yc + wy / 4);
    sample(xc - wx / 4, yc + wy / 4);
    return {re * wx * wy * 0.25, im * wx * wy * 0.25};
  }
  for (int l = 0; l <= 7; ++l)
    for (int i = 0; i <= 7; ++i)
      sample(xc - wx / 2 + wx / 16 + i * wx / 8, yc - wy / 2 + wy / 16 + l * wy / 8);
  return {re * wx * wy / 64, im * wx * wy / 64};
}

// The integral over [0, b] x [0, a] from its corner, in polar steps of pi/1000.
Complex ReferenceSelfCellIntegral(double k, double b, double a) {
  const double theta0 = std::atan(a / b);
  const double d = 0.0031415926535897933;
  double theta = 0, re = 0, im = 0;
  do {
    const double rho = b / std::cos(theta);
    re += std::sin(k * rho);
    im += std::cos(k * rho) - 1;
    theta = theta + d;
  } while (theta <= theta0);
  do {
    const double rho = a / std::sin(theta);
    re += std::sin(k * rho);
    im += std::cos(k * rho) - 1;
    theta = theta + d;
  } while (theta <= 1.5707963267948966);
  return {re * (d / k), im * (d / k)};
}

struct State {
  const ElementLists& e;
  double Omega, EpsEff, K, h;

  Complex CI(double xc, double yc, double wx, double wy, double xo, double yo, double z) const {
    return ReferenceCellIntegral(K, xc, yc, wx, wy, xo, yo, z);
  }
  Complex Self(double b, double a) const { return ReferenceSelfCellIntegral(K, b, a); }
  const ChargeCell& Q(std::int32_t number) const { return e.Charges[number - 1]; }
  // The integral over charge cell `number` from (x, y) at offset z, self form if asked.
  Complex OverCharge(std::int32_t number, double x, double y, double z, bool selfForm) const {
    const ChargeCell& q = Q(number);
    return selfForm ? Scale(4, Self(q.Dx / 2, q.Dy / 2)) : CI(q.X, q.Y, q.Dx, q.Dy, x, y, z);
  }
};

// ---- Current-current blocks -------------------------------------------------

// One same-direction block (xx with alongX, yy without), one flavour: free space
// (mirror = false: sets the vector part, adds the scalar part, self forms) or image
// (mirror = true: subtracts both at offset 2h, no self forms). Then the symmetric copies.
void SameDirectionFill(const State& s, bool alongX, bool mirror, ComplexMatrix& Z) {
  const auto& list = alongX ? s.e.Jx : s.e.Jy;
  const bool sym = alongX ? s.e.SymX : s.e.SymY;
  const std::int32_t N = static_cast<std::int32_t>(list.size());
  const double z = mirror ? 2 * s.h : 0.0;
  const double sign = mirror ? -1.0 : 1.0;
  auto inRange = [&](std::int32_t n, std::int32_t m) {
    if (!sym) return true;
    return m == 1 ? n == 1 : n <= m - 1;
  };
  for (std::int32_t m = 1; m <= N; ++m)
    for (std::int32_t n = 1; n <= N; ++n) {
      if (!inRange(n, m)) continue;
      const CurrentCell& cm = list[m - 1];
      const CurrentCell& cn = list[n - 1];
      // The vector potential: the source element's cell seen from the testing centre.
      const Complex I = (!mirror && n == m) ? Scale(4, s.Self(cm.Dx / 2, cm.Dy / 2))
                                            : s.CI(cm.X, cm.Y, cm.Dx, cm.Dy, cn.X, cn.Y, z);
      const double len = alongX ? cn.Dx : cn.Dy;
      const Complex term = J(Scale(s.Omega * mu0 * oneOverPi * len * 0.25, I));
      Z(n, m) = mirror ? Sub(Z(n, m), term) : term;
      // The scalar potential: the source's two charge cells seen from the testing
      // element's end points P+ and P-.
      const double pxp = alongX ? cn.X + cn.Dx / 2 : cn.X, pyp = alongX ? cn.Y : cn.Y + cn.Dy / 2;
      const double pxm = alongX ? cn.X - cn.Dx / 2 : cn.X, pym = alongX ? cn.Y : cn.Y - cn.Dy / 2;
      const ChargeCell& q1 = s.Q(cm.Negative);
      const ChargeCell& q2 = s.Q(cm.Positive);
      const Complex A1 = s.OverCharge(cm.Negative, pxp, pyp, z, !mirror && Coincide(q1.X, q1.Y, pxp, pyp));
      const Complex A2 = s.OverCharge(cm.Negative, pxm, pym, z, !mirror && n == m);
      const Complex A3 = s.OverCharge(cm.Positive, pxp, pyp, z, !mirror && n == m);
      const Complex A4 = s.OverCharge(cm.Positive, pxm, pym, z, !mirror && Coincide(q2.X, q2.Y, pxm, pym));
      const double d1 = alongX ? q1.Dx : q1.Dy, d2 = alongX ? q2.Dx : q2.Dy;
      const Complex T = Sub(Scale(1 / d1, Sub(A1, A2)), Scale(1 / d2, Sub(A3, A4)));
      Z(n, m) = Add(Z(n, m), Scale(sign / (fourPi * s.Omega * s.EpsEff), J(T)));
    }
  if (sym)
    for (std::int32_t m = 1; m <= N; ++m) {
      if (m >= 2) Z(m, m) = Z(1, 1);
      for (std::int32_t n = 1; n < m; ++n) Z(m, n) = Z(n, m);
    }
}

// Jx rows with Jy sources (testingX) or Jy rows with Jx sources: scalar pass only;
// free space sets the entry, the image subtracts. Each integral takes the self form
// when its end point lies on the charge cell's centre.
void MixedFill(const State& s, bool testingX, bool mirror, ComplexMatrix& Z) {
  const auto& rows = testingX ? s.e.Jx : s.e.Jy;
  const auto& cols = testingX ? s.e.Jy : s.e.Jx;
  const double z = mirror ? 2 * s.h : 0.0;
  for (std::int32_t m = 1; m <= static_cast<std::int32_t>(cols.size()); ++m)
    for (std::int32_t n = 1; n <= static_cast<std::int32_t>(rows.size()); ++n) {
      const CurrentCell& cm = cols[m - 1];
      const CurrentCell& cn = rows[n - 1];
      const double pxp = testingX ? cn.X + cn.Dx / 2 : cn.X, pyp = testingX ? cn.Y : cn.Y + cn.Dy / 2;
      const double pxm = testingX ? cn.X - cn.Dx / 2 : cn.X, pym = testingX ? cn.Y : cn.Y - cn.Dy / 2;
      const ChargeCell& q1 = s.Q(cm.Negative);
      const ChargeCell& q2 = s.Q(cm.Positive);
      const Complex A1 = s.OverCharge(cm.Negative, pxp, pyp, z, !mirror && Coincide(q1.X, q1.Y, pxp, pyp));
      const Complex A2 = s.OverCharge(cm.Negative, pxm, pym, z, !mirror && Coincide(q1.X, q1.Y, pxm, pym));
      const Complex A3 = s.OverCharge(cm.Positive, pxp, pyp, z, !mirror && Coincide(q2.X, q2.Y, pxp, pyp));
      const Complex A4 = s.OverCharge(cm.Positive, pxm, pym, z, !mirror && Coincide(q2.X, q2.Y, pxm, pym));
      // The source's charge cells are divided by their length along the source current.
      const double d1 = testingX ? q1.Dy : q1.Dx, d2 = testingX ? q2.Dy : q2.Dx;
      const Complex T = Sub(Scale(1 / d1, Sub(A1, A2)), Scale(1 / d2, Sub(A3, A4)));
      const Complex term = J(Scale(1 / (fourPi * s.Omega * s.EpsEff), T));
      Z(n, m) = mirror ? Sub(Z(n, m), term) : term;
    }
}

// ---- Ground points ----------------------------------------------------------

struct Ground {
  std::int32_t q;  // 1-based charge cell
  int side;
  bool xEdge;
  double xg, yg;
  // half strip
  double sx, sy, swx, swy;
  double normal;  // dxq on an x-edge, dyq on a y-edge
};

Ground GroundOf(const State& s, std::int32_t g) {
  const GroundContact& c = s.e.GroundPoints[g - 1];
  const ChargeCell& q = s.Q(c.ChargeNo);
  Ground p{c.ChargeNo, c.Side, c.OnXEdge, c.X, c.Y, 0, 0, 0, 0, 0};
  if (c.OnXEdge) {
    p.sx = q.X - c.Side * q.Dx / 4, p.sy = q.Y, p.swx = q.Dx / 2, p.swy = q.Dy, p.normal = q.Dx;
  } else {
    p.sx = q.X, p.sy = q.Y - c.Side * q.Dy / 4, p.swx = q.Dx, p.swy = q.Dy / 2, p.normal = q.Dy;
  }
  return p;
}

// xz (testingX) or yz: current element n against ground point g.
Complex CurrentToGround(const State& s, bool testingX, std::int32_t n, std::int32_t g) {
  const CurrentCell& cn = (testingX ? s.e.Jx : s.e.Jy)[n - 1];
  const Ground p = GroundOf(s, g);
  const ChargeCell& q = s.Q(p.q);
  const bool parallel = p.xEdge == testingX;
  Complex vector{};
  if (parallel) {  // a half strip across the testing current couples no vector potential
    const Complex H0 = s.CI(p.sx, p.sy, p.swx, p.swy, cn.X, cn.Y, 0);
    const Complex H2 = s.CI(p.sx, p.sy, p.swx, p.swy, cn.X, cn.Y, 2 * s.h);
    const double len = testingX ? cn.Dx : cn.Dy;
    vector = J(Scale(s.Omega * mu0 * oneOverPi * 0.25 * len, Sub(H0, H2)));
  }
  const double pxp = testingX ? cn.X + cn.Dx / 2 : cn.X, pyp = testingX ? cn.Y : cn.Y + cn.Dy / 2;
  const double pxm = testingX ? cn.X - cn.Dx / 2 : cn.X, pym = testingX ? cn.Y : cn.Y - cn.Dy / 2;
  const bool onPlus = Coincide(pxp, pyp, q.X, q.Y), onMinus = Coincide(pxm, pym, q.X, q.Y);
  const bool selfA1 = parallel ? (p.side == -1 && onPlus) : onPlus;
  const bool selfA2 = parallel ? (p.side == +1 && onMinus) : onMinus;
  const Complex A1 = s.OverCharge(p.q, pxp, pyp, 0, selfA1);
  const Complex A2 = s.OverCharge(p.q, pxm, pym, 0, selfA2);
  const Complex A3 = s.OverCharge(p.q, pxp, pyp, 2 * s.h, false);
  const Complex A4 = s.OverCharge(p.q, pxm, pym, 2 * s.h, false);
  const double factor = -p.side * oneOverFourPi / (s.Omega * s.EpsEff * p.normal);
  const Complex charge = J(Scale(factor, Sub(Sub(A1, A2), Sub(A3, A4))));
  return Add(vector, charge);
}

// zx (sourceX) or zy: ground point g against current element m.
Complex GroundToCurrent(const State& s, bool sourceX, std::int32_t g, std::int32_t m) {
  const CurrentCell& cm = (sourceX ? s.e.Jx : s.e.Jy)[m - 1];
  const Ground p = GroundOf(s, g);
  const ChargeCell& q = s.Q(p.q);
  Complex sum{};
  if (p.xEdge == sourceX) {
    const Complex I0 = s.CI(cm.X, cm.Y, cm.Dx, cm.Dy, p.xg, p.yg, 0);
    const Complex I2 = s.CI(cm.X, cm.Y, cm.Dx, cm.Dy, p.xg, p.yg, 2 * s.h);
    sum = J(Scale(s.Omega * mu0 * oneOverPi * 0.25 * (p.normal / 2), Sub(I0, I2)));
  }
  const std::int32_t cells[2] = {cm.Negative, cm.Positive};
  for (int i = 0; i < 2; ++i) {
    const ChargeCell& qi = s.Q(cells[i]);
    const Complex a = s.OverCharge(cells[i], p.xg, p.yg, -s.h, false);
    const Complex b = s.OverCharge(cells[i], q.X, q.Y, 0, Coincide(q.X, q.Y, qi.X, qi.Y));
    const Complex c = s.OverCharge(cells[i], p.xg, p.yg, s.h, false);
    const Complex d = s.OverCharge(cells[i], q.X, q.Y, 2 * s.h, false);
    const double di = sourceX ? qi.Dx : qi.Dy;
    const double factor = -p.side * oneOverFourPi / (s.Omega * s.EpsEff * di);
    const Complex term = J(Scale(factor, Add(Sub(Sub(a, b), c), d)));
    sum = i == 0 ? Add(sum, term) : Sub(sum, term);
  }
  return sum;
}

// zz: testing ground point n against source ground point m.
Complex GroundToGround(const State& s, std::int32_t n, std::int32_t m) {
  const Ground pn = GroundOf(s, n), pm = GroundOf(s, m);
  const ChargeCell& qm = s.Q(pm.q);
  const ChargeCell& qn = s.Q(pn.q);
  const double w = pm.xEdge ? qm.Dx : qm.Dy;
  const double h = s.h;
  const Complex H0 = n == m ? Scale(2, s.Self(qm.Dx / 2, qm.Dy / 2))
                            : s.CI(pm.sx, pm.sy, pm.swx, pm.swy, pn.xg, pn.yg, 0);
  const Complex H2 = s.CI(pm.sx, pm.sy, pm.swx, pm.swy, pn.xg, pn.yg, 2 * h);
  // Half strips at right angles carry perpendicular currents: no coupling.
  const Complex horizontal =
      pn.xEdge == pm.xEdge ? J(Scale(s.Omega * mu0 * oneOverPi * 0.25 * (w / 2), Sub(H0, H2)))
                           : Complex{0, 0};

  Complex V1, V2;
  if (pm.xEdge) {
    V1 = n == m ? Scale(2, s.Self(h, qm.Dy / 2)) : s.CI(pm.yg, -h / 2, qm.Dy, h, pn.yg, 0, pn.xg - pm.xg);
    V2 = s.CI(pm.yg, -3 * h / 2, qm.Dy, h, pn.yg, 0, pn.xg - pm.xg);
  } else {
    V1 = n == m ? Scale(2, s.Self(qm.Dx / 2, h)) : s.CI(pm.xg, -h / 2, qm.Dx, h, pn.xg, 0, pn.yg - pm.yg);
    V2 = s.CI(pm.xg, -3 * h / 2, qm.Dx, h, pn.xg, 0, pn.yg - pm.yg);
  }
  // Each vertical current runs down or up according to its side.
  const Complex vertical =
      J(Scale(s.Omega * mu0 * oneOverPi * 0.25 * h * pm.side * pn.side, Add(V1, V2)));

  const Complex Q0 = n == m ? Scale(4, s.Self(qm.Dx / 2, qm.Dy / 2))
                            : s.CI(qm.X, qm.Y, qm.Dx, qm.Dy, qn.X, qn.Y, 0);
  const Complex Q2 = s.CI(qm.X, qm.Y, qm.Dx, qm.Dy, qn.X, qn.Y, 2 * h);
  const double factor = -pm.side * pn.side * oneOverFourPi / (s.Omega * s.EpsEff * w);
  const Complex charge = J(Scale(factor, Sub(Q0, Q2)));
  return Add(Add(horizontal, vertical), charge);
}

}  // namespace

void ReferenceFill(const FillRequest& request, SystemMatrices& z) {
  const ElementLists& e = request.Elements;
  const State s{e, request.Constants.Omega, request.Constants.EpsEff, request.Constants.K,
                request.Constants.Height};
  const bool grounds = request.GroundPoints != GroundPointPlacement::None && e.NG() > 0;
  const bool image = request.Image || grounds;
  const std::int32_t NX = e.NX(), NY = e.NY(), NG = e.NG();

  // Each block's free-space pass first, then its image pass (the blocks are independent).
  for (bool mirror : {false, true}) {
    if (mirror && !image) break;
    if (NX > 0) SameDirectionFill(s, true, mirror, *z.Zxx);
    if (NX > 0 && NY > 0) MixedFill(s, true, mirror, *z.Zxy), MixedFill(s, false, mirror, *z.Zyx);
    if (NY > 0) SameDirectionFill(s, false, mirror, *z.Zyy);
  }
  if (!grounds) return;

  // Ground point g is unknown NX + g after the Jx elements (coupled with Jx only) or
  // NY + g after the Jy elements (coupled with both).
  const bool afterJx = request.GroundPoints == GroundPointPlacement::AfterJx;
  const std::int32_t at = afterJx ? NX : NY;
  ComplexMatrix& Zgg = afterJx ? *z.Zxx : *z.Zyy;
  for (std::int32_t g = 1; g <= NG; ++g) {
    for (std::int32_t n = 1; n <= NX; ++n)
      (afterJx ? *z.Zxx : *z.Zxy)(n, at + g) = CurrentToGround(s, true, n, g);
    for (std::int32_t m = 1; m <= NX; ++m)
      (afterJx ? *z.Zxx : *z.Zyx)(at + g, m) = GroundToCurrent(s, true, g, m);
    for (std::int32_t n = 1; n <= NY && !afterJx; ++n)
      Zgg(n, at + g) = CurrentToGround(s, false, n, g);
    for (std::int32_t m = 1; m <= NY && !afterJx; ++m)
      Zgg(at + g, m) = GroundToCurrent(s, false, g, m);
    for (std::int32_t m = 1; m <= NG; ++m) Zgg(at + g, at + m) = GroundToGround(s, g, m);
  }
}

ElementLists BuildLayout(const std::vector<TestSegment>& segments) {
  std::vector<Segment> mm;
  for (const TestSegment& g : segments) mm.push_back({g.Xc * 1e3, g.Yc * 1e3, g.Lx * 1e3, g.Ly * 1e3, g.ChX, g.ChY});
  ElementLists lists;
  for (const ChargeElement& q : ChargeElements(mm)) lists.Charges.push_back({q.X * 1e-3, q.Y * 1e-3, q.Dx * 1e-3, q.Dy * 1e-3});
  const ConnectingElements joints = FindConnectingElements(mm);
  const auto add = [](std::vector<CurrentCell>& to, const std::vector<CurrentElement>& from) {
    for (const CurrentElement& c : from) to.push_back({c.X * 1e-3, c.Y * 1e-3, c.Dx * 1e-3, c.Dy * 1e-3, c.From, c.To});
  };
  add(lists.Jx, JxElements(mm));
  add(lists.Jy, JyElements(mm));
  add(lists.Jx, joints.Jx);
  add(lists.Jy, joints.Jy);
  DeriveLayoutProperties(lists);
  return lists;
}

void AddGroundPoint(ElementLists& lists, std::int32_t charge, std::int32_t edgeCode) {
  const ChargeCell& q = lists.Charges[static_cast<std::size_t>(charge - 1)];
  GroundContact g{charge, edgeCode, (edgeCode == 1 || edgeCode == 3) ? 1 : -1, edgeCode <= 2, 0, 0};
  switch (edgeCode) {
    case 1: g.X = q.X - q.Dx / 2, g.Y = q.Y; break;
    case 2: g.X = q.X + q.Dx / 2, g.Y = q.Y; break;
    case 3: g.X = q.X, g.Y = q.Y - q.Dy / 2; break;
    default: g.X = q.X, g.Y = q.Y + q.Dy / 2; break;
  }
  lists.GroundPoints.push_back(g);
  DeriveLayoutProperties(lists);
}

SystemMatrices TestBlocks::View() {
  SystemMatrices view;
  if (Zxx.Rows() > 0) view.Zxx = &Zxx;
  if (Zxy.Rows() > 0 && Zxy.Cols() > 0) view.Zxy = &Zxy;
  if (Zyx.Rows() > 0 && Zyx.Cols() > 0) view.Zyx = &Zyx;
  if (Zyy.Rows() > 0) view.Zyy = &Zyy;
  return view;
}

void CreateBlocks(TestBlocks& blocks, const FillRequest& request) {
  const ElementLists& e = request.Elements;
  const std::int32_t nx = e.NX(), ny = e.NY();
  const std::int32_t ng = request.GroundPoints == GroundPointPlacement::None ? 0 : e.NG();
  const std::int32_t gx = request.GroundPoints == GroundPointPlacement::AfterJx ? ng : 0;
  const std::int32_t gy = request.GroundPoints == GroundPointPlacement::AfterJy ? ng : 0;
  bool failed = false;
  if (nx + gx > 0) CreateMatrix(blocks.Zxx, nx + gx, nx + gx, failed);
  if (nx > 0 && ny + gy > 0) {
    CreateMatrix(blocks.Zxy, nx, ny + gy, failed);
    CreateMatrix(blocks.Zyx, ny + gy, nx, failed);
  }
  if (ny + gy > 0) CreateMatrix(blocks.Zyy, ny + gy, ny + gy, failed);
  if (failed) throw std::runtime_error("test blocks could not be created");
}

double RelativeMismatch(const ComplexMatrix& a, const ComplexMatrix& b) {
  if (a.Rows() != b.Rows() || a.Cols() != b.Cols()) return INFINITY;
  double largest = 0, worst = 0;
  for (std::int32_t j = 1; j <= b.Cols(); ++j)
    for (std::int32_t i = 1; i <= b.Rows(); ++i) {
      largest = std::max(largest, std::hypot(b(i, j).Re, b(i, j).Im));
      const double d = std::hypot(a(i, j).Re - b(i, j).Re, a(i, j).Im - b(i, j).Im);
      worst = std::isnan(d) ? INFINITY : std::max(worst, d);
    }
  return largest > 0 ? worst / largest : worst;
}

}  // namespace lumetra::testing

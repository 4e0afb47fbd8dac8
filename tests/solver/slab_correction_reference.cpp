#include "tests/solver/slab_correction_reference.h"

#include <cmath>
#include <vector>

#include "velkor/velkor.h"

namespace lumetra::testing {

namespace {

constexpr double tolerance = 1e-12;

using Kernel = void (*)(double, double, double, double, double, double, double, double, double,
                        double, double*, double*);

struct Record {
  double Dx, Dy;      // absolute offsets (xx, yy) or signed ones of the creating pair (xy)
  Complex Value;
};

Complex Call(Kernel kernel, const SlabCorrectionRequest& r, double dx, double dy, double ax,
             double ay, double at) {
  Complex v;
  kernel(r.FrequencyMHz, r.EpsR, r.Height, dx, dy, ax, ay, at, r.Spectral.MaxKr, r.Spectral.Step,
         &v.Re, &v.Im);
  return v;
}

void AddTo(Complex& entry, Complex v) {
  entry.Re += v.Re;
  entry.Im += v.Im;
}

const Record* FirstMatch(const std::vector<Record>& records, double adx, double ady) {
  for (const Record& r : records)
    if (std::fabs(std::fabs(r.Dx) - adx) <= tolerance && std::fabs(std::fabs(r.Dy) - ady) <= tolerance)
      return &r;
  return nullptr;
}

// testing n, source m; entry (n, m).
void PerEntry(Kernel kernel, const SlabCorrectionRequest& r, const std::vector<CurrentCell>& testing,
              const std::vector<CurrentCell>& sources, bool testingAlongX, ComplexMatrix& Z) {
  for (std::size_t m = 0; m < sources.size(); ++m)
    for (std::size_t n = 0; n < testing.size(); ++n) {
      const CurrentCell& s = sources[m];
      const CurrentCell& t = testing[n];
      const double at = testingAlongX ? t.Dx / 2 : t.Dy / 2;
      AddTo(Z(static_cast<std::int32_t>(n + 1), static_cast<std::int32_t>(m + 1)),
            Call(kernel, r, s.X - t.X, s.Y - t.Y, s.Dx / 2, s.Dy / 2, at));
    }
}

void SameDirection(Kernel kernel, const SlabCorrectionRequest& r, const std::vector<CurrentCell>& list,
                   bool alongX, bool symmetric, ComplexMatrix& Z) {
  if (!symmetric) return PerEntry(kernel, r, list, list, alongX, Z);
  const auto N = static_cast<std::int32_t>(list.size());
  const auto at = [&](const CurrentCell& c) { return alongX ? c.Dx / 2 : c.Dy / 2; };
  std::vector<Record> records;
  for (std::int32_t m = 1; m <= N; ++m)
    for (std::int32_t n = m; n <= N; ++n) {
      const CurrentCell& cm = list[m - 1];
      const CurrentCell& cn = list[n - 1];
      const double adx = std::fabs(cm.X - cn.X), ady = std::fabs(cm.Y - cn.Y);
      if (FirstMatch(records, adx, ady)) continue;
      records.push_back({adx, ady, Call(kernel, r, adx, ady, cm.Dx / 2, cm.Dy / 2, at(cn))});
    }
  for (std::int32_t m = 1; m <= N; ++m)
    for (std::int32_t n = 1; n <= N; ++n) {
      if (m == 1 ? n != 1 : n > m - 1) continue;
      const CurrentCell& cm = list[m - 1];
      const CurrentCell& cn = list[n - 1];
      AddTo(Z(n, m), FirstMatch(records, std::fabs(cm.X - cn.X), std::fabs(cm.Y - cn.Y))->Value);
    }
  for (std::int32_t m = 2; m <= N; ++m) {
    Z(m, m) = Z(1, 1);
    for (std::int32_t n = 1; n < m; ++n) Z(m, n) = Z(n, m);
  }
}

double SignOf(double v) { return v < 0 ? -1.0 : 1.0; }

void CrossWithRecords(const SlabCorrectionRequest& r, const ElementLists& e, ComplexMatrix& Z) {
  std::vector<Record> records;
  for (std::size_t m = 0; m < e.Jy.size(); ++m)
    for (std::size_t n = 0; n < e.Jx.size(); ++n) {
      const CurrentCell& s = e.Jy[m];
      const CurrentCell& t = e.Jx[n];
      const double dx = s.X - t.X, dy = s.Y - t.Y;
      const Record* record = FirstMatch(records, std::fabs(dx), std::fabs(dy));
      if (!record) {
        records.push_back({dx, dy, Call(_impxy, r, dx, dy, s.Dx / 2, s.Dy / 2, t.Dx / 2)});
        record = &records.back();
      }
      double sign = 1.0;
      if (std::fabs(dx) > tolerance && std::fabs(dy) > tolerance) {
        if (SignOf(dx) != SignOf(record->Dx)) sign = -sign;
        if (SignOf(dy) != SignOf(record->Dy)) sign = -sign;
      }
      AddTo(Z(static_cast<std::int32_t>(n + 1), static_cast<std::int32_t>(m + 1)),
            {sign * record->Value.Re, sign * record->Value.Im});
    }
}

}  // namespace

void ReferenceSlabCorrection(const SlabCorrectionRequest& r, SystemMatrices& z) {
  const ElementLists& e = r.Elements;
  if (!e.Jx.empty()) SameDirection(_impxx, r, e.Jx, true, e.SymX, *z.Zxx);
  if (!e.Jx.empty() && !e.Jy.empty()) {
    if (e.SymAll) CrossWithRecords(r, e, *z.Zxy);
    else PerEntry(_impxy, r, e.Jx, e.Jy, true, *z.Zxy);
    PerEntry(_impyx, r, e.Jy, e.Jx, false, *z.Zyx);
  }
  if (!e.Jy.empty()) SameDirection(_impyy, r, e.Jy, false, e.SymY, *z.Zyy);
}

void PerEntrySlabCorrection(const SlabCorrectionRequest& r, SystemMatrices& z) {
  const ElementLists& e = r.Elements;
  if (!e.Jx.empty()) PerEntry(_impxx, r, e.Jx, e.Jx, true, *z.Zxx);
  if (!e.Jx.empty() && !e.Jy.empty()) {
    PerEntry(_impxy, r, e.Jx, e.Jy, true, *z.Zxy);
    PerEntry(_impyx, r, e.Jy, e.Jx, false, *z.Zyx);
  }
  if (!e.Jy.empty()) PerEntry(_impyy, r, e.Jy, e.Jy, false, *z.Zyy);
}

}  // namespace lumetra::testing

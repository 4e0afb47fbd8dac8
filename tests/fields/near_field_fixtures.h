// Result files written line by line and the closed-form field of a Hertzian dipole,
// for the near-field and result-list tests.
#pragma once

#include <array>
#include <complex>
#include <filesystem>
#include <string>
#include <vector>

#include "fields/result_files.h"
#include "model/number_format.h"
#include "model/project_files.h"
#include "solver/physical_constants.h"
#include "tests/fields/result_fixtures.h"
#include "tests/support/temp_dir.h"

namespace lumetra::testing {

// One block of a result file: the header and one line of R23 fields per row.
inline std::string ResultBlockText(double frequencyMHz,
                                   const std::vector<std::vector<double>>& rows) {
  std::string text;
  WriteResultHeader(text, frequencyMHz, static_cast<std::int64_t>(rows.size()));
  for (const std::vector<double>& row : rows) {
    for (std::size_t i = 0; i < row.size(); ++i) text += (i ? " " : "") + FormatR23(row[i]);
    text += "\r\n";
  }
  return text;
}

using Cplx = std::complex<double>;
using CVec = std::array<Cplx, 3>;

struct ClosedFormField {
  CVec E{}, H{};
};

// The textbook field of a Hertzian dipole of moment m (A m) along unit vector p at
// centre c, at point r (all in metres), wavenumber k, wave impedance eta:
//   H = m/(4 pi) e^(-jkR) (jk/R + 1/R^2) (p x R^)
//   E = eta m/(4 pi) e^(-jkR) [ 2 cos(t) (1/R^2 + 1/(jkR^3)) R^
//                              + (jk/R + 1/R^2 + 1/(jkR^3)) (cos(t) R^ - p) ]
// with cos(t) = p . R^ (the radial and theta parts of the spherical form).
inline ClosedFormField HertzianDipole(Cplx m, const std::array<double, 3>& p,
                                      const std::array<double, 3>& c,
                                      const std::array<double, 3>& r, double k, double eta) {
  const std::array<double, 3> d = {r[0] - c[0], r[1] - c[1], r[2] - c[2]};
  const double R = std::sqrt(d[0] * d[0] + d[1] * d[1] + d[2] * d[2]);
  const std::array<double, 3> n = {d[0] / R, d[1] / R, d[2] / R};
  const double cosT = p[0] * n[0] + p[1] * n[1] + p[2] * n[2];
  const Cplx j(0, 1);
  const Cplx phase = std::exp(-j * k * R);
  const Cplx hRadial = m / (4 * M_PI) * phase * (j * k / R + 1.0 / (R * R));
  const Cplx eR =
      eta * m / (4 * M_PI) * phase * 2.0 * cosT * (1.0 / (R * R) + 1.0 / (j * k * R * R * R));
  const Cplx eT =
      eta * m / (4 * M_PI) * phase * (j * k / R + 1.0 / (R * R) + 1.0 / (j * k * R * R * R));
  const std::array<double, 3> pxn = {p[1] * n[2] - p[2] * n[1], p[2] * n[0] - p[0] * n[2],
                                     p[0] * n[1] - p[1] * n[0]};
  ClosedFormField f;
  for (int i = 0; i < 3; ++i) {
    f.H[i] = hRadial * pxn[i];
    f.E[i] = eR * n[i] + eT * (cosT * n[i] - p[i]);
  }
  return f;
}

inline ClosedFormField operator+(ClosedFormField a, const ClosedFormField& b) {
  for (int i = 0; i < 3; ++i) {
    a.E[i] += b.E[i];
    a.H[i] += b.H[i];
  }
  return a;
}

// 120 pi, the impedance the near-field constant 30 = eta0 / (4 pi) stands for.
inline constexpr double Eta120Pi = 120.0 * M_PI;

inline double FreeSpaceK(double frequencyMHz) {
  return TwoPi * frequencyMHz * 1e6 * std::sqrt(Mu0 * Eps0);
}

}  // namespace lumetra::testing

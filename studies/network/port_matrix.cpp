#include "studies/network/port_matrix.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace lumetra::network {

PortMatrix PortMatrix::Identity(std::size_t ports) {
  PortMatrix m(ports);
  for (std::size_t i = 0; i < ports; ++i) m(i, i) = 1.0;
  return m;
}

PortMatrix operator*(const PortMatrix& a, const PortMatrix& b) {
  const std::size_t n = a.Ports();
  PortMatrix c(n);
  for (std::size_t i = 0; i < n; ++i)
    for (std::size_t k = 0; k < n; ++k)
      for (std::size_t j = 0; j < n; ++j) c(i, j) += a(i, k) * b(k, j);
  return c;
}

PortMatrix Transposed(const PortMatrix& a) {
  PortMatrix t(a.Ports());
  for (std::size_t i = 0; i < a.Ports(); ++i)
    for (std::size_t j = 0; j < a.Ports(); ++j) t(j, i) = a(i, j);
  return t;
}

std::optional<PortMatrix> Inverse(const PortMatrix& a) {
  const std::size_t n = a.Ports();
  PortMatrix m = a, inverse = PortMatrix::Identity(n);
  double largest = 0.0;
  for (std::size_t i = 0; i < n; ++i)
    for (std::size_t j = 0; j < n; ++j) largest = std::max(largest, std::abs(a(i, j)));
  if (!(largest > 0.0) || !std::isfinite(largest)) return std::nullopt;
  for (std::size_t col = 0; col < n; ++col) {
    std::size_t pivot = col;
    for (std::size_t r = col + 1; r < n; ++r)
      if (std::abs(m(r, col)) > std::abs(m(pivot, col))) pivot = r;
    // A pivot at rounding level of the matrix's size: singular for our purpose.
    if (std::abs(m(pivot, col)) <= largest * 1e-14) return std::nullopt;
    for (std::size_t j = 0; j < n; ++j) {
      std::swap(m(pivot, j), m(col, j));
      std::swap(inverse(pivot, j), inverse(col, j));
    }
    const Cplx scale = 1.0 / m(col, col);
    for (std::size_t j = 0; j < n; ++j) m(col, j) *= scale, inverse(col, j) *= scale;
    for (std::size_t r = 0; r < n; ++r) {
      if (r == col) continue;
      const Cplx factor = m(r, col);
      if (factor == Cplx(0.0)) continue;
      for (std::size_t j = 0; j < n; ++j) {
        m(r, j) -= factor * m(col, j);
        inverse(r, j) -= factor * inverse(col, j);
      }
    }
  }
  return inverse;
}

std::vector<double> ReferencesFor(std::size_t ports, const std::vector<double>& references) {
  if (references.size() != 1 && references.size() != ports)
    throw std::invalid_argument("give one reference impedance, or one per port (" +
                                std::to_string(ports) + ")");
  for (double r : references)
    if (!(r > 0.0) || !std::isfinite(r))
      throw std::invalid_argument("a reference impedance must be a positive number of ohms");
  return references.size() == ports ? references : std::vector<double>(ports, references[0]);
}

namespace {

// r_i^power r_j^power a(i, j): the normalisation of Y (power +1/2) or Z (-1/2).
PortMatrix Normalised(const PortMatrix& a, const std::vector<double>& r, double power) {
  PortMatrix n = a;
  for (std::size_t i = 0; i < a.Ports(); ++i)
    for (std::size_t j = 0; j < a.Ports(); ++j) n(i, j) *= std::pow(r[i] * r[j], power);
  return n;
}

// (a - I)(a + I)^-1 times sign: S from z (sign +1) or from y (sign -1).
std::optional<PortMatrix> Cayley(const PortMatrix& a, double sign) {
  const std::size_t n = a.Ports();
  PortMatrix minus = a, plus = a;
  for (std::size_t i = 0; i < n; ++i) minus(i, i) -= 1.0, plus(i, i) += 1.0;
  const std::optional<PortMatrix> inverse = Inverse(plus);
  if (!inverse) return std::nullopt;
  PortMatrix s = minus * *inverse;
  if (sign < 0)
    for (std::size_t i = 0; i < n; ++i)
      for (std::size_t j = 0; j < n; ++j) s(i, j) = -s(i, j);
  return s;
}

}  // namespace

std::optional<PortMatrix> ScatteringFromAdmittance(const PortMatrix& y,
                                                   const std::vector<double>& references) {
  return Cayley(Normalised(y, ReferencesFor(y.Ports(), references), 0.5), -1.0);
}

std::optional<PortMatrix> ScatteringFromImpedance(const PortMatrix& z,
                                                  const std::vector<double>& references) {
  return Cayley(Normalised(z, ReferencesFor(z.Ports(), references), -0.5), 1.0);
}

double ReciprocityError(const PortMatrix& a) {
  double largest = 0.0, asymmetry = 0.0;
  for (std::size_t i = 0; i < a.Ports(); ++i)
    for (std::size_t j = 0; j < a.Ports(); ++j) {
      largest = std::max(largest, std::abs(a(i, j)));
      asymmetry = std::max(asymmetry, std::abs(a(i, j) - a(j, i)));
    }
  return largest > 0.0 ? asymmetry / largest : 0.0;
}

std::vector<double> DissipationEigenvalues(const PortMatrix& s) {
  // H = I - S^H S, Hermitian; its eigenvalues by cyclic complex Jacobi rotations.
  const std::size_t n = s.Ports();
  PortMatrix h = PortMatrix::Identity(n);
  for (std::size_t i = 0; i < n; ++i)
    for (std::size_t j = 0; j < n; ++j)
      for (std::size_t k = 0; k < n; ++k) h(i, j) -= std::conj(s(k, i)) * s(k, j);
  for (int sweep = 0; sweep < 100; ++sweep) {
    double off = 0.0, scale = 0.0;
    for (std::size_t i = 0; i < n; ++i)
      for (std::size_t j = 0; j < n; ++j) (i == j ? scale : off) += std::norm(h(i, j));
    if (off <= 1e-30 * std::max(scale, 1e-300)) break;
    for (std::size_t p = 0; p < n; ++p)
      for (std::size_t q = p + 1; q < n; ++q) {
        const Cplx hpq = h(p, q);
        const double magnitude = std::abs(hpq);
        if (magnitude == 0.0) continue;
        // Rotate in the (p, q) plane so that h(p, q) vanishes: first a phase that
        // makes h(p, q) real, then a real Jacobi rotation.
        const Cplx phase = hpq / magnitude;
        const double app = h(p, p).real(), aqq = h(q, q).real();
        const double theta = 0.5 * std::atan2(2.0 * magnitude, aqq - app);
        const double c = std::cos(theta), sn = std::sin(theta);
        // Columns: new_p = c*col_p - sn*conj(phase)*col_q ; new_q = sn*phase*col_p + c*col_q
        for (std::size_t k = 0; k < n; ++k) {
          const Cplx kp = h(k, p), kq = h(k, q);
          h(k, p) = c * kp - sn * std::conj(phase) * kq;
          h(k, q) = sn * phase * kp + c * kq;
        }
        for (std::size_t k = 0; k < n; ++k) {
          const Cplx pk = h(p, k), qk = h(q, k);
          h(p, k) = c * pk - sn * phase * qk;
          h(q, k) = sn * std::conj(phase) * pk + c * qk;
        }
      }
  }
  std::vector<double> eigenvalues;
  for (std::size_t i = 0; i < n; ++i) eigenvalues.push_back(h(i, i).real());
  std::sort(eigenvalues.begin(), eigenvalues.end());
  return eigenvalues;
}

}  // namespace lumetra::network

// The N x N matrices of an N-port network (impedance Z, admittance Y, scattering
// S) and the conversions between them.
//
// Y is what the moment method gives directly: drive port j alone with 1 V, short
// the others, and the current into port i is Y(i, j). Z = Y^-1. With real
// reference resistances r_i, the normalised matrices y = R^1/2 Y R^1/2 and
// z = R^-1/2 Z R^-1/2 (R = diag(r)) give S = (I - y)(I + y)^-1 = (z - I)(z + I)^-1,
// the power-wave scattering matrix: |S_ij|^2 is the fraction of the power
// available at port j that reaches the matched load of port i.
#pragma once

#include <complex>
#include <cstddef>
#include <optional>
#include <vector>

namespace lumetra::network {

using Cplx = std::complex<double>;

class PortMatrix {
public:
  PortMatrix() = default;
  explicit PortMatrix(std::size_t ports) : n_(ports), values_(ports * ports) {}
  static PortMatrix Identity(std::size_t ports);

  std::size_t Ports() const { return n_; }
  // 0-based row i (the port that answers) and column j (the port driven).
  Cplx& operator()(std::size_t i, std::size_t j) { return values_[i * n_ + j]; }
  const Cplx& operator()(std::size_t i, std::size_t j) const { return values_[i * n_ + j]; }

private:
  std::size_t n_ = 0;
  std::vector<Cplx> values_;
};

PortMatrix operator*(const PortMatrix& a, const PortMatrix& b);
PortMatrix Transposed(const PortMatrix& a);

// The inverse by Gauss-Jordan elimination with partial pivoting; none when the
// matrix is singular to working precision.
std::optional<PortMatrix> Inverse(const PortMatrix& a);

// Reference resistances per port: one value for all, or one per port; every
// value finite and > 0. Throws std::invalid_argument otherwise.
std::vector<double> ReferencesFor(std::size_t ports, const std::vector<double>& references);

// S from Y or Z with the given reference resistances (one, or one per port); none
// when I + y (or z + I) is singular, which a passive network never makes it.
std::optional<PortMatrix> ScatteringFromAdmittance(const PortMatrix& y,
                                                   const std::vector<double>& references);
std::optional<PortMatrix> ScatteringFromImpedance(const PortMatrix& z,
                                                  const std::vector<double>& references);

// Largest |a(i, j) - a(j, i)| over the largest |a(i, j)|: 0 for a reciprocal network.
double ReciprocityError(const PortMatrix& a);

// The eigenvalues of I - S^H S (Hermitian, so real), ascending: the power a
// network absorbs for each incident wave pattern of unit power. None negative for
// a passive network; all zero for a lossless one.
std::vector<double> DissipationEigenvalues(const PortMatrix& s);

}  // namespace lumetra::network

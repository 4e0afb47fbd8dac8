#include "velkor/contour_legs.h"

#include <cmath>
#include <vector>

#include "velkor/bessel_j0.h"
#include "velkor/plain_complex.h"
#include "velkor/sine_recurrence.h"
#include "velkor/slab_green_function.h"

namespace velkor {

namespace {

// Everything at one radial sample that does not depend on the angle.
struct RadialSample {
  PlainComplex beta;
  PlainComplex inverse_beta;
  double abs_beta;
  PlainComplex offset;  // exx - axx = offset + slope kx^2
  PlainComplex slope;   // exy - axy = slope kx ky
  PlainComplex weight;  // beta (dbeta/dt) dt, the radial quadrature weight
};

// The pulse transform sin(k c)/k at k = beta * direction, from the sine of k c.
inline PlainComplex pulse(PlainComplex sin_kc, const RadialSample& sample, double abs_direction,
                          double inverse_direction, double c) {
  if (sample.abs_beta * abs_direction <= SmallArgument) return {c, 0.0};
  return sin_kc * sample.inverse_beta * inverse_direction;
}

// Up to four angle nodes share one evaluation of transforms and kernel: alpha,
// alpha + pi, -alpha and pi - alpha. The pulse transforms are even in kx and in ky, and
// the kernels depend on kx^2, ky^2 and kx ky, so from alpha only the phase factor
// changes: exp(j beta (dx cos + dy sin)) at alpha becomes its inverse at alpha + pi,
// exp(j beta (dx cos - dy sin)) at -alpha and the inverse of that at pi - alpha; the
// xy and yx kernels also change sign at the mirrored nodes -alpha and pi - alpha.
// Nodes 0 .. 45 of the full circle (alpha_i = 2 i degrees) cover all 181 nodes this
// way; a node reached twice from the same i counts once.
struct AngleGroup {
  int node;
  double forward_weight;         // trapezoidal weight of alpha_i
  double inverse_weight;         // of alpha_i + pi
  double mirror_weight;          // of -alpha_i
  double mirror_inverse_weight;  // of pi - alpha_i
};

constexpr int QuarterTurn = AngleGrid::Intervals / 4;  // nodes per quarter circle
constexpr int HalfTurn = AngleGrid::Intervals / 2;

AngleGroup angle_group(int i, const AngleGrid& grid) {
  const int nodes[4] = {i, i + HalfTurn, AngleGrid::Intervals - i, HalfTurn - i};
  double weights[4];
  for (int k = 0; k < 4; ++k) {
    bool repeated = false;
    for (int earlier = 0; earlier < k; ++earlier) repeated |= nodes[earlier] == nodes[k];
    weights[k] = repeated ? 0.0 : grid.weight[nodes[k]];
  }
  return {i, weights[0], weights[1], weights[2], weights[3]};
}

template <Coupling coupling>
PlainComplex kernel_at(const RadialSample& sample, PlainComplex kx, PlainComplex ky) {
  if constexpr (coupling == Coupling::xx) return sample.offset + sample.slope * (kx * kx);
  if constexpr (coupling == Coupling::yy) return sample.offset + sample.slope * (ky * ky);
  return sample.slope * (kx * ky);
}

// Sum over the leg's radial samples of weight * int at the nodes of one group. Along
// the leg kx ax, ky ay and the testing segment's k at grow by fixed complex steps, and
// the two phase factors by fixed complex ratios.
template <Coupling coupling, bool edge_singular>
PlainComplex group_sum(const AngleGroup& group, const std::vector<RadialSample>& samples,
                       PlainComplex dbeta, const ElementPair& pair, const AngleGrid& grid) {
  constexpr bool odd_in_mirror = coupling == Coupling::xy || coupling == Coupling::yx;
  constexpr bool along_x = tests_along_x(coupling);
  const double mirror_sign = odd_in_mirror ? -1.0 : 1.0;
  const double forward_weight = group.forward_weight;
  const double inverse_weight = group.inverse_weight;
  const double mirror_weight = mirror_sign * group.mirror_weight;
  const double mirror_inverse_weight = mirror_sign * group.mirror_inverse_weight;

  const int i = group.node;
  const double c = grid.cos[i];
  const double s = grid.sin[i];
  const double abs_c = std::abs(c);
  const double abs_s = std::abs(s);
  const double inverse_c = grid.inverse_cos[i];
  const double inverse_s = grid.inverse_sin[i];
  const double testing_direction = along_x ? c : s;
  const double abs_testing = along_x ? abs_c : abs_s;
  const double inverse_testing = along_x ? inverse_c : inverse_s;

  const PlainComplex beta0 = samples[0].beta;
  const PlainComplex kx0 = beta0 * c;
  const PlainComplex ky0 = beta0 * s;
  ComplexSineCosine source_x = complex_sin_cos(kx0 * pair.ax);
  ComplexSineCosine source_y = complex_sin_cos(ky0 * pair.ay);
  ComplexSineCosine testing = complex_sin_cos((along_x ? kx0 : ky0) * pair.at);
  const ComplexSineCosine source_x_step = complex_sin_cos((dbeta * c) * pair.ax);
  const ComplexSineCosine source_y_step = complex_sin_cos((dbeta * s) * pair.ay);
  const ComplexSineCosine testing_step = complex_sin_cos((dbeta * testing_direction) * pair.at);

  PlainComplex phase = exp_j(kx0 * pair.dx + ky0 * pair.dy);
  PlainComplex mirror_phase = exp_j(kx0 * pair.dx - ky0 * pair.dy);
  const PlainComplex phase_step = exp_j(dbeta * (c * pair.dx + s * pair.dy));
  const PlainComplex mirror_phase_step = exp_j(dbeta * (c * pair.dx - s * pair.dy));
  PlainComplex inverse_phase = reciprocal(phase);
  PlainComplex inverse_mirror_phase = reciprocal(mirror_phase);
  const PlainComplex inverse_phase_step = reciprocal(phase_step);
  const PlainComplex inverse_mirror_phase_step = reciprocal(mirror_phase_step);

  PlainComplex sum;
  for (const RadialSample& sample : samples) {
    const PlainComplex kernel = kernel_at<coupling>(sample, sample.beta * c, sample.beta * s);
    PlainComplex transforms;
    if constexpr (!edge_singular) {
      transforms = pulse(source_x.sin, sample, abs_c, inverse_c, pair.ax) *
                   pulse(source_y.sin, sample, abs_s, inverse_s, pair.ay) *
                   conj(pulse(testing.sin, sample, abs_testing, inverse_testing, pair.at));
    } else {
      const Complex beta = sample.beta;
      const PlainComplex across_x = source_along_x(coupling)
                                        ? pulse(source_x.sin, sample, abs_c, inverse_c, pair.ax)
                                        : PlainComplex(edge_transform(beta * c, pair.ax));
      const PlainComplex across_y = source_along_x(coupling)
                                        ? PlainComplex(edge_transform(beta * s, pair.ay))
                                        : pulse(source_y.sin, sample, abs_s, inverse_s, pair.ay);
      transforms = across_x * across_y *
                   conj(pulse(testing.sin, sample, abs_testing, inverse_testing, pair.at));
    }
    const PlainComplex phases =
        forward_weight * phase + inverse_weight * inverse_phase +
        (mirror_weight * mirror_phase + mirror_inverse_weight * inverse_mirror_phase);
    sum += sample.weight * (kernel * transforms * phases);

    advance(source_x, source_x_step);
    advance(source_y, source_y_step);
    advance(testing, testing_step);
    phase = phase * phase_step;
    mirror_phase = mirror_phase * mirror_phase_step;
    inverse_phase = inverse_phase * inverse_phase_step;
    inverse_mirror_phase = inverse_mirror_phase * inverse_mirror_phase_step;
  }
  return sum;
}

template <Coupling coupling>
PlainComplex leg_sum(const std::vector<RadialSample>& samples, PlainComplex dbeta,
                     const ElementPair& pair, const AngleGrid& grid) {
  PlainComplex total;
  for (int i = 0; i <= QuarterTurn; ++i)
    total += pair.edge_singular
                 ? group_sum<coupling, true>(angle_group(i, grid), samples, dbeta, pair, grid)
                 : group_sum<coupling, false>(angle_group(i, grid), samples, dbeta, pair, grid);
  return total;
}

}  // namespace

StraightLeg rise_leg(const Slab& slab) { return {0.0, 0.1 * slab.k0 * (1.0 + J), 10}; }

StraightLeg flat_leg(const Slab& slab) {
  return {0.1 * slab.k0 * (1.0 + J), (slab.er - 0.1) * slab.k0, 20};
}

StraightLeg drop_leg(const Slab& slab) {
  return {slab.er * slab.k0 + 0.1 * J * slab.k0, -0.1 * J * slab.k0, 10};
}

Complex leg_integral(const StraightLeg& leg, Coupling coupling, const ElementPair& pair,
                     const Slab& slab, const AngleGrid& grid) {
  const double dt = 1.0 / leg.points;
  const PlainComplex dbeta = leg.span * dt;

  std::vector<RadialSample> samples(leg.points);
  for (int n = 0; n < leg.points; ++n) {
    const Complex beta = leg.start + leg.span * ((n + 0.5) * dt);
    const SlabSpectrum spectrum = slab_green_function(beta * beta, slab.k0, slab.er, slab.h);
    samples[n] = {beta,
                  1.0 / beta,
                  std::abs(beta),
                  spectrum.offset(),
                  spectrum.slope(),
                  beta * leg.span * dt};
  }

  PlainComplex sum;
  switch (coupling) {
    case Coupling::xx:
      sum = leg_sum<Coupling::xx>(samples, dbeta, pair, grid);
      break;
    case Coupling::yy:
      sum = leg_sum<Coupling::yy>(samples, dbeta, pair, grid);
      break;
    case Coupling::xy:
      sum = leg_sum<Coupling::xy>(samples, dbeta, pair, grid);
      break;
    case Coupling::yx:
      sum = leg_sum<Coupling::yx>(samples, dbeta, pair, grid);
      break;
  }
  // 4 from curr and 2 from the testing transform; dalpha / (4 pi^2) with a minus sign.
  return -(8.0 * Complex(sum) * grid.step / (4.0 * Pi * Pi));
}

}  // namespace velkor

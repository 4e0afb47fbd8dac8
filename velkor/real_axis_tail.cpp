#include "velkor/real_axis_tail.h"

#include <cmath>
#include <vector>

#include "velkor/bessel_j0.h"
#include "velkor/sine_recurrence.h"
#include "velkor/slab_green_function.h"

namespace velkor {

namespace {

// The recurrences restart from directly computed sines this often, which bounds the
// accumulated rounding (about one unit in the last place per step) however many
// radial samples the caller asks for.
constexpr int RestartInterval = 128;

struct RadialSample {
  double beta;
  double inverse_beta;
  RealAxisSpectrum spectrum;
};

// The pulse transform sin(k c)/k at k = beta * direction, from the sine of k c.
inline double pulse(double sin_kc, const RadialSample& sample, double direction,
                    double inverse_direction, double c) {
  if (std::abs(sample.beta * direction) <= SmallArgument) return c;
  return sin_kc * sample.inverse_beta * inverse_direction;
}

// Node i < 90 carries its mirror pi - alpha_i: kx changes sign, ky does not, so the
// pulse transforms stay and the kernel keeps (xx, yy) or flips (xy, yx) its sign.
// With X = kx dx and Y = ky dy the two phases are cos(Y + X) and cos(Y - X). Node 90
// stands alone.
struct AngleGroup {
  int node;
  double forward_weight;  // trapezoidal weight of alpha_i
  double mirror_weight;   // of pi - alpha_i, 0 when there is no partner
};

template <Coupling coupling>
double kernel_at(const RadialSample& sample, double kx, double ky) {
  const RealAxisSpectrum& g = sample.spectrum;
  if constexpr (coupling == Coupling::xx) return g.offset + g.slope * (kx * kx);
  if constexpr (coupling == Coupling::yy) return g.offset + g.slope * (ky * ky);
  return g.slope * (kx * ky);
}

// Sum over the radial samples of beta Im(int) / 8 at the nodes of one group. Five
// angles grow linearly with beta: kx ax, ky ay, the testing segment's k at, kx dx and
// ky dy; their sines and cosines advance by rotation.
template <Coupling coupling, bool edge_singular>
double group_sum(const AngleGroup& group, const std::vector<RadialSample>& samples, double dkr,
                 const ElementPair& pair, const AngleGrid& grid) {
  constexpr bool odd_in_kx = coupling == Coupling::xy || coupling == Coupling::yx;
  constexpr bool along_x = tests_along_x(coupling);
  const double mirror = odd_in_kx ? -group.mirror_weight : group.mirror_weight;
  const double cos_weight = group.forward_weight + mirror;
  const double sin_weight = group.forward_weight - mirror;

  const int i = group.node;
  const double c = grid.cos[i];
  const double s = grid.sin[i];
  const double inverse_c = grid.inverse_cos[i];
  const double inverse_s = grid.inverse_sin[i];
  const double testing_direction = along_x ? c : s;
  const double testing_inverse = along_x ? inverse_c : inverse_s;
  const RealSineCosine source_x_step = real_sin_cos((dkr * c) * pair.ax);
  const RealSineCosine source_y_step = real_sin_cos((dkr * s) * pair.ay);
  const RealSineCosine testing_step = real_sin_cos((dkr * testing_direction) * pair.at);
  const RealSineCosine shift_x_step = real_sin_cos((dkr * c) * pair.dx);
  const RealSineCosine shift_y_step = real_sin_cos((dkr * s) * pair.dy);

  double sum = 0.0;
  const int count = static_cast<int>(samples.size());
  for (int first = 0; first < count; first += RestartInterval) {
    const int last = count - first < RestartInterval ? count : first + RestartInterval;
    const double kx0 = samples[first].beta * c;
    const double ky0 = samples[first].beta * s;
    RealSineCosine source_x = real_sin_cos(kx0 * pair.ax);
    RealSineCosine source_y = real_sin_cos(ky0 * pair.ay);
    RealSineCosine testing = real_sin_cos((along_x ? kx0 : ky0) * pair.at);
    RealSineCosine shift_x = real_sin_cos(kx0 * pair.dx);
    RealSineCosine shift_y = real_sin_cos(ky0 * pair.dy);
    for (int n = first; n < last; ++n) {
      const RadialSample& sample = samples[n];
      const double kernel = kernel_at<coupling>(sample, sample.beta * c, sample.beta * s);
      double transforms;
      if constexpr (!edge_singular) {
        transforms = pulse(source_x.sin, sample, c, inverse_c, pair.ax) *
                     pulse(source_y.sin, sample, s, inverse_s, pair.ay) *
                     pulse(testing.sin, sample, testing_direction, testing_inverse, pair.at);
      } else {
        // a J0(k a) across the source, from the sines of k a that the recurrences carry.
        const double across_x =
            source_along_x(coupling)
                ? pulse(source_x.sin, sample, c, inverse_c, pair.ax)
                : pair.ax * bessel_j0(sample.beta * c * pair.ax, source_x.cos, source_x.sin);
        const double across_y =
            source_along_x(coupling)
                ? pair.ay * bessel_j0(sample.beta * s * pair.ay, source_y.cos, source_y.sin)
                : pulse(source_y.sin, sample, s, inverse_s, pair.ay);
        transforms = across_x * across_y *
                     pulse(testing.sin, sample, testing_direction, testing_inverse, pair.at);
      }
      const double phases =
          cos_weight * shift_x.cos * shift_y.cos - sin_weight * shift_x.sin * shift_y.sin;
      if constexpr (edge_singular) {
        // The trapezoidal rule: the first sample, at er k0 where the legs end, counts half.
        sum += (n == 0 ? 0.5 : 1.0) * (sample.beta * kernel * transforms * phases);
      } else {
        sum += sample.beta * kernel * transforms * phases;
      }
      advance(source_x, source_x_step);
      advance(source_y, source_y_step);
      advance(testing, testing_step);
      advance(shift_x, shift_x_step);
      advance(shift_y, shift_y_step);
    }
  }
  return sum;
}

template <Coupling coupling>
double tail_sum(const std::vector<RadialSample>& samples, double dkr, const ElementPair& pair,
                const AngleGrid& grid) {
  constexpr int half = AngleGrid::Intervals / 2;
  double total = 0.0;
  for (int i = 0; i < half; ++i) {
    const AngleGroup group{i, grid.weight[i], grid.weight[AngleGrid::Intervals - i]};
    total += pair.edge_singular ? group_sum<coupling, true>(group, samples, dkr, pair, grid)
                                : group_sum<coupling, false>(group, samples, dkr, pair, grid);
  }
  const AngleGroup last{half, grid.weight[half], 0.0};
  total += pair.edge_singular ? group_sum<coupling, true>(last, samples, dkr, pair, grid)
                              : group_sum<coupling, false>(last, samples, dkr, pair, grid);
  return total;
}

}  // namespace

int tail_sample_count(double er, double k0, double krmax, double dkr) {
  if (!(dkr > 0.0) || !std::isfinite(krmax)) return 0;
  int count = 0;
  while (er * k0 + count * dkr <= krmax) ++count;
  return count;
}

Complex tail_integral(Coupling coupling, const ElementPair& pair, const Slab& slab, double krmax,
                      double dkr, const AngleGrid& grid) {
  const int count = tail_sample_count(slab.er, slab.k0, krmax, dkr);
  if (count == 0) return 0.0;

  std::vector<RadialSample> samples(count);
  for (int n = 0; n < count; ++n) {
    const double beta = slab.er * slab.k0 + n * dkr;
    samples[n] = {beta, 1.0 / beta, real_axis_spectrum(beta, slab.k0, slab.er, slab.h)};
  }

  double sum = 0.0;
  switch (coupling) {
    case Coupling::xx:
      sum = tail_sum<Coupling::xx>(samples, dkr, pair, grid);
      break;
    case Coupling::yy:
      sum = tail_sum<Coupling::yy>(samples, dkr, pair, grid);
      break;
    case Coupling::xy:
      sum = tail_sum<Coupling::xy>(samples, dkr, pair, grid);
      break;
    case Coupling::yx:
      sum = tail_sum<Coupling::yx>(samples, dkr, pair, grid);
      break;
  }
  // 4 from curr and 2 from the testing transform; only Im(S) enters.
  return -J * (8.0 * sum * dkr * grid.step / (2.0 * Pi * Pi));
}

}  // namespace velkor

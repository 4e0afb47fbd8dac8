#include "studies/frequency_plan.h"

namespace lumetra {

namespace {

template <typename Visit>
void ForEachSweepFrequency(const SweepRange& sweep, Visit visit) {
  double f = sweep.Start;
  while (!(sweep.Stop < f)) {
    visit(f);
    const double next = sweep.Logarithmic ? f * sweep.Step : f + sweep.Step;
    if (!(next > f)) break;
    f = next;
  }
}

}  // namespace

std::vector<double> SweepFrequencies(const SweepRange& sweep) {
  std::vector<double> frequencies;
  ForEachSweepFrequency(sweep, [&](double f) { frequencies.push_back(f); });
  return frequencies;
}

std::size_t CountSweepFrequencies(const SweepRange& sweep) {
  std::size_t count = 0;
  ForEachSweepFrequency(sweep, [&](double) { ++count; });
  return count;
}

}  // namespace lumetra

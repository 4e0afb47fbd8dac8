#include "solver/dielectric_correction.h"

#include <stdexcept>
#include <string>
#include <vector>

#include "solver/kernel_table.h"
#include "solver/parallel_pieces.h"
#include "velkor/velkor.h"

namespace lumetra {

namespace {

using Kernel = void (*)(double, double, double, double, double, double, double, double, double,
                        double, double*, double*);

Kernel KernelOf(KernelKind kind) {
  switch (kind) {
    case KernelKind::XX: return _impxx;
    case KernelKind::YY: return _impyy;
    case KernelKind::XY: return _impxy;
    case KernelKind::YX: return _impyx;
  }
  return _impxx;
}

// One block: its testing rows, its source columns, and per entry (column-major)
// the kernel record that serves it.
struct CorrectionBlock {
  ComplexMatrix* Matrix;
  KernelKind Kind;
  const std::vector<CurrentCell>* Testing;
  const std::vector<CurrentCell>* Sources;
  bool TestingAlongX;
  std::vector<std::int32_t> Records;
};

std::vector<CorrectionBlock> BlocksOf(const ElementLists& e, SystemMatrices& z) {
  std::vector<CorrectionBlock> blocks;
  const auto add = [&](ComplexMatrix* m, const char* name, KernelKind kind,
                       const std::vector<CurrentCell>& testing, const std::vector<CurrentCell>& sources,
                       bool testingAlongX) {
    if (testing.empty() || sources.empty()) return;
    if (!m || m->Rows() < static_cast<std::int32_t>(testing.size()) ||
        m->Cols() < static_cast<std::int32_t>(sources.size()))
      throw std::invalid_argument(std::string("matrix block ") + name +
                                  " is missing or smaller than the layout");
    blocks.push_back({m, kind, &testing, &sources, testingAlongX, {}});
  };
  add(z.Zxx, "Zxx", KernelKind::XX, e.Jx, e.Jx, true);
  add(z.Zxy, "Zxy", KernelKind::XY, e.Jx, e.Jy, true);
  add(z.Zyx, "Zyx", KernelKind::YX, e.Jy, e.Jx, false);
  add(z.Zyy, "Zyy", KernelKind::YY, e.Jy, e.Jy, false);
  return blocks;
}

// The calling thread works through the entries itself between polls.
constexpr std::int64_t EntriesPerPoll = 1 << 15;

bool AssignRecords(std::vector<CorrectionBlock>& blocks, KernelTable& table,
                   ComputationControl& control) {
  std::int64_t sincePoll = 0;
  for (CorrectionBlock& b : blocks) {
    const std::vector<CurrentCell>& testing = *b.Testing;
    const std::vector<CurrentCell>& sources = *b.Sources;
    b.Records.resize(testing.size() * sources.size());
    std::size_t entry = 0;
    for (const CurrentCell& m : sources) {
      for (const CurrentCell& n : testing) {
        const double at = b.TestingAlongX ? n.Dx / 2 : n.Dy / 2;
        b.Records[entry++] = table.Find(b.Kind, m.X - n.X, m.Y - n.Y, m.Dx / 2, m.Dy / 2, at);
      }
      sincePoll += static_cast<std::int64_t>(testing.size());
      if (sincePoll >= EntriesPerPoll) {
        sincePoll = 0;
        if (control.PumpAndCheckAbort()) return false;
      }
    }
  }
  return !control.PumpAndCheckAbort();
}

bool EvaluateRecords(const SlabCorrectionRequest& request, const KernelTable& table,
                     std::vector<Complex>& values, ComputationControl& control) {
  const std::vector<KernelCall>& calls = table.Calls();
  values.assign(calls.size(), Complex{});
  const SpectralIntegration& s = request.Spectral;
  return RunPiecesWhilePolling(
      static_cast<std::int64_t>(calls.size()), FillWorkerCount(),
      [&](std::int64_t piece, int) {
        const KernelCall& c = calls[static_cast<std::size_t>(piece)];
        Complex& v = values[static_cast<std::size_t>(piece)];
        KernelOf(c.Kind)(request.FrequencyMHz, request.EpsR, request.Height, c.Dx, c.Dy, c.Ax, c.Ay,
                         c.At, s.MaxKr, s.Step, &v.Re, &v.Im);
      },
      control);
}

bool AddValues(const std::vector<CorrectionBlock>& blocks, const std::vector<Complex>& values,
               ComputationControl& control) {
  std::int64_t sincePoll = 0;
  for (const CorrectionBlock& b : blocks) {
    const std::vector<CurrentCell>& testing = *b.Testing;
    const std::vector<CurrentCell>& sources = *b.Sources;
    std::size_t entry = 0;
    for (std::size_t m = 0; m < sources.size(); ++m) {
      for (std::size_t n = 0; n < testing.size(); ++n) {
        const Complex v = values[static_cast<std::size_t>(b.Records[entry++])];
        const double sign = OffsetParity(b.Kind, sources[m].X - testing[n].X, sources[m].Y - testing[n].Y);
        Complex& z = (*b.Matrix)(static_cast<std::int32_t>(n + 1), static_cast<std::int32_t>(m + 1));
        z.Re += sign * v.Re;
        z.Im += sign * v.Im;
      }
      sincePoll += static_cast<std::int64_t>(testing.size());
      if (sincePoll >= EntriesPerPoll) {
        sincePoll = 0;
        if (control.PumpAndCheckAbort()) return false;
      }
    }
  }
  return !control.PumpAndCheckAbort();
}

}  // namespace

bool AddSlabCorrection(const SlabCorrectionRequest& request, SystemMatrices& matrices,
                       ComputationControl& control, SlabCorrectionCount* count) {
  std::vector<CorrectionBlock> blocks = BlocksOf(request.Elements, matrices);
  KernelTable table;
  std::vector<Complex> values;
  if (!AssignRecords(blocks, table, control)) return false;
  if (count) {
    count->Entries = 0;
    for (const CorrectionBlock& b : blocks) count->Entries += static_cast<std::int64_t>(b.Records.size());
    count->KernelCalls = static_cast<std::int64_t>(table.Calls().size());
  }
  return EvaluateRecords(request, table, values, control) && AddValues(blocks, values, control);
}

}  // namespace lumetra

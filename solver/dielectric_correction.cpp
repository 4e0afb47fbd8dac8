#include "solver/dielectric_correction.h"

#include <stdexcept>
#include <string>
#include <vector>

#include "solver/kernel_table.h"
#include "solver/one_cell_wide_strips.h"
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
// the kernel record that serves it: r >= 0 a record of the uniform sources' table,
// -1 - r one of the edge-singular sources' table.
struct CorrectionBlock {
  ComplexMatrix* Matrix;
  KernelKind Kind;
  const std::vector<CurrentCell>* Testing;
  const std::vector<CurrentCell>* Sources;
  bool TestingAlongX;
  const std::vector<std::uint8_t>* EdgeSingularSources;  // per source, or null: none
  std::vector<std::int32_t> Records;
};

std::vector<CorrectionBlock> BlocksOf(const ElementLists& e, const OneCellWideStrips& strips,
                                      SystemMatrices& z) {
  std::vector<CorrectionBlock> blocks;
  const auto add = [&](ComplexMatrix* m, const char* name, KernelKind kind,
                       const std::vector<CurrentCell>& testing, const std::vector<CurrentCell>& sources,
                       bool testingAlongX, const std::vector<std::uint8_t>& sourceStrips) {
    if (testing.empty() || sources.empty()) return;
    if (!m || m->Rows() < static_cast<std::int32_t>(testing.size()) ||
        m->Cols() < static_cast<std::int32_t>(sources.size()))
      throw std::invalid_argument(std::string("matrix block ") + name +
                                  " is missing or smaller than the layout");
    blocks.push_back({m, kind, &testing, &sources, testingAlongX, strips.Any ? &sourceStrips : nullptr, {}});
  };
  add(z.Zxx, "Zxx", KernelKind::XX, e.Jx, e.Jx, true, strips.Jx);
  add(z.Zxy, "Zxy", KernelKind::XY, e.Jx, e.Jy, true, strips.Jy);
  add(z.Zyx, "Zyx", KernelKind::YX, e.Jy, e.Jx, false, strips.Jx);
  add(z.Zyy, "Zyy", KernelKind::YY, e.Jy, e.Jy, false, strips.Jy);
  return blocks;
}

// The two tables of one point: uniform sources and edge-singular ones.
struct KernelTables {
  KernelTable Uniform, EdgeSingular;
};

// The calling thread works through the entries itself between polls.
constexpr std::int64_t EntriesPerPoll = 1 << 15;

bool AssignRecords(std::vector<CorrectionBlock>& blocks, KernelTables& tables,
                   ComputationControl& control) {
  std::int64_t sincePoll = 0;
  for (CorrectionBlock& b : blocks) {
    const std::vector<CurrentCell>& testing = *b.Testing;
    const std::vector<CurrentCell>& sources = *b.Sources;
    b.Records.resize(testing.size() * sources.size());
    std::size_t entry = 0;
    for (std::size_t source = 0; source < sources.size(); ++source) {
      const CurrentCell& m = sources[source];
      const bool edgeSingular = b.EdgeSingularSources && (*b.EdgeSingularSources)[source];
      KernelTable& table = edgeSingular ? tables.EdgeSingular : tables.Uniform;
      for (const CurrentCell& n : testing) {
        const double at = b.TestingAlongX ? n.Dx / 2 : n.Dy / 2;
        const std::int32_t record = table.Find(b.Kind, m.X - n.X, m.Y - n.Y, m.Dx / 2, m.Dy / 2, at);
        b.Records[entry++] = edgeSingular ? -1 - record : record;
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

// velkor's coupling numbers (1 xx, 2 yy, 3 xy, 4 yx) of the edge-singular export.
int CouplingOf(KernelKind kind) { return static_cast<int>(kind) + 1; }

// The values of the uniform table's calls, then those of the edge-singular table.
bool EvaluateRecords(const SlabCorrectionRequest& request, const KernelTables& tables,
                     std::vector<Complex>& values, ComputationControl& control) {
  const std::vector<KernelCall>& uniform = tables.Uniform.Calls();
  const std::vector<KernelCall>& edge = tables.EdgeSingular.Calls();
  values.assign(uniform.size() + edge.size(), Complex{});
  const SpectralIntegration& s = request.Spectral;
  return RunPiecesWhilePolling(
      static_cast<std::int64_t>(values.size()), FillWorkerCount(),
      [&](std::int64_t piece, int) {
        const auto index = static_cast<std::size_t>(piece);
        Complex& v = values[index];
        if (index < uniform.size()) {
          const KernelCall& c = uniform[index];
          KernelOf(c.Kind)(request.FrequencyMHz, request.EpsR, request.Height, c.Dx, c.Dy, c.Ax, c.Ay,
                           c.At, s.MaxKr, s.Step, &v.Re, &v.Im);
        } else {
          const KernelCall& c = edge[index - uniform.size()];
          _impstrip(CouplingOf(c.Kind), request.FrequencyMHz, request.EpsR, request.Height, c.Dx, c.Dy,
                    c.Ax, c.Ay, c.At, s.MaxKr, s.Step, &v.Re, &v.Im);
        }
      },
      control);
}

bool AddValues(const std::vector<CorrectionBlock>& blocks, const std::vector<Complex>& values,
               std::size_t uniformCount, ComputationControl& control) {
  std::int64_t sincePoll = 0;
  for (const CorrectionBlock& b : blocks) {
    const std::vector<CurrentCell>& testing = *b.Testing;
    const std::vector<CurrentCell>& sources = *b.Sources;
    std::size_t entry = 0;
    for (std::size_t m = 0; m < sources.size(); ++m) {
      for (std::size_t n = 0; n < testing.size(); ++n) {
        const std::int32_t record = b.Records[entry++];
        const Complex v = values[record >= 0 ? static_cast<std::size_t>(record)
                                             : uniformCount + static_cast<std::size_t>(-1 - record)];
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
  const OneCellWideStrips strips = request.Accuracy == SolverAccuracy::High
                                       ? FindOneCellWideStrips(request.Elements)
                                       : OneCellWideStrips{};
  std::vector<CorrectionBlock> blocks = BlocksOf(request.Elements, strips, matrices);
  KernelTables tables;
  std::vector<Complex> values;
  if (!AssignRecords(blocks, tables, control)) return false;
  const std::size_t uniformCount = tables.Uniform.Calls().size();
  if (count) {
    count->Entries = 0;
    for (const CorrectionBlock& b : blocks) count->Entries += static_cast<std::int64_t>(b.Records.size());
    count->KernelCalls = static_cast<std::int64_t>(uniformCount + tables.EdgeSingular.Calls().size());
  }
  return EvaluateRecords(request, tables, values, control) &&
         AddValues(blocks, values, uniformCount, control);
}

}  // namespace lumetra

// The linear system of one frequency point and the steps that build it: creation,
// excitation, the interaction fill with loads and resistivity, and the readings
// taken from its solution. SolveFrequencyPoint solves it once for the project's
// sources; SolveForExcitations factorises it once for several excitations.
#pragma once

#include <cstdint>
#include <vector>

#include "solver/complex_storage.h"
#include "studies/system_assembly.h"

namespace lumetra {

bool HasJx(SystemLayout l);
bool HasJy(SystemLayout l);
bool HasGroundPoints(SystemLayout l);

// The matrices, right-hand sides and solutions of one layout. Ground-point
// unknowns follow the Jx unknowns when there are no Jy elements, else the Jy ones.
struct LinearSystem {
  SystemLayout Layout;
  std::int32_t NX = 0, NY = 0, NG = 0;
  ComplexMatrix Zxx, Zyy;  // single-block layouts
  BlockSystem Blocks;      // coupled layouts, factorised in place
  ComplexVector Vx, Vy, Ix, Iy;

  bool Coupled() const { return HasJx(Layout) && HasJy(Layout); }
  bool GroundAfterJx() const { return Layout == SystemLayout::JxWithGroundPoints; }
  std::int32_t XRows() const { return HasJx(Layout) ? NX + (GroundAfterJx() ? NG : 0) : 0; }
  std::int32_t YRows() const {
    return HasJy(Layout) ? NY + (HasGroundPoints(Layout) && !GroundAfterJx() ? NG : 0) : 0;
  }
  ComplexMatrix* XX() { return !HasJx(Layout) ? nullptr : Coupled() ? &Blocks.A : &Zxx; }
  ComplexMatrix* YY() { return !HasJy(Layout) ? nullptr : Coupled() ? &Blocks.D : &Zyy; }
  // The ground-point currents after the solve: NG entries or null.
  const Complex* GroundCurrents() const {
    if (!HasGroundPoints(Layout) || NG == 0) return nullptr;
    return GroundAfterJx() ? Ix.Data() + NX : Iy.Data() + NY;
  }
};

// How far AssembleSystem got.
enum class AssemblyOutcome {
  Assembled,    // filled, loaded and excited: ready to solve
  NotCreated,   // the matrices could not be created (message shown)
  Stopped,      // aborted, or refused with control.AbortRequested set
};

// Sets up the system of the layout and runs every step before the solve: the
// spectral limit of a rigorous slab, creation, the excitation of the plan (the
// project's sources or the plane wave), the interaction fill, loads and
// resistivity. Fills result's frequency, unknowns, EpsEff, MaxKr and SpectralPoints.
AssemblyOutcome AssembleSystem(SystemLayout layout, AssemblyInput& in, ComputationControl& control,
                               LinearSystem& s, FrequencyPointResult& result);

// The right-hand side of the plan: the project's sources or the incident wave.
void Excite(LinearSystem& s, const AssemblyInput& in);

// The right-hand side of the voltage sources driven with the given voltages (one
// per source of the project, in list order; missing ones at 0 V). A later source
// on the same element replaces an earlier one.
void ExciteSources(LinearSystem& s, const AssemblyInput& in, const std::vector<Complex>& voltages);

// Time-averaged power delivered into the current elements, 1/2 Re(V I*).
double InputPower(const LinearSystem& s, const ElementLists& e);

// Every source's voltage and the current through its element; voltages as for
// ExciteSources.
std::vector<SourceReading> ReadSources(const LinearSystem& s, const AssemblyInput& in,
                                       const std::vector<Complex>& voltages);

// The project's own source voltages, in list order.
std::vector<Complex> ProjectSourceVoltages(const Project& project);

}  // namespace lumetra

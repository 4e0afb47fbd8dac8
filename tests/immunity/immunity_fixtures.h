// Loaded layouts for the immunity tests and the direct plane-wave solves that the
// reciprocity method is checked against.
#pragma once

#include <functional>
#include <vector>

#include "model/project.h"
#include "studies/computation_settings.h"
#include "studies/immunity/reception.h"
#include "tests/network/network_fixtures.h"
#include "tests/support/recording_ui.h"

namespace lumetra::testing {

// Parallel lines with a load at the far end of every line (ohms, in line order).
Project LoadedLines(const TempDir& dir, const LinesLayout& layout, const std::vector<double>& ohms);

// Settings of one frequency (or a sweep) with the loads in place.
ComputationSettings ImmunitySettings(double startMHz, double stopMHz = 0, double stepMHz = 0);

// One frequency point of a project, ready for a study's own solve: calls check
// with the layout and the assembly input of every computed frequency.
using PointCheck = std::function<void(SystemLayout, AssemblyInput&, ComputationControl&)>;
void ForEachComputedPoint(Project& project, const ComputationSettings& settings, RecordingUi& ui,
                          const PointCheck& check);

// The current through a current element (A) when the system is solved directly
// for the plane wave (1 V/m) of the incident-field excitation.
Complex DirectReceivedCurrent(SystemLayout layout, AssemblyInput& input, ComputationControl& control,
                              const PlaneWave& wave, bool isJx, int elementNo);

// The ports of every load of a project: appends a 0 V source on each load's
// element (saved), and returns the ports that drive them.
std::vector<immunity::PortElement> AddLoadPortSources(Project& project);

}  // namespace lumetra::testing

// One spectral line of an emission run: the layout solved at the line's frequency
// with every source driven by its harmonic there, the field scanned over the test
// site, and (with several sources) the source whose field alone reads highest at
// the maximum. A line depends on its frequency alone, so lines can be solved in any
// order, on any thread or process, and committed in frequency order.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "studies/emission/emission_run.h"
#include "studies/emission/emission_workspace.h"

namespace lumetra::emission {

enum class LineOutcome {
  Solved,
  Silent,   // no source has a non-zero drive at the frequency: no line
  Stopped,  // aborted, refused or failed (the message went to the workspace's ui)
};

// The line at frequencyMHz without its limit (ApplyLimit adds it). site is the
// request's site placed over the board.
LineOutcome SolveEmissionLine(EmissionWorkspace& workspace, const std::vector<SourceSignal>& signals,
                              const SiteSettings& site, double frequencyMHz, EmissionLine& line);

// A solved line as bytes for its commit elsewhere (studies/byte_record.h); the
// decoder throws std::runtime_error for bytes that are not a whole line.
std::string EncodeEmissionLine(const EmissionLine& line);
EmissionLine DecodeEmissionLine(std::string_view bytes);

}  // namespace lumetra::emission

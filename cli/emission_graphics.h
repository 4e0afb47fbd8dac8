// The chart and the report of an emission run, drawn by the desktop program's
// painting code on an off-screen surface.
#pragma once

#include <filesystem>
#include <optional>

#include "model/project.h"
#include "studies/emission/emission_run.h"

namespace lumetra::cli {

struct EmissionPictures {
  std::optional<std::filesystem::path> Svg, Png, Report;
  bool Any() const { return Svg || Png || Report; }
};

// Writes the pictures asked for; throws FileError naming a file that cannot be
// written.
void WriteEmissionPictures(const EmissionPictures& pictures, const Project& project,
                           const emission::EmissionRequest& request,
                           const emission::EmissionResult& result);

}  // namespace lumetra::cli

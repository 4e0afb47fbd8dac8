#include "cli/environment_options.h"

#include "solver/complex_storage.h"
#include "solver/solver_settings.h"

namespace lumetra::cli {

std::int32_t TakeMaxUnknowns(Arguments& args) {
  const std::vector<std::string> value = args.TakeOption("--max-unknowns", 1);
  if (value.empty()) return DefaultMaxUnknowns;
  const std::string& text = value[0];
  std::int64_t n = 0;
  bool digits = !text.empty() && text.size() <= 9;
  for (char c : text) {
    digits = digits && c >= '0' && c <= '9';
    if (digits) n = n * 10 + (c - '0');
  }
  if (!digits || n < DefaultMaxUnknowns || n > LargestMaxUnknowns)
    throw UsageError("--max-unknowns needs a whole number from " +
                     std::to_string(DefaultMaxUnknowns) + " to " +
                     std::to_string(LargestMaxUnknowns) + ", got \"" + text + "\"");
  return static_cast<std::int32_t>(n);
}

void ReadEnvironmentOptions(Arguments& args, Project& project, ComputationSettings& s) {
  s.ImpFile = !project.Impedances.empty();
  if (args.TakeFlag("--loads")) s.ImpFile = true;
  if (args.TakeFlag("--no-loads")) s.ImpFile = false;
  Environment& env = project.Env;
  if (auto h = args.TakeOption("--ground-plane", 1); !h.empty()) {
    env.GroundPlane = true;
    env.GPHeight = h[0];
  }
  if (args.TakeFlag("--no-ground-plane")) env.GroundPlane = false;
  if (auto r = args.TakeOption("--resistivity", 1); !r.empty()) {
    env.FiniteConductivity = true;
    env.Conductivity = r[0];
  }
  if (args.TakeFlag("--no-resistivity")) env.FiniteConductivity = false;
  if (auto er = args.TakeOption("--diel", 1); !er.empty()) env.DielConst = er[0];
  if (auto accuracy = args.TakeOption("--accuracy", 1); !accuracy.empty()) {
    const std::optional<SolverAccuracy> chosen = AccuracyFromWord(accuracy[0]);
    if (!chosen)
      throw UsageError("--accuracy needs standard or high, got \"" + accuracy[0] + "\"");
    s.Accuracy = *chosen;
  }
  s.MaxUnknowns = TakeMaxUnknowns(args);
}

bool SubstrateSettingsFromArguments(Arguments& args, ComputationSettings& s, UserInterface& ui) {
  s.RigSol = !args.TakeFlag("--effective-eps");
  const std::vector<std::string> every = args.TakeOption("--eps-approx", 1);
  if (!every.empty()) {
    if (s.RigSol) throw UsageError("--eps-approx needs --effective-eps");
    const auto model =
        CheckEffectivePermittivity(EffectivePermittivityModel::ApproximateEvery, every[0], ui);
    if (!model) return false;
    s.EffectivePermittivity = *model;
  }
  IntegrationTexts texts = DefaultIntegrationTexts();
  if (auto points = args.TakeOption("--points", 1); !points.empty()) texts.Points = points[0];
  if (auto error = args.TakeOption("--rel-error", 1); !error.empty()) texts.RelativeError = error[0];
  const std::optional<IntegrationSettings> integration = CheckIntegrationTexts(texts, ui);
  if (!integration) return false;
  s.Integration = *integration;
  return true;
}

}  // namespace lumetra::cli

// lumetra-cli: the headless runner over the same core as the desktop program.
// It never asks a question; exit 0 on success, 1 when the program reported an
// error, 2 on a malformed command line.
#include <clocale>
#include <cstring>
#include <iostream>
#include <map>
#include <string>

#include "cli/arguments.h"
#include "cli/batch_command.h"
#include "cli/compute_command.h"
#include "cli/emission_command.h"
#include "cli/farfield_command.h"
#include "cli/kicad_commands.h"
#include "cli/list_command.h"
#include "cli/nearfield_command.h"
#include "cli/network_command.h"
#include "cli/immunity_command.h"
#include "cli/project_commands.h"
#include "model/batch_mode.h"

namespace {

using Command = int (*)(lumetra::cli::Arguments&, std::ostream&);

const char* const Usage =
    "usage: lumetra-cli COMMAND ...\n"
    "  new PATH.PRO --board LX LY [--force]   create a project (board in mm) and save it\n"
    "  save PATH.PRO                          open and save again (derives element files)\n"
    "  connect PATH.PRO                       define the connecting elements (.JXC/.JYC)\n"
    "  info PATH.PRO                          the project details and the note\n"
    "  compute PATH.PRO [options]             compute currents (and far field) as Compute does\n"
    "      --freq F | --sweep START STOP STEP [--log] | --freq-list FILE     (MHz)\n"
    "      --jobs N                           frequency points solved at once (default:\n"
    "                                         chosen from the unknowns; 1: one at a time)\n"
    "      --incident THETA PHI POL           plane wave instead of the voltage sources\n"
    "      --loads | --no-loads               (default: loads when the project has any)\n"
    "      --ground-plane H | --no-ground-plane, --resistivity R | --no-resistivity\n"
    "      --far-field [--theta A:B:S] [--phi A:B:S]   --json (machine-readable output)\n"
    "      --diel ER                          slab permittivity over the ground plane (.PRO's)\n"
    "      --effective-eps [--eps-approx N]   effective permittivity instead of the rigorous\n"
    "                                         slab (simple formula, or fitted every N-th point)\n"
    "      --points N, --rel-error PCT        spectral integration (default 100 points, 1 %)\n"
    "      --accuracy standard|high           high: edge-crowded current on one-cell-wide\n"
    "                                         traces, ground points tested over their depth,\n"
    "                                         reciprocal couplings, spectral points chosen\n"
    "                                         for the layout\n"
    "  farfield PATH.PRO [--theta A:B:S] [--phi A:B:S]\n"
    "                                         far field from the current files (.RAD),\n"
    "                                         angles in degrees (default 0:90:2, 0:360:18)\n"
    "  nearfield PATH.PRO [--x A:B:S] [--y A:B:S] [--z A:B:S] [--eps-eff EPS]\n"
    "                                         near field from the current files (.NFE/.NFH),\n"
    "                                         grid in mm (default 0:0:10 each: the origin);\n"
    "                                         EPS relative, default (1 + eps_r)/2 of the project\n"
    "  list PATH.PRO jx|jy|jz|rad|nfe|nfh [--freq F]\n"
    "                                         one block of a result file as its list prints it;\n"
    "                                         several blocks and no --freq: the first is listed\n"
    "                                         and the others are named on stderr\n"
    "  emission PATH.PRO [options]            radiated emission at a test site against a limit\n"
    "      --clock SOURCE:FREQ_MHZ:AMPLITUDE_V:RISE_NS[:FALL_NS[:DUTY]]   trapezoid clock\n"
    "      --spectrum SOURCE:FILE             lines of a CSV file (MHz, V[, degrees])\n"
    "                                         (other sources keep their project voltage)\n"
    "      --distance D (m, default 3)  --site free|sac (default sac)  --stop F (MHz, 1000)\n"
    "      --limit cispr32-a|cispr32-b|fcc15-a|fcc15-b|FILE\n"
    "      --csv F  --svg F  --png F  --report F.pdf  --json, and the environment\n"
    "      options of compute; --jobs N spectral lines solved at once (default\n"
    "      as compute); exit 3 when a line exceeds the limit\n"
    "  network PATH.PRO --touchstone OUT.sNp [options]\n"
    "                                         the voltage sources as ports: Y, Z and S over the\n"
    "                                         frequencies (one solve per port, the others\n"
    "                                         shorted, loads in place) as a Touchstone 1.1 file\n"
    "      --freq F | --sweep START STOP STEP [--log] | --freq-list FILE     (MHz)\n"
    "      --z0 OHMS[,OHMS...]                reference impedance, or one per port (50)\n"
    "      --format ma|db|ri  --param s|z|y   pairs and parameter of the file (ma, s)\n"
    "      --json, and the environment options of compute; exit 2 for refused input\n"
    "  immunity PATH.PRO [options]            worst voltage a radiated field puts across every\n"
    "                                         load over all directions and both polarisations\n"
    "                                         (by reciprocity: one solve per load, per frequency)\n"
    "      --field E (V/m, default 10)  --load N (repeatable; default every load and, as\n"
    "      shorted ports, every source)  --threshold V  --csv F  --svg F  --png F  --json\n"
    "      --step DEG (10)\n"
    "      --freq F | --sweep START STOP STEP [--log] | --freq-list FILE     (MHz)\n"
    "      and the environment options of compute; exit 3 when the threshold is exceeded,\n"
    "      2 for refused input\n"
    "  batch JOBFILE                          compute every project of the job file in turn:\n"
    "                                         one PATH.PRO [compute options] a line, \"quotes\"\n"
    "                                         around a path with blanks, # comments; paths\n"
    "                                         relative to the job file; every line is checked\n"
    "                                         before the first job runs\n"
    "  kicad-nets BOARD.kicad_pcb [--layer L] [--json]\n"
    "                                         the board's nets: pads, tracks and their length\n"
    "                                         on each copper layer\n"
    "  import-kicad BOARD.kicad_pcb --net NAME [--net NAME ...] --out PATH.PRO [options]\n"
    "                                         the nets' copper on one layer as a new project\n"
    "      --layer L                          copper layer (default F.Cu)\n"
    "      --grid MM                          snap grid (default: the common track width\n"
    "                                         over the cells across)\n"
    "      --cells-across N                   charge cells across a track (default 1;\n"
    "                                         impedance work wants 3)\n"
    "      --max-freq MHZ                     highest frequency; cells stay within 1/20 of\n"
    "                                         its wavelength (default 1000)\n"
    "      --driver REF.PAD[:VOLTS]           ground point and voltage source at a pad (1 V)\n"
    "      --receiver REF.PAD[:R[:C_PF]]      ground point and load R - j/wC in series at a\n"
    "                                         pad (50 ohm); may be repeated\n"
    "      --ground-plane H, --diel ER        override the stackup's plane height (mm) and\n"
    "                                         permittivity\n"
    "      --max-unknowns N                   the limit the import keeps to, as compute's\n"
    "      --force                            overwrite an existing project\n"
    "      --json                             the report as JSON on stdout\n";

}  // namespace

int main(int argc, char** argv) {
  // Dates in the .PRO follow the user's locale, as the desktop program writes them.
  std::setlocale(LC_TIME, "");
  const std::map<std::string, Command> commands = {
      {"new", lumetra::cli::RunNew},
      {"save", lumetra::cli::RunSave},
      {"connect", lumetra::cli::RunConnect},
      {"info", lumetra::cli::RunInfo},
      {"compute", lumetra::cli::RunCompute},
      {"emission", lumetra::cli::RunEmissionCommand},
      {"farfield", lumetra::cli::RunFarField},
      {"nearfield", lumetra::cli::RunNearField},
      {"list", lumetra::cli::RunList},
      {"network", lumetra::cli::RunNetworkCommand},
      {"immunity", lumetra::cli::RunImmunityCommand},
      {"batch", lumetra::cli::RunBatch},
      {"kicad-nets", lumetra::cli::RunKicadNets},
      {"import-kicad", lumetra::cli::RunImportKicad},
  };
  if (argc < 2 || std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0) {
    std::cout << Usage;
    return argc < 2 ? lumetra::cli::ExitUsage : lumetra::cli::ExitOk;
  }
  const auto command = commands.find(argv[1]);
  if (command == commands.end()) {
    std::cerr << "lumetra-cli: unknown command \"" << argv[1] << "\"\n" << Usage;
    return lumetra::cli::ExitUsage;
  }
  lumetra::BatchMode = true;  // no questions, no dialogs
  lumetra::cli::Arguments args(std::vector<std::string>(argv + 2, argv + argc));
  try {
    return command->second(args, std::cout);
  } catch (const lumetra::cli::UsageError& error) {
    std::cerr << "lumetra-cli " << argv[1] << ": " << error.what() << "\n" << Usage;
    return lumetra::cli::ExitUsage;
  }
}

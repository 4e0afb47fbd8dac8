#include "cli/list_command.h"

#include <iostream>
#include <map>
#include <string>
#include <vector>

#include "cli/terminal_ui.h"
#include "fields/result_lists.h"
#include "fields/result_lists_print.h"
#include "model/file_io.h"
#include "model/input_checks.h"
#include "model/number_format.h"

namespace lumetra::cli {

namespace {

ListKind ParseKind(const std::string& word) {
  static const std::map<std::string, ListKind> kinds = {
      {"jx", ListKind::Jx},
      {"jy", ListKind::Jy},
      {"jz", ListKind::Jz},
      {"rad", ListKind::FarField},
      {"nfe", ListKind::ElectricField},
      {"nfh", ListKind::MagneticField},
  };
  const auto kind = kinds.find(word);
  if (kind == kinds.end())
    throw UsageError("list needs jx, jy, jz, rad, nfe or nfh, got \"" + word + "\"");
  return kind->second;
}

std::string Joined(const std::vector<std::string>& entries) {
  std::string text;
  for (const std::string& entry : entries) text += (text.empty() ? "" : ", ") + entry;
  return text;
}

}  // namespace

int RunList(Arguments& args, std::ostream& out) {
  const std::vector<std::string> freq = args.TakeOption("--freq", 1);
  const std::filesystem::path path = args.Take("project path");
  const ListKind kind = ParseKind(args.Take("list kind (jx, jy, jz, rad, nfe or nfh)"));
  args.ExpectEnd();
  std::optional<double> wanted;
  if (!freq.empty()) {
    wanted = ParseRealText(freq[0]);
    if (!wanted) throw UsageError("--freq needs a frequency in MHz, got \"" + freq[0] + "\"");
  }

  // The frequency dialog: --freq picks the entry of that value, else the first
  // entry stands selected.
  const FrequencyChooser choose =
      [&](const std::vector<std::string>& entries) -> std::optional<std::size_t> {
    if (!wanted) {
      if (entries.empty()) return std::nullopt;
      std::cerr << "lumetra-cli list: " << entries.size() << " frequencies (" << Joined(entries)
                << " MHz), listing the first; choose one with --freq\n";
      return 0;
    }
    for (std::size_t i = 0; i < entries.size(); ++i)
      if (ParseRealText(entries[i]) == wanted) return i;
    std::cerr << "lumetra-cli list: no results at " << FormatGeneral(*wanted)
              << " MHz; the files hold " << Joined(entries) << " MHz\n";
    return std::nullopt;
  };

  TerminalUi ui(out, false);
  try {
    const std::optional<ResultList> list = BuildResultList(path, kind, ui, choose);
    if (!list) return ExitReportedError;
    if (wanted && list->FrequencyMHz != *wanted)
      std::cerr << "lumetra-cli list: the file holds a single block, at "
                << FormatGeneral(list->FrequencyMHz) << " MHz\n";
    out << FormatListPrintout(*list, path);
  } catch (const FileError& error) {
    ui.ShowMessage(error.what());
    return ExitReportedError;
  }
  return ExitOk;
}

}  // namespace lumetra::cli

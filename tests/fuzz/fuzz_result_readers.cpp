// Feeds arbitrary bytes to every result-file reader and to the result lists. The
// input is cut at NUL bytes into up to four file texts (a list's file and its
// partner, the dialog's file, a fourth current file); the first byte steers the
// choices a person would make (which entry of the frequency dialog, whether a file
// exists). Readers may refuse a file, but only with FileError; whatever they
// accept must hold together: a found block has whole rows, a list has one row per
// data line with one cell per header text.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "fields/near_field_sources.h"
#include "fields/plot_cuts.h"
#include "fields/result_files.h"
#include "fields/result_lists.h"
#include "fields/result_lists_print.h"
#include "fields/result_readers.h"
#include "model/file_io.h"
#include "tests/fuzz/fuzz_support.h"

using namespace lumetra;
using lumetra::fuzz::Require;

namespace {

class SilentUi : public UserInterface {
 public:
  void ShowMessage(std::string_view) override { ++messages; }
  // The tail a killed run leaves is shown and the command goes on.
  void ShowWarning(std::string_view) override { ++warnings; }
  bool AskYesNo(std::string_view) override { return false; }
  Answer AskYesNoCancel(std::string_view) override { return Answer::Cancel; }
  void SetStatusText(StatusPanel, std::string_view) override {}
  void SetBusy(bool) override {}
  void SetProgress(int, int) override {}
  bool PumpEventsAndCheckAbort() override { return false; }
  int messages = 0, warnings = 0;
};

void CheckBlock(const std::optional<ResultBlock>& block, int fields) {
  if (!block) return;
  Require(block->FieldsPerLine == fields);
  Require(block->Values.size() % static_cast<std::size_t>(fields) == 0);
}

// The three readers over one text for one line layout.
void ReadAll(const std::string& text, int fields) {
  try {
    const std::vector<double> frequencies = ScanFrequencies(text, "fuzz.RES", fields);
    const double f = frequencies.empty() ? 100.0 : frequencies.back();
    const std::optional<ResultBlock> exact = FindBlock(text, "fuzz.RES", f, fields);
    CheckBlock(exact, fields);
    // Every scanned frequency is found again, exactly or as the only block.
    Require(frequencies.empty() || exact);
    if (exact && frequencies.size() > 1) Require(exact->Frequency == f);
    const std::optional<ResultBlock> above = FirstBlockAtOrAbove(text, "fuzz.RES", f, fields);
    CheckBlock(above, fields);
    if (above) Require(above->Frequency >= f);
    Require(frequencies.empty() == !above);
    // What a run killed in its next block leaves: the same blocks and one warning.
    std::string tail;
    if (ScanFrequencies(text, "fuzz.RES", fields, &tail).size() == frequencies.size() &&
        tail.empty()) {
      const std::vector<double> cut = ScanFrequencies(text + "1.5 2", "fuzz.RES", fields, &tail);
      Require(cut == frequencies);
      Require(!tail.empty());
    }
  } catch (const FileError&) {
  }
}

void List(ListKind kind, const std::vector<std::string>& part, std::uint8_t steer) {
  const bool secondExists = steer & 1;
  std::vector<ListFile> files = {{"fuzz.A", part[0]}};
  if (kind == ListKind::Jz)
    files.push_back({"fuzz.B", secondExists ? std::optional(part[1]) : std::nullopt});
  const FrequencyChooser choose =
      [&](const std::vector<std::string>& entries) -> std::optional<std::size_t> {
    if (steer & 2) return std::nullopt;
    return entries.empty() ? 0 : (steer >> 2) % entries.size();
  };
  SilentUi ui;
  try {
    const std::optional<ResultList> list = BuildResultList(
        kind, files, [&] { return ScanFrequencies(part[2], "fuzz.DLG", CurrentFileFields); }, ui,
        choose);
    Require(list.has_value() == (ui.messages == 0));
    if (!list) return;
    for (const std::vector<std::string>& row : list->Rows)
      Require(row.size() == list->Header.size());
    const std::string page = FormatListPrintout(*list, "/dir/fuzz.PRO");
    Require(page.rfind("Project: fuzz.PRO\n", 0) == 0);
  } catch (const FileError&) {
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
  if (size == 0) return 0;
  const std::uint8_t steer = bytes[0];
  const std::string_view data(reinterpret_cast<const char*>(bytes) + 1, size - 1);
  const std::vector<std::string> part = fuzz::SplitAtNul(data, 4);

  for (int fields :
       {CurrentFileFields, GroundPlaneFileFields, FarFieldFileFields, NearFieldFileFields})
    ReadAll(part[0], fields);

  for (ListKind kind : {ListKind::Jx, ListKind::Jz, ListKind::FarField, ListKind::ElectricField})
    List(kind, part, steer);

  // The plot utility's current sweep: whole curves or a FileError.
  try {
    const PlotCurves curves = ParseCurrentSweep(part[0], "fuzz.DAT");
    for (const PlotCurve& curve : curves.Series) Require(curve.X.size() == curves.Series[0].X.size());
  } catch (const FileError&) {
  }

  // The near-field sources of four current files at the first frequency.
  try {
    const CurrentFileSet files = {CurrentFileText::FromContent("fuzz.XXX", part[0]),
                                  CurrentFileText::FromContent("fuzz.ZZX", part[1]),
                                  CurrentFileText::FromContent("fuzz.YYY", part[2]),
                                  CurrentFileText::FromContent("fuzz.ZZY", part[3])};
    const std::vector<double> frequencies =
        files.Xxx.Empty ? std::vector<double>{}
                        : ScanFrequencies(files.Xxx.Content, files.Xxx.Name, CurrentFileFields);
    const double f = frequencies.empty() ? 0.0 : frequencies.front();
    const NearFieldSources sources = ReadNearFieldSources(files, f, (steer & 1) ? 0.002 : 0.0);
    FieldSample sample;
    bool tooClose = false;
    for (const std::vector<Dipole>& group : sources.Groups)
      for (const Dipole& d : group) AddDipoleField(d, 0.001, 0.002, 0.003, 2.0, sample, tooClose);
  } catch (const FileError&) {
  }
  return 0;
}

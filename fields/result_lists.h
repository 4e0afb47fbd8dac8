// The result lists: one frequency block of a result file as a table, the way the
// "Current list", "Far-field list" and "Near-field list" windows show it.
//
// A list command opens its file; a file holding one block is listed at once, one
// holding several asks for the frequency through the "Select frequency" dialog,
// whose entries are the frequencies of the dialog mode's file in the shortest
// general form; the chosen entry's text, converted back to a number, picks the
// block by exact comparison.
#pragma once

#include <cstddef>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "fields/result_readers.h"
#include "model/user_interface.h"

namespace lumetra {

inline constexpr const char* NoDataToListMessage = "There exist no data to list!";
inline constexpr const char* SelectFrequencyMessage = "You must select a frequency to list!";
inline constexpr const char* FrequencyDialogCaption = "Select frequency";

// The six list commands: "List J&x", "List J&y", "List J&z" of the current list,
// "List" of the far-field list, "List E" and "List H" of the near-field list.
enum class ListKind { Jx, Jy, Jz, FarField, ElectricField, MagneticField };

// The frequency dialog's mode: "cur" (the current file .XXX, or .YYY when .XXX is
// empty), "rad" (.RAD) or "nfe" (.NFE).
enum class FrequencyDialogMode { Current, FarField, NearField };

FrequencyDialogMode DialogModeOf(ListKind kind);
std::string_view DialogModeName(FrequencyDialogMode mode);
// "Current list", "Far-field list" or "Near-field list".
std::string_view ListWindowCaption(ListKind kind);
// Row 0 of the grid.
std::vector<std::string> ListHeader(ListKind kind);
// Whether column 0 holds a running number ("No.") rather than data (the x
// coordinate of the near-field lists).
bool FirstColumnIsNumber(ListKind kind);

struct ResultList {
  ListKind Kind = ListKind::Jx;
  double FrequencyMHz = 0.0;
  std::string Title;                           // e.g. "Jx-current at 100 MHz"
  std::vector<std::string> Header;             // row 0
  std::vector<std::vector<std::string>> Rows;  // one per data line
};

// The rows of one block in the kind's cell formats, numbered on from firstNumber
// (the Jz list numbers the .ZZY lines on after the .ZZX ones). The block must hold
// the kind's fields per line (std::invalid_argument otherwise).
void AppendListRows(ListKind kind, const ResultBlock& block, std::size_t firstNumber,
                    std::vector<std::vector<std::string>>& rows);

// The frequencies the dialog offers in a mode, in file order. Throws FileError
// when the mode's file is missing or damaged.
std::vector<double> FrequencyDialogFrequencies(const std::filesystem::path& projectFile,
                                               FrequencyDialogMode mode);
// The dialog's entries: each frequency in the shortest general form.
std::vector<std::string> FrequencyDialogEntries(const std::vector<double>& frequencies);

// Shows the dialog over its entries; the index of the selected entry when it was
// closed with OK, nullopt when it was not or nothing was selected.
using FrequencyChooser =
    std::function<std::optional<std::size_t>(const std::vector<std::string>& entries)>;

// A file a list reads, as found on disk: its name for messages and its text, or
// no text when it does not exist.
struct ListFile {
  std::string Name;
  std::optional<std::string> Content;
};

// The list over file texts. files holds the list's file (the Jz list: .ZZX, then
// .ZZY). dialogFrequencies is called only when the frequency must be chosen.
// Shows "There exist no data to list!" when no file exists or none holds a block,
// "You must select a frequency to list!" when the choice is not made, and returns
// nullopt then. Damaged files, or a chosen frequency a file lacks, throw
// FileError naming the file.
std::optional<ResultList> BuildResultList(
    ListKind kind, const std::vector<ListFile>& files,
    const std::function<std::vector<double>()>& dialogFrequencies, UserInterface& ui,
    const FrequencyChooser& choose);

// The list command on the project's files.
std::optional<ResultList> BuildResultList(const std::filesystem::path& projectFile, ListKind kind,
                                          UserInterface& ui, const FrequencyChooser& choose);

}  // namespace lumetra

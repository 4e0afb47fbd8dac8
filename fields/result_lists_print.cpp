#include "fields/result_lists_print.h"

namespace lumetra {

namespace {

// Right-aligns the usual cells in about ten characters. A cell of eight or more
// characters (every exponent-form value) still gets a blank before it, so that it
// never runs into its left neighbour: "1.00 6.99E-01", not "1.006.99E-01".
std::size_t LeadingBlanks(std::size_t length) {
  if (length == 0) return 0;
  if (length <= 3) return 7;
  if (length <= 9) return 10 - length;
  return 1;
}

}  // namespace

std::string FormatListPrintout(const ResultList& list, const std::filesystem::path& projectFile) {
  const std::size_t firstColumn = FirstColumnIsNumber(list.Kind) ? 1 : 0;
  std::string page = "Project: " + projectFile.filename().string() + "\n \n" + list.Title + "\n \n";
  for (std::size_t c = firstColumn; c < list.Header.size(); ++c) page += list.Header[c] + "  ";
  page += " \n \n";
  for (const std::vector<std::string>& row : list.Rows) {
    for (std::size_t c = firstColumn; c < row.size(); ++c) {
      page.append(LeadingBlanks(row[c].size()), ' ');
      page += row[c];
    }
    page += " \n";
  }
  return page;
}

}  // namespace lumetra

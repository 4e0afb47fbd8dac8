#include "model/project_listing.h"

#include "model/number_format.h"

namespace lumetra {

namespace {

constexpr int RealWidth = 12;

std::string Real(double value) { return FormatExponential(value, RealWidth); }

// "   7", "  12", " 123", "1234": the record number in four characters, wider
// numbers unpadded.
std::string RecordNumber(std::size_t index) {
  std::string number = FormatInteger(static_cast<std::int64_t>(index) + 1);
  if (number.size() < 4) number.insert(0, 4 - number.size(), ' ');
  return number + "    ";
}

template <typename Item, typename Describe>
void Section(std::vector<std::string>& lines, const char* heading,
             const std::vector<Item>& items, Describe describe, bool blankAfter) {
  lines.emplace_back(heading);
  for (std::size_t k = 0; k < items.size(); ++k)
    lines.push_back(RecordNumber(k) + describe(items[k]));
  if (blankAfter) lines.emplace_back();
}

}  // namespace

std::vector<std::string> ProjectListingLines(const Project& project) {
  std::vector<std::string> lines;
  lines.push_back("Project: " + project.ProjectFile);
  lines.emplace_back(" ");
  lines.emplace_back(" ");
  lines.push_back("PCB length: " + FormatInteger(project.PcbLx) + " mm");
  lines.push_back("PCB width : " + FormatInteger(project.PcbLy) + " mm");
  lines.emplace_back(" ");
  Section(lines, "Voltage sources:", project.VoltageSources,
          [](const VoltageSource& v) {
            return "Real-part: " + Real(v.ReV) + " , " + "Imaginary-part: " + Real(v.ImV);
          },
          true);
  // A load lists its two stored values in the same form: R, and L (or -C).
  Section(lines, "Impedance elements:", project.Impedances,
          [](const ImpedanceElement& z) {
            return "Real-part: " + Real(z.R) + " , " + "Imaginary-part: " + Real(z.LC);
          },
          true);
  Section(lines, "Segments:", project.Segments,
          [](const Segment& s) {
            return "X-center: " + Real(s.Xc) + " , " + "Y-center: " + Real(s.Yc) + " , " +
                   "Lx: " + Real(s.Lx) + " , " + "Ly: " + Real(s.Ly);
          },
          true);
  Section(lines, "Ground points:", project.GroundPoints,
          [](const GroundPoint& g) {
            return "X-center: " + Real(g.X) + " , " + "Y-center: " + Real(g.Y);
          },
          false);
  return lines;
}

}  // namespace lumetra

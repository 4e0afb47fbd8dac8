// Small hand-written boards, one construct each, against the segments they must give.
#include "import/kicad_import.h"

#include <gtest/gtest.h>

#include <cmath>
#include <tuple>

#include "import/kicad_import_report.h"
#include "model/connections.h"
#include "model/discretisation.h"
#include "model/file_io.h"
#include "model/project_files.h"
#include "tests/support/error_text.h"
#include "tests/support/expect_values.h"

namespace lumetra {
namespace {

// A KiCad 5 board (format 20171130), 20 x 10 mm, two copper layers, no stackup.
std::string Board(const std::string& items) {
  return "(kicad_pcb (version 20171130) (host pcbnew 5.1.9)\n"
         "  (general (thickness 1.6))\n"
         "  (layers (0 F.Cu signal) (31 B.Cu signal) (44 Edge.Cuts user))\n"
         "  (net 0 \"\") (net 1 A) (net 2 B)\n"
         "  (gr_line (start 0 0) (end 20 0) (layer Edge.Cuts) (width 0.05))\n"
         "  (gr_line (start 20 0) (end 20 10) (layer Edge.Cuts) (width 0.05))\n"
         "  (gr_line (start 20 10) (end 0 10) (layer Edge.Cuts) (width 0.05))\n"
         "  (gr_line (start 0 10) (end 0 0) (layer Edge.Cuts) (width 0.05))\n" +
         items + ")\n";
}

std::string Track(double x1, double y1, double x2, double y2, const char* layer = "F.Cu",
                  int net = 1, double width = 0.25) {
  char text[200];
  std::snprintf(text, sizeof text,
                "  (segment (start %g %g) (end %g %g) (width %g) (layer %s) (net %d))\n", x1, y1,
                x2, y2, width, layer, net);
  return text;
}

KicadImport Import(const std::string& text, KicadImportOptions options = {}) {
  if (options.nets.empty()) options.nets = {"A"};
  return ImportKicadNets(ParseKicadBoard(text, "t.kicad_pcb"), options, "t.kicad_pcb");
}

void ExpectSegment(const Segment& s, double xc, double yc, double lx, double ly, int chx, int chy) {
  testing::ExpectDoublesEq({s.Xc, s.Yc, s.Lx, s.Ly}, {xc, yc, lx, ly});
  EXPECT_EQ(std::tie(s.ChX, s.ChY), std::tie(chx, chy));
}

// Connect accepts the layout and joins every touching pair.
void ExpectConnects(const Project& project) {
  EXPECT_FALSE(CheckConnections(project.Segments));
}

TEST(KicadImport, AnLOfTwoTracksIsAnArmACornerAndALeg) {
  // KiCad y runs down: the horizontal track at y = 2 lies 8 mm above our origin.
  const KicadImport out = Import(Board(Track(2, 2, 10, 2) + Track(10, 2, 10, 8)));
  const Project& p = out.project;
  EXPECT_EQ(std::tie(p.PcbLx, p.PcbLy), std::make_tuple(20, 10));
  EXPECT_DOUBLE_EQ(p.GridSize, 0.25);
  // Cells at most lambda/20 at 1 GHz in epsilon_r 4.5: 299.79 / sqrt(4.5) / 20 = 7.066 mm.
  EXPECT_NEAR(out.report.maxCellMm, 7.0663, 1e-3);
  ASSERT_EQ(p.Segments.size(), 3u);
  ExpectSegment(p.Segments[0], 10.125, 5.0, 0.25, 6.0, 1, 1);   // the leg, 6 mm down
  ExpectSegment(p.Segments[1], 6.0, 8.125, 8.0, 0.25, 2, 1);    // the arm, 8 mm: two cells
  ExpectSegment(p.Segments[2], 10.125, 8.125, 0.25, 0.25, 1, 1);  // the corner
  ExpectConnects(p);
  const ConnectingElements joins = FindConnectingElements(p.Segments);
  // Jx arm to corner, Jy leg to corner.
  EXPECT_EQ(std::make_tuple(joins.Jx.size(), joins.Jy.size()), std::make_tuple(1u, 1u));
  ASSERT_EQ(out.report.nets.size(), 1u);
  const NetImport& net = out.report.nets[0];
  EXPECT_EQ(std::tie(net.tracks, net.pieces), std::make_tuple(2, 1));
  testing::ExpectDoublesEq({net.kicadLengthMm, net.layoutLengthMm}, {14.0, 14.0});
  // 1 Jx in the arm + 1 connecting Jx; 0 + 1 connecting Jy.
  EXPECT_EQ(std::tie(out.report.jx, out.report.jy, out.report.unknowns), std::make_tuple(2, 1, 3));
}

TEST(KicadImport, HigherFrequencyAndCellsAcrossGiveMoreCells) {
  KicadImportOptions options;
  options.maxFrequencyMHz = 10000;  // lambda/20 = 0.7066 mm
  options.cellsAcross = 3;
  const KicadImport out = Import(Board(Track(2, 2, 10, 2, "F.Cu", 1, 0.75)), options);
  ASSERT_EQ(out.project.Segments.size(), 1u);
  // Grid 0.75 / 3 = 0.25 mm; the track's edges round to the grid lines 1.75, 10.5
  // and 7.75, 8.5 (halves away from zero).
  ExpectSegment(out.project.Segments[0], 6.125, 8.125, 8.75, 0.75, 13, 3);
  EXPECT_NE(FormatImportReport(out.report, 10000, 20).find("3 across"), std::string::npos);
}

TEST(KicadImport, A45DegreeJogBecomesAConnectedStaircaseOfTheSameLength) {
  const KicadImport out = Import(Board(Track(2, 2, 6, 2) + Track(6, 2, 9, 5) + Track(9, 5, 16, 5)));
  const NetImport& net = out.report.nets[0];
  EXPECT_NEAR(net.kicadLengthMm, 4 + 3 * std::sqrt(2.0) + 7, 1e-9);
  EXPECT_NEAR(net.layoutLengthMm, net.kicadLengthMm, 0.02 * net.kicadLengthMm);
  EXPECT_EQ(net.pieces, 1);
  ExpectConnects(out.project);
  // The jog climbs 3 mm in steps of one grid row: between the two runs every row
  // of 0.25 mm holds a short piece.
  int stairs = 0;
  for (const Segment& s : out.project.Segments)
    if (s.Ly == 0.25 && s.Yc > 5.2 && s.Yc < 7.8) ++stairs;
  EXPECT_GE(stairs, 10);
}

TEST(KicadImport, ATJunctionCutsTheBarUnderTheStem) {
  const KicadImport out = Import(Board(Track(2, 5, 18, 5) + Track(10, 5, 10, 9)));
  const Project& p = out.project;
  ASSERT_EQ(p.Segments.size(), 4u);
  ExpectSegment(p.Segments[0], 10.125, 3.0, 0.25, 4.0, 1, 1);     // the stem
  ExpectSegment(p.Segments[1], 6.0, 5.125, 8.0, 0.25, 2, 1);      // bar, left of the stem
  ExpectSegment(p.Segments[2], 10.125, 5.125, 0.25, 0.25, 1, 1);  // under the stem
  ExpectSegment(p.Segments[3], 14.25, 5.125, 8.0, 0.25, 2, 1);  // bar, right of it
  ExpectConnects(p);
  const ConnectingElements joins = FindConnectingElements(p.Segments);
  EXPECT_EQ(std::make_tuple(joins.Jx.size(), joins.Jy.size()), std::make_tuple(2u, 1u));
  EXPECT_DOUBLE_EQ(out.report.nets[0].layoutLengthMm, 20.0);
}

TEST(KicadImport, ARotatedFootprintsPadsLandTurned) {
  // Footprint at (10, 5) turned by 90 degrees; pad 1 at (-2, 0) in its frame lands
  // at (10, 7) in KiCad's frame, (10, 3) in ours, its 2 x 1 mm turned to 1 x 2 mm.
  const std::string footprint =
      "  (module R (layer F.Cu) (at 10 5 90)\n"
      "    (fp_text reference R1 (at 0 0) (layer F.SilkS))\n"
      "    (pad 1 smd rect (at -2 0 90) (size 2 1) (layers F.Cu) (net 1 A))\n"
      "    (pad 2 smd rect (at 2 0 90) (size 2 1) (layers F.Cu) (net 2 B)))\n";
  KicadImportOptions options;
  options.gridMm = 0.25;
  const KicadImport out = Import(Board(footprint), options);
  ASSERT_EQ(out.project.Segments.size(), 1u);
  ExpectSegment(out.project.Segments[0], 10.0, 3.0, 1.0, 2.0, 1, 1);
  EXPECT_EQ(out.report.nets[0].pads, 1);
  // A pad at 45 degrees: a diamond reaching sqrt(2)/2 from its centre, so cells
  // whose centres lie 0.625 + 0.125 = 0.75 mm out are left out.
  const std::string diamond =
      "  (module R (layer F.Cu) (at 10 5 0)\n"
      "    (fp_text reference R2 (at 0 0) (layer F.SilkS))\n"
      "    (pad 1 smd rect (at 0 0 45) (size 1 1) (layers F.Cu) (net 1 A)))\n";
  const KicadImport turned = Import(Board(diamond), options);
  double xMin = 1e9, xMax = -1e9;
  for (const Segment& s : turned.project.Segments) {
    xMin = std::min(xMin, s.Xc - s.Lx / 2);
    xMax = std::max(xMax, s.Xc + s.Lx / 2);
  }
  testing::ExpectDoublesEq({xMin, xMax}, {9.5, 10.5});
  EXPECT_GT(turned.project.Segments.size(), 3u);  // the diamond's rows differ
  ExpectConnects(turned.project);
}

TEST(KicadImport, AnArcFollowsItsLengthAndStaysConnected) {
  // A quarter circle of radius 3 about (5, 8): 3 pi / 2 long (mid rounded in the file).
  const std::string arc =
      "  (arc (start 5 5) (mid 7.12132034 5.87867966) (end 8 8) (width 0.25) (layer F.Cu) "
      "(net 1))\n";
  const KicadImport out = Import(Board(arc));
  const NetImport& net = out.report.nets[0];
  EXPECT_EQ(net.arcs, 1);
  EXPECT_NEAR(net.kicadLengthMm, 1.5 * M_PI, 1e-4);
  EXPECT_NEAR(net.layoutLengthMm, net.kicadLengthMm, 0.02 * net.kicadLengthMm);
  EXPECT_EQ(net.pieces, 1);
  ExpectConnects(out.project);
}

TEST(KicadImport, AViaJoinsTheLayersItSpans) {
  const std::string items = Track(2, 5, 6, 5) +
                            "  (via (at 6 5) (size 0.8) (drill 0.4) (layers F.Cu B.Cu) (net 1))\n" +
                            Track(6, 5, 10, 5, "B.Cu");
  const KicadImport top = Import(Board(items));
  const NetImport& net = top.report.nets[0];
  EXPECT_EQ(std::tie(net.tracks, net.vias, net.pieces), std::make_tuple(1, 1, 1));
  // The via's 0.8 mm disc stands out of the 0.25 mm track: the cells whose centres
  // lie within 0.4 mm, four rows of 0.25 mm.
  double top_ = 0, bottom = 1e9;
  for (const Segment& s : top.project.Segments) {
    top_ = std::max(top_, s.Yc + s.Ly / 2);
    bottom = std::min(bottom, s.Yc - s.Ly / 2);
  }
  EXPECT_DOUBLE_EQ(top_ - bottom, 1.0);
  ExpectConnects(top.project);
  KicadImportOptions bottomLayer;
  bottomLayer.layer = "B.Cu";
  const KicadImport back = Import(Board(items), bottomLayer);
  EXPECT_EQ(back.report.nets[0].tracks, 1);
  EXPECT_DOUBLE_EQ(back.report.nets[0].kicadLengthMm, 4.0);
}

// KiCad 8 board with a four-layer stackup; In1.Cu is a plane.
std::string StackupBoard() {
  return "(kicad_pcb (version 20240108) (generator \"pcbnew\")\n"
         "  (general (thickness 1.6))\n"
         "  (layers (0 \"F.Cu\" signal) (1 \"In1.Cu\" power) (2 \"In2.Cu\" signal)\n"
         "    (31 \"B.Cu\" signal) (44 \"Edge.Cuts\" user))\n"
         "  (setup (stackup\n"
         "    (layer \"F.Cu\" (type \"copper\") (thickness 0.035))\n"
         "    (layer \"dielectric 1\" (type \"prepreg\") (thickness 0.2) (material \"FR4\") "
         "(epsilon_r 4.2) (loss_tangent 0.02))\n"
         "    (layer \"In1.Cu\" (type \"copper\") (thickness 0.035))\n"
         "    (layer \"dielectric 2\" (type \"core\") (thickness 1.0) (epsilon_r 4.6))\n"
         "    (layer \"In2.Cu\" (type \"copper\") (thickness 0.035))\n"
         "    (layer \"dielectric 3\" (type \"prepreg\") (thickness 0.2) (epsilon_r 4.2))\n"
         "    (layer \"B.Cu\" (type \"copper\") (thickness 0.035))))\n"
         "  (net 0 \"\") (net 1 \"A\")\n"
         "  (gr_rect (start 0 0) (end 30 20) (layer \"Edge.Cuts\"))\n"
         "  (segment (start 5 5) (end 25 5) (width 0.3) (layer \"F.Cu\") (net 1))\n"
         "  (segment (start 5 9) (end 25 9) (width 0.3) (layer \"B.Cu\") (net 1))\n"
         "  (segment (start 5 12) (end 25 12) (width 0.3) (layer \"In2.Cu\") (net 1)))\n";
}

// The ground plane height and permittivity as the project file will hold them.
std::string Plane(const KicadImport& in) {
  return in.project.Env.GPHeight + " " + in.project.Env.DielConst;
}

TEST(KicadImport, TheStackupGivesThePlaneBelowTheLayer) {
  KicadImportOptions options;
  const KicadImport top = Import(StackupBoard(), options);
  EXPECT_TRUE(top.project.Env.GroundPlane);
  EXPECT_EQ(Plane(top), "0.2 4.2");
  EXPECT_EQ(top.project.PcbLx, 30);
  // B.Cu: the declared plane In1.Cu lies beyond In2.Cu, 1.2 mm away, through 1 mm
  // of 4.6 and 0.2 mm of 4.2.
  options.layer = "B.Cu";
  const KicadImport bottom = Import(StackupBoard(), options);
  EXPECT_EQ(Plane(bottom), "1.2 4.53333");
  // Given values win.
  options.groundPlaneMm = 0.5;
  options.dielectric = 3.0;
  const KicadImport given = Import(StackupBoard(), options);
  EXPECT_EQ(Plane(given), "0.5 3");
  // Without a stackup two layers stand the board's thickness apart, in FR-4.
  const KicadImport old = Import(Board(Track(2, 2, 10, 2)));
  EXPECT_EQ(Plane(old), "1.6 4.5");
}

TEST(KicadImport, DriverAndReceiverSitAtTheirPads) {
  const std::string items =
      Track(3, 5, 17, 5) +
      "  (module R (layer F.Cu) (at 3 5)\n"
      "    (fp_text reference U1 (at 0 0) (layer F.SilkS))\n"
      "    (pad 1 smd rect (at 0 0) (size 1 1) (layers F.Cu) (net 1 A)))\n"
      "  (module R (layer F.Cu) (at 17 5)\n"
      "    (fp_text reference U2 (at 0 0) (layer F.SilkS))\n"
      "    (pad 3 smd rect (at 0 0) (size 1 1) (layers F.Cu) (net 1 A)))\n";
  KicadImportOptions options;
  options.driver = ParseDriver("U1.1:2.5");
  options.receivers = {ParseReceiver("U2.3:100:4.7")};
  const KicadImport out = Import(Board(items), options);
  const Project& p = out.project;
  ASSERT_EQ(p.VoltageSources.size(), 1u);
  ASSERT_EQ(p.Impedances.size(), 1u);
  ASSERT_EQ(p.GroundPoints.size(), 2u);
  EXPECT_EQ(std::tie(p.VoltageSources[0].ReV, p.Impedances[0].R), std::make_tuple(2.5, 100.0));
  EXPECT_DOUBLE_EQ(p.Impedances[0].LC, -4.7e-12);
  testing::ExpectNear({p.VoltageSources[0].X, p.VoltageSources[0].Y, p.Impedances[0].X,
                       p.GroundPoints[0].X, p.GroundPoints[1].X},
                      {3.0, 5.0, 17.0, 3.0, 17.0}, 0.5);
  EXPECT_EQ(out.report.groundPoints, 2);
  EXPECT_EQ(ParseDriver("U1.1").first, DefaultDriverVolts);
  EXPECT_EQ(ParseReceiver("J.A3").pad, "A3");
  for (const char* bad : {"U1", ".1", "U1.", "U1.1:x", "U1.1:1:2"})
    EXPECT_THROW(ParseDriver(bad), KicadImportError) << bad;
  EXPECT_THROW(ParseReceiver("U1.1:-5"), KicadImportError);
  EXPECT_THROW(ParseReceiver("U1.1:50:0"), KicadImportError);
  options.driver = ParseDriver("U9.1");
  EXPECT_THROW(Import(Board(items), options), KicadImportError);
}

std::string ErrorOf(const std::string& text, KicadImportOptions options) {
  return testing::ErrorText([&] { Import(text, std::move(options)); });
}

TEST(KicadImport, RefusesWhatItCannotImport) {
  const std::string board = Board(Track(2, 2, 10, 2) + Track(3, 8, 9, 8, "B.Cu", 2));
  KicadImportOptions options;
  options.nets = {"CLK"};
  EXPECT_EQ(ErrorOf(board, options), "the board has no net \"CLK\"");
  options.nets = {"A"};
  options.layer = "In5.Cu";
  EXPECT_EQ(ErrorOf(board, options),
            "layer \"In5.Cu\" is not a copper layer of the board (F.Cu, B.Cu)");
  options.layer = "Edge.Cuts";
  EXPECT_NE(ErrorOf(board, options).find("not a copper layer"), std::string::npos);
  options.layer = "F.Cu";
  options.nets = {"B"};
  EXPECT_EQ(ErrorOf(board, options), "net \"B\" has no copper on layer F.Cu");
  options.nets = {"A"};
  EXPECT_EQ(ErrorOf(Board(Track(2, 2, 5000, 2)), options),
            "net \"A\" has copper at (5000, 2) mm, outside the board outline (20 x 10 mm)");
  // Two nets 0.05 mm apart (rows 31 and 30 of a 0.25 mm grid) would touch.
  options.nets = {"A", "B"};
  options.gridMm = 0.25;
  const std::string close = Board(Track(2, 2.1, 10, 2.1) + Track(2, 2.4, 10, 2.4, "F.Cu", 2));
  EXPECT_NE(ErrorOf(close, options).find("touch on a grid of 0.25 mm"), std::string::npos);
  // Left to itself the import refines the grid until they stay apart.
  options.gridMm.reset();
  const KicadImport apart = Import(close, options);
  EXPECT_LT(apart.report.gridMm, 0.1);
  EXPECT_EQ(std::tie(apart.report.nets[0].pieces, apart.report.nets[1].pieces),
            std::make_tuple(1, 1));
  ExpectConnects(apart.project);
}

TEST(KicadImport, TooManyUnknownsIsWarnedNamingWhatToChange) {
  KicadImportOptions options;
  options.maxFrequencyMHz = 1e6;  // cells of 7 um along 8 mm
  options.gridMm = 0.25;
  const KicadImport out = Import(Board(Track(2, 2, 10, 2)), options);
  ASSERT_FALSE(out.report.warnings.empty());
  const std::string text = FormatImportReport(out.report, 1e6, 20);
  EXPECT_NE(text.find("Warning: the layout has"), std::string::npos) << text;
  EXPECT_NE(text.find("coarser --grid"), std::string::npos);
  EXPECT_NE(text.find("lower --max-freq"), std::string::npos);
}

TEST(KicadImport, SavedAndReadBackTheLayoutStillConnects) {
  // The 15-digit project files carry the binary coordinates unchanged.
  const KicadImport out = Import(Board(Track(2.1, 2.3, 9.7, 2.3) + Track(9.7, 2.3, 12.4, 5.0) +
                                       Track(12.4, 5.0, 12.4, 9.1)));
  const std::string seg = FormatSegFile(out.project);
  Project back;
  ParseSegFile(seg, "t.SEG", back);
  ASSERT_EQ(back.Segments.size(), out.project.Segments.size());
  for (std::size_t k = 0; k < back.Segments.size(); ++k) {
    EXPECT_EQ(std::tie(back.Segments[k].Xc, back.Segments[k].Lx),
              std::tie(out.project.Segments[k].Xc, out.project.Segments[k].Lx));
  }
  EXPECT_FALSE(CheckConnections(back.Segments));
  EXPECT_EQ(FindConnectingElements(back.Segments).Jy.size(),
            FindConnectingElements(out.project.Segments).Jy.size());
}

}  // namespace
}  // namespace lumetra

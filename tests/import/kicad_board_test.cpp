// Board files of KiCad 5 and of KiCad 7/8 read into plain data: every construct a
// later import relies on, checked value by value, and damaged files refused with
// the line and column.
#include "import/kicad_board.h"

#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <optional>
#include <string>
#include <tuple>

#include "model/file_io.h"
#include "tests/support/error_text.h"
#include "tests/support/temp_dir.h"

namespace lumetra {
namespace {

// KiCad 5: module, unquoted names, net numbers, an arc given by centre and angle.
// The 0603 resistor is turned by 90 degrees; the file stores its pads' rotation
// with the footprint's included.
const char* const Kicad5Board = R"BOARD((kicad_pcb (version 20171130) (host pcbnew 5.1.9)
  (general (thickness 1.6) (drawings 5) (tracks 3) (modules 1) (nets 3))
  (page A4)
  (layers
    (0 F.Cu signal)
    (31 B.Cu signal)
    (44 Edge.Cuts user)
  )
  (setup (last_trace_width 0.25) (via_drill 0.4))
  (net 0 "")
  (net 1 CLK)
  (net 2 "Net-(R1-Pad1)")
  (net_class Default "This is the default net class." (clearance 0.2) (add_net CLK))
  (module Resistor_SMD:R_0603_1608Metric (layer F.Cu) (tedit 5B301BBD) (tstamp 5F000001)
    (at 120 80 90)
    (descr "Resistor SMD 0603")
    (fp_text reference R1 (at 0 -1.43 90) (layer F.SilkS)
      (effects (font (size 1 1) (thickness 0.15))))
    (fp_text value 10k (at 0 1.43 90) (layer F.Fab))
    (fp_line (start -0.8 0.4) (end -0.8 -0.4) (layer F.Fab) (width 0.1))
    (pad 1 smd roundrect (at -0.7875 0 90) (size 0.875 0.95) (layers F.Cu F.Paste F.Mask)
      (roundrect_rratio 0.25) (net 2 "Net-(R1-Pad1)"))
    (pad 2 smd roundrect (at 0.7875 0 90) (size 0.875 0.95) (layers F.Cu F.Paste F.Mask)
      (roundrect_rratio 0.25) (net 1 CLK))
  )
  (gr_line (start 100 60) (end 140 60) (layer Edge.Cuts) (width 0.05))
  (gr_arc (start 140 65) (end 140 60) (angle 90) (layer Edge.Cuts) (width 0.05))
  (gr_line (start 145 65) (end 145 100) (layer Edge.Cuts) (width 0.05))
  (gr_line (start 145 100) (end 100 100) (layer Edge.Cuts) (width 0.05))
  (gr_line (start 100 100) (end 100 60) (layer Edge.Cuts) (width 0.05))
  (gr_line (start 0 0) (end 1 1) (layer F.SilkS) (width 0.15))
  (gr_text "hello" (at 110 70) (layer F.SilkS))
  (segment (start 110 70) (end 120 70) (width 0.25) (layer F.Cu) (net 1) (tstamp 5F000010))
  (segment (start 120 70) (end 120 79.2125) (width 0.25) (layer F.Cu) (net 1))
  (segment (start 120 80.7875) (end 125 85.7875) (width 0.3) (layer B.Cu) (net 2))
  (via (at 125 85.7875) (size 0.8) (drill 0.4) (layers F.Cu B.Cu) (net 2))
)
)BOARD";

// KiCad 7/8: footprint with property, quoted names, a stackup with a dielectric of
// two sublayers, an arc track, a blind via without drill, tracks naming their
// net instead of numbering it (the newest files), items of newer versions.
const char* const Kicad8Board = R"BOARD((kicad_pcb (version 20240108) (generator "pcbnew") (generator_version "8.0")
  (general (thickness 1.59) (legacy_teardrops no))
  (paper "A4")
  (layers
    (0 "F.Cu" signal)
    (1 "In1.Cu" power)
    (2 "In2.Cu" power)
    (31 "B.Cu" signal)
    (44 "Edge.Cuts" user)
    (36 "B.SilkS" user "B.Silkscreen")
  )
  (setup
    (stackup
      (layer "F.SilkS" (type "Top Silk Screen"))
      (layer "F.Mask" (type "Top Solder Mask") (thickness 0.01))
      (layer "F.Cu" (type "copper") (thickness 0.035))
      (layer "dielectric 1" (type "prepreg") (thickness 0.1) (material "FR4") (epsilon_r 4.5) (loss_tangent 0.02))
      (layer "In1.Cu" (type "copper") (thickness 0.035))
      (layer "dielectric 2" (type "core") (thickness 1.24) (material "FR4") (epsilon_r 4.6) (loss_tangent 0.02))
      (layer "In2.Cu" (type "copper") (thickness 0.035))
      (layer "dielectric 3" (type "prepreg") (thickness 0.05) (material "FR4") (epsilon_r 4.4)
        (loss_tangent 0.02) addsublayer (thickness 0.05) (material "1080") (epsilon_r 3.9) (loss_tangent 0.03))
      (layer "B.Cu" (type "copper") (thickness 0.035))
      (copper_finish "None")
      (dielectric_constraints no)
    )
    (pad_to_mask_clearance 0)
    (pcbplotparams (layerselection 0x00010fc_ffffffff) (plot_on_all_layers_selection 0x0000000_00000000))
  )
  (net 0 "")
  (net 1 "CLK")
  (net 2 "GND")
  (footprint "Connector:Pin" (layer "F.Cu") (uuid "f1") (at 50 40 90)
    (property "Reference" "J1" (at 0 -2 90) (layer "F.SilkS") (uuid "p1")
      (effects (font (size 1 1) (thickness 0.15))))
    (property "Value" "Conn" (at 0 2 90) (layer "F.Fab"))
    (fp_rect (start -1 -1) (end 1 1) (stroke (width 0.1) (type solid)) (fill none) (layer "F.CrtYd"))
    (fp_line (start 3 -1) (end 3 1) (stroke (width 0.1) (type solid)) (layer "Edge.Cuts"))
    (pad "1" thru_hole circle (at 0 -1.27 90) (size 1.7 1.7) (drill 1) (layers "*.Cu" "*.Mask")
      (remove_unused_layers no) (net 1 "CLK") (uuid "x1"))
    (pad "2" thru_hole oval (at 0 1.27 90) (size 1.7 1.2) (drill oval 1.0 0.6) (layers "*.Cu" "*.Mask")
      (net 2 "GND") (uuid "x2"))
    (pad "3" smd rect (at 2 0 135) (size 1 2) (layers "F.Cu") (net 1 "CLK"))
    (pad "" np_thru_hole circle (at -3 0) (size 1.1 1.1) (drill 1.1) (layers "*.Cu"))
  )
  (gr_rect (start 0 0) (end 100 80) (stroke (width 0.1) (type default)) (fill none) (layer "Edge.Cuts") (uuid "r"))
  (gr_poly (pts (xy 10 10) (xy 20 10) (xy 20 20)) (stroke (width 0.1) (type solid)) (fill none) (layer "Edge.Cuts"))
  (gr_arc (start 0 90) (mid 5 95) (end 0 100) (stroke (width 0.1) (type default)) (layer "Edge.Cuts"))
  (gr_circle (center 70 70) (end 72 70) (stroke (width 0.1) (type default)) (fill none) (layer "Edge.Cuts"))
  (gr_line (start 0 0) (end 5 5) (stroke (width 0.1) (type default)) (layer "F.SilkS"))
  (segment (start 40 40) (end 48.73 40) (width 0.2) (layer "F.Cu") (net 1) (uuid "s1"))
  (arc (start 30 40) (mid 32.928932 32.928932) (end 40 30) (width 0.2) (layer "In1.Cu") (net 2) (uuid "a1"))
  (via (at 40 30) (size 0.6) (drill 0.3) (layers "F.Cu" "B.Cu") (free yes) (net 2) (uuid "v1"))
  (via blind (at 45 30) (size 0.5) (layers "F.Cu" "In1.Cu") (net 2))
  (segment (start 60 60) (end 61 61) (width 0.2) (layer "B.Cu") (net "SENSE"))
  (segment (start 61 61) (end 62 61) (width 0.2) (layer "B.Cu") (net "CLK"))
  (zone (net 2) (net_name "GND") (layer "F.Cu") (polygon (pts (xy 0 0) (xy 1 0) (xy 1 1))))
  (embedded_fonts no)
)
)BOARD";

std::string ErrorOf(const std::string& text) {
  return testing::ErrorText<FileError>([&] { ParseKicadBoard(text, "b.kicad_pcb"); });
}

void ExpectPoint(KicadPoint p, double x, double y, double tolerance = 1e-12) {
  EXPECT_NEAR(p.x, x, tolerance);
  EXPECT_NEAR(p.y, y, tolerance);
}

// A pad's extent on the board, after the footprint's and its own rotation.
void ExpectSize(const KicadPadOnBoard& pad, double width, double height) {
  EXPECT_DOUBLE_EQ(pad.widthMm, width);
  EXPECT_DOUBLE_EQ(pad.heightMm, height);
}

TEST(KicadBoard5, HeaderNetsAndLayers) {
  const KicadBoard board = ParseKicadBoard(Kicad5Board, "k5.kicad_pcb");
  EXPECT_EQ(board.version, 20171130);
  EXPECT_EQ(board.generator, "");
  ASSERT_TRUE(board.thicknessMm);
  EXPECT_DOUBLE_EQ(*board.thicknessMm, 1.6);
  EXPECT_EQ(board.nets, (std::map<int, std::string>{{0, ""}, {1, "CLK"}, {2, "Net-(R1-Pad1)"}}));
  EXPECT_EQ(board.NetName(9), "");
  ASSERT_EQ(board.layers.size(), 3u);
  EXPECT_EQ(std::tie(board.layers[1].ordinal, board.layers[1].name, board.layers[1].type),
            std::make_tuple(31, "B.Cu", "signal"));
  EXPECT_TRUE(board.stackup.empty());
}

TEST(KicadBoard5, TracksFormAnLAndA45DegreePieceEndingInAVia) {
  const KicadBoard board = ParseKicadBoard(Kicad5Board, "k5.kicad_pcb");
  ASSERT_EQ(board.tracks.size(), 3u);
  const KicadTrack& first = board.tracks[0];
  const KicadTrack& second = board.tracks[1];
  ExpectPoint(first.start, 110, 70);
  ExpectPoint(first.end, 120, 70);
  ExpectPoint(second.start, 120, 70);
  ExpectPoint(second.end, 120, 79.2125);
  EXPECT_EQ(std::tie(first.isArc, first.widthMm, first.layer, first.net, second.net),
            std::make_tuple(false, 0.25, "F.Cu", 1, 1));
  const KicadTrack& diagonal = board.tracks[2];
  EXPECT_EQ(std::tie(diagonal.layer, diagonal.net, diagonal.widthMm),
            std::make_tuple("B.Cu", 2, 0.3));
  EXPECT_NEAR(std::hypot(diagonal.end.x - diagonal.start.x, diagonal.end.y - diagonal.start.y),
              5 * std::sqrt(2.0), 1e-12);
  ASSERT_EQ(board.vias.size(), 1u);
  const KicadVia& via = board.vias[0];
  ExpectPoint(via.at, 125, 85.7875);
  EXPECT_EQ(std::tie(via.sizeMm, via.drillMm, via.net),
            std::make_tuple(0.8, std::optional(0.4), 2));
  EXPECT_EQ(via.layers, (std::vector<std::string>{"F.Cu", "B.Cu"}));
}

TEST(KicadBoard5, TurnedModulePadsLandWhereTheTracksEnd) {
  const KicadBoard board = ParseKicadBoard(Kicad5Board, "k5.kicad_pcb");
  ASSERT_EQ(board.footprints.size(), 1u);
  const KicadFootprint& r1 = board.footprints[0];
  EXPECT_EQ(std::tie(r1.libraryName, r1.reference, r1.layer, r1.rotationDeg),
            std::make_tuple("Resistor_SMD:R_0603_1608Metric", "R1", "F.Cu", 90.0));
  ExpectPoint(r1.at, 120, 80);
  ASSERT_EQ(r1.pads.size(), 2u);
  const KicadPad& pad1 = r1.pads[0];
  EXPECT_EQ(std::tie(pad1.number, pad1.type, pad1.shape, pad1.rotationDeg, pad1.net, pad1.netName,
                     pad1.drillMm),
            std::make_tuple("1", "smd", "roundrect", 90.0, 2, "Net-(R1-Pad1)", std::nullopt));
  ExpectPoint(pad1.at, -0.7875, 0);
  EXPECT_EQ(pad1.layers.size(), 3u);
  // Turned 90 degrees counter-clockwise on screen, the pad on the left moves down
  // (y grows downwards) and the one on the right moves up; each then sits at the
  // end of its net's track, and its long side runs along x.
  const KicadPadOnBoard onBoard1 = PadShapeInBoard(r1, pad1);
  ExpectPoint(onBoard1.centre, 120, 80.7875);
  ExpectPoint(onBoard1.centre, board.tracks[2].start.x, board.tracks[2].start.y);
  ExpectSize(onBoard1, 0.95, 0.875);
  const KicadPadOnBoard onBoard2 = PadShapeInBoard(r1, r1.pads[1]);
  ExpectPoint(onBoard2.centre, board.tracks[1].end.x, board.tracks[1].end.y);
  EXPECT_EQ(r1.pads[1].netName, "CLK");
}

TEST(KicadBoard5, OutlineWithArcGivenByCentreAndAngle) {
  const KicadBoard board = ParseKicadBoard(Kicad5Board, "k5.kicad_pcb");
  ASSERT_EQ(board.outline.size(), 5u);  // the silkscreen line is not outline
  const KicadOutlineItem& arc = board.outline[1];
  EXPECT_EQ(arc.kind, KicadOutlineItem::Kind::Arc);
  // Centre (140, 65), from the top (140, 60) 90 degrees clockwise on screen to
  // the right (145, 65): the rounded top-right corner joining both lines.
  ExpectPoint(arc.start, 140, 60);
  ExpectPoint(arc.end, 145, 65, 1e-12);
  ExpectPoint(arc.mid, 140 + 5 / std::sqrt(2.0), 65 - 5 / std::sqrt(2.0), 1e-12);
  ExpectPoint(board.outline[0].end, arc.start.x, arc.start.y);
  ExpectPoint(board.outline[2].start, arc.end.x, arc.end.y);
  for (const KicadOutlineItem& item : board.outline) EXPECT_FALSE(item.kind == KicadOutlineItem::Kind::Poly);
}

TEST(KicadBoard8, StackupWithThicknessesAndPermittivities) {
  const KicadBoard board = ParseKicadBoard(Kicad8Board, "k8.kicad_pcb");
  EXPECT_EQ(std::tie(board.version, board.generator), std::make_tuple(20240108, "pcbnew"));
  ASSERT_EQ(board.layers.size(), 6u);
  EXPECT_EQ(std::tie(board.layers[1].name, board.layers[1].type),
            std::make_tuple("In1.Cu", "power"));
  ASSERT_EQ(board.stackup.size(), 10u);
  EXPECT_EQ(board.stackup[0].name, "F.SilkS");
  EXPECT_FALSE(board.stackup[0].thicknessMm);
  const KicadStackupLayer& d1 = board.stackup[3];
  EXPECT_EQ(std::tie(d1.name, d1.type, d1.material, d1.thicknessMm, d1.epsilonR, d1.lossTangent),
            std::make_tuple("dielectric 1", "prepreg", "FR4", std::optional(0.1),
                            std::optional(4.5), std::optional(0.02)));
  EXPECT_DOUBLE_EQ(*board.stackup[5].epsilonR, 4.6);
  // The two sublayers of dielectric 3 each keep their own values.
  const KicadStackupLayer &d3a = board.stackup[7], &d3b = board.stackup[8];
  EXPECT_EQ(std::tie(d3a.name, d3a.epsilonR), std::make_tuple("dielectric 3", std::optional(4.4)));
  EXPECT_EQ(std::tie(d3b.name, d3b.epsilonR, d3b.lossTangent, d3b.material),
            std::make_tuple("dielectric 3", std::optional(3.9), std::optional(0.03), "1080"));
  EXPECT_EQ(board.stackup[9].name, "B.Cu");
  // Copper, dielectrics and the top mask add up to the board's stated thickness.
  double total = 0;
  for (const KicadStackupLayer& layer : board.stackup) total += layer.thicknessMm.value_or(0);
  EXPECT_NEAR(total, *board.thicknessMm, 1e-12);
}

TEST(KicadBoard8, ArcTrackViasAndNetsByName) {
  const KicadBoard board = ParseKicadBoard(Kicad8Board, "k8.kicad_pcb");
  ASSERT_EQ(board.tracks.size(), 4u);
  const KicadTrack& arc = board.tracks[1];
  EXPECT_EQ(std::tie(arc.isArc, arc.layer, arc.net), std::make_tuple(true, "In1.Cu", 2));
  ExpectPoint(arc.start, 30, 40);
  ExpectPoint(arc.mid, 32.928932, 32.928932);
  ExpectPoint(arc.end, 40, 30);
  EXPECT_FALSE(board.tracks[0].isArc);
  // A net named in a track that no declaration lists gets the next free number;
  // a named net that is declared keeps its number.
  EXPECT_EQ(std::tie(board.tracks[2].net, board.tracks[3].net), std::make_tuple(3, 1));
  EXPECT_EQ(board.NetName(3), "SENSE");
  EXPECT_EQ(board.nets.size(), 4u);
  ASSERT_EQ(board.vias.size(), 2u);
  EXPECT_EQ(board.vias[0].drillMm, 0.3);
  EXPECT_EQ(std::tie(board.vias[1].drillMm, board.vias[1].sizeMm),
            std::make_tuple(std::nullopt, 0.5));
  EXPECT_EQ(board.vias[1].layers, (std::vector<std::string>{"F.Cu", "In1.Cu"}));
}

TEST(KicadBoard8, TurnedFootprintPadsInBoardCoordinates) {
  const KicadBoard board = ParseKicadBoard(Kicad8Board, "k8.kicad_pcb");
  ASSERT_EQ(board.footprints.size(), 1u);
  const KicadFootprint& j1 = board.footprints[0];
  EXPECT_EQ(std::tie(j1.reference, j1.libraryName), std::make_tuple("J1", "Connector:Pin"));
  ASSERT_EQ(j1.pads.size(), 4u);
  const KicadPadOnBoard p1 = PadShapeInBoard(j1, j1.pads[0]);
  ExpectPoint(p1.centre, 48.73, 40);  // where the CLK segment ends
  ExpectPoint(p1.centre, board.tracks[0].end.x, board.tracks[0].end.y);
  ExpectSize(p1, 1.7, 1.7);
  EXPECT_EQ(j1.pads[0].drillMm, 1.0);
  EXPECT_EQ(j1.pads[0].layers, (std::vector<std::string>{"*.Cu", "*.Mask"}));
  const KicadPadOnBoard p2 = PadShapeInBoard(j1, j1.pads[1]);
  ExpectPoint(p2.centre, 51.27, 40);
  // The oval's long side now runs along y.
  ExpectSize(p2, 1.2, 1.7);
  EXPECT_EQ(std::tie(j1.pads[1].drillMm, j1.pads[1].netName),
            std::make_tuple(std::optional(1.0), "GND"));
  // Pad 3 sits 2 mm right of the centre, turned by 45 degrees of its own plus
  // the footprint's 90: on the board it is 2 mm up, and a 1 x 2 mm rectangle at
  // 135 degrees fills a square box of (1 + 2) / sqrt(2) on each side.
  const KicadPadOnBoard p3 = PadShapeInBoard(j1, j1.pads[2]);
  ExpectPoint(p3.centre, 50, 38);
  EXPECT_NEAR(p3.widthMm, 3 / std::sqrt(2.0), 1e-12);
  EXPECT_NEAR(p3.heightMm, 3 / std::sqrt(2.0), 1e-12);
  EXPECT_EQ(std::tie(j1.pads[3].number, j1.pads[3].type, j1.pads[3].net),
            std::make_tuple("", "np_thru_hole", 0));
}

TEST(KicadBoard8, OutlineFromGraphicsAndFootprintEdges) {
  const KicadBoard board = ParseKicadBoard(Kicad8Board, "k8.kicad_pcb");
  ASSERT_EQ(board.outline.size(), 5u);
  // The footprint's edge line comes first (footprints are read in file order),
  // placed on the board: local x = 3 turned by 90 degrees is 3 mm up.
  const KicadOutlineItem& edge = board.outline[0];
  EXPECT_EQ(edge.kind, KicadOutlineItem::Kind::Line);
  ExpectPoint(edge.start, 49, 37);
  ExpectPoint(edge.end, 51, 37);
  const KicadOutlineItem& rect = board.outline[1];
  EXPECT_EQ(rect.kind, KicadOutlineItem::Kind::Rect);
  ExpectPoint(rect.start, 0, 0);
  ExpectPoint(rect.end, 100, 80);
  const KicadOutlineItem& poly = board.outline[2];
  EXPECT_EQ(poly.kind, KicadOutlineItem::Kind::Poly);
  ASSERT_EQ(poly.points.size(), 3u);
  ExpectPoint(poly.points[2], 20, 20);
  const KicadOutlineItem& arc = board.outline[3];
  EXPECT_EQ(arc.kind, KicadOutlineItem::Kind::Arc);
  ExpectPoint(arc.mid, 5, 95);
  const KicadOutlineItem& circle = board.outline[4];
  EXPECT_EQ(circle.kind, KicadOutlineItem::Kind::Circle);
  ExpectPoint(circle.start, 70, 70);
  ExpectPoint(circle.end, 72, 70);
}

TEST(KicadBoard, FileWithoutNetDeclarationsNumbersNetsByName) {
  // No (net ...) list at all: a track without a net is on net 0, which exists;
  // named nets are numbered in the order they appear, the same name once.
  const KicadBoard board = ParseKicadBoard(
      "(kicad_pcb (version 20250513)\n"
      "  (segment (start 0 0) (end 1 0) (width 0.2) (layer \"F.Cu\"))\n"
      "  (segment (start 1 0) (end 2 0) (width 0.2) (layer \"F.Cu\") (net \"VCC\"))\n"
      "  (segment (start 2 0) (end 3 0) (width 0.2) (layer \"F.Cu\") (net \"GND\"))\n"
      "  (via (at 3 0) (size 0.6) (layers \"F.Cu\" \"B.Cu\") (net \"VCC\"))\n"
      "  (segment (start 3 0) (end 4 0) (width 0.2) (layer \"F.Cu\") (net \"\"))\n)",
      "n.kicad_pcb");
  ASSERT_EQ(board.tracks.size(), 4u);
  EXPECT_EQ(std::tie(board.tracks[0].net, board.tracks[1].net, board.tracks[2].net,
                     board.vias[0].net, board.tracks[3].net),
            std::make_tuple(0, 1, 2, 1, 0));
  EXPECT_EQ(board.nets, (std::map<int, std::string>{{0, ""}, {1, "VCC"}, {2, "GND"}}));
}

TEST(KicadBoard, ReadsFromFileAndNamesAMissingOne) {
  testing::TempDir dir;
  testing::WriteBytes(dir / "b.kicad_pcb", Kicad5Board);
  EXPECT_EQ(ReadKicadBoard(dir / "b.kicad_pcb").tracks.size(), 3u);
  EXPECT_PRED2(testing::Holds,
               testing::ErrorText<FileError>([&] { ReadKicadBoard(dir / "missing.kicad_pcb"); }),
               "missing.kicad_pcb");
}

TEST(KicadBoard, RefusesDamagedFilesWithLineAndColumn) {
  const std::string head = "(kicad_pcb (version 20221018) (net 0 \"\") (net 1 \"A\")\n";
  // The item on line 2 and the error's column and words after "line 2, column ".
  const std::pair<const char*, const char*> cases[] = {
      {"(segment (start 0 0) (end 1 0) (layer \"F.Cu\") (net 1))",
       "3: \"segment\" without \"width\""},
      {"(segment (start 0) (end 1 0) (width 1) (layer F.Cu))",
       "12: \"start\" lacks its y coordinate"},
      {"(via (at 1e300 0) (size 1))", "12: x coordinate 1e300 is out of range"},
      {"(via (at 1e999 0) (size 1))", "12: x coordinate expected, found \"1e999\""},
      {"(via (at nan 0) (size 1))", "12: x coordinate expected, found \"nan\""},
      {"(via (at 1 2) (size -1))", "23: size -1 is negative"},
      {"(segment (start 0 0) (end 1 0) (width 1) (layer F.Cu) (net 7))",
       "57: net 7 is not declared"},
      {"(net 99999999999 x)", "8: number 99999999999 is out of range"},
      {"(net 1.5 x)", "8: integer expected, found \"1.5\""},
      {"(footprint \"X\" (layer F.Cu) (pad 1 smd rect (at 0 0)))",
       "3: \"footprint\" without \"at\""},
      {"(footprint \"X\" (at 0 0) (pad 1 smd rect (at 0 0) (layers F.Cu)))",
       "27: \"pad\" without \"size\""},
      {"(gr_arc (start 0 0) (end 1 0) (layer Edge.Cuts))", "3: \"gr_arc\" without \"angle\""},
  };
  for (const auto& [item, error] : cases)
    EXPECT_EQ(ErrorOf(head + "  " + item + "\n)"),
              std::string("Error in file \"b.kicad_pcb\", line 2, column ") + error);
  EXPECT_EQ(ErrorOf("(kicad_sch (version 1))"),
            "Error in file \"b.kicad_pcb\", line 1, column 1: not a KiCad board file (no "
            "\"kicad_pcb\")");
}

TEST(KicadBoard, TruncatedBoardIsRefusedAtItsEnd) {
  const std::string text = Kicad5Board;
  // Cut in the middle of the module, inside a quoted string, and after the last
  // item: each time an error, never a partial board.
  for (const std::size_t cut : {text.find("(pad 2"), text.find("Resistor SMD") + 3,
                                text.rfind(')') - 1}) {
    const std::string error = ErrorOf(text.substr(0, cut));
    EXPECT_NE(error.find("Error in file \"b.kicad_pcb\", line "), std::string::npos) << error;
    EXPECT_TRUE(error.find("unexpected end of file") != std::string::npos ||
                error.find("unterminated string") != std::string::npos)
        << error;
  }
}

}  // namespace
}  // namespace lumetra

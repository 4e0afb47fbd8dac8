// The 2D graph of the current plot: one quantity along one row (Jx) or column (Jy)
// of current elements of one segment, with its scales, title and pointer readout.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "plots/current_samples.h"

namespace lumetra {

inline constexpr const char* TooFewPointsMessage = "To few points to plot!";

enum class GraphQuantity { Amplitude, Phase, Real, Imaginary, TotalCurrent };

struct GraphChoice {
  int Segment = 0;  // 1-based
  int Row = 0;      // 1-based row (Jx) or column (Jy); 0 = the first
  bool Jx = false;
};

// Which element kind a segment of nx x ny charge cells plots, and whether the
// user must choose between them: Jx when nx >= 2, Jy when ny >= 2, the "Select
// plot type" dialog when both hold.
struct GraphKinds {
  bool Jx = false;
  bool Ask = false;
};
GraphKinds GraphKindsOf(const Segment& segment);

struct GraphPoint {
  double Position = 0.0;  // x (Jx) or y (Jy), mm
  double HalfLength = 0.0;
  double Value = 0.0;
};

struct GraphData {
  std::vector<GraphPoint> Points;
  double XMin = 0.0, XMax = 0.0, YMin = 0.0, YMax = 0.0;
};

// The samples of the choice and their values; nullopt when the row holds fewer
// than two elements (or lies outside the loaded samples).
std::optional<GraphData> BuildGraph(const CurrentSamples& samples,
                                    const std::vector<Segment>& segments,
                                    const GraphChoice& choice, GraphQuantity quantity);

// The plot area and scales of a graph in a paint area of width x height.
struct GraphFrame {
  int Left = 100, Right = 0, Top = 50, Bottom = 0;
  double Kx = 0.0, Ky = 0.0;  // pixels per unit; 0 for a range of 0
};
GraphFrame FrameOf(const GraphData& graph, int width, int height);
struct GraphPixelPoint {
  int X = 0, Y = 0;
};
GraphPixelPoint GraphPixel(const GraphFrame& frame, const GraphData& graph, const GraphPoint& p);

// The value axis starts at zero for the amplitude and the total current, and
// takes zero in for the real and imaginary parts, so that the size of a current
// reads from the height of the curve; the phase keeps its own range.
void IncludeZero(GraphData& graph, GraphQuantity quantity);
// The axis titles with units: "x [mm]" / "y [mm]" along the row or column, and
// "|Jx| [A/m]", "Phase of Jx [deg]", "Re Jx [A/m]", "Im Jx [A/m]", "|Ix| [A]".
std::string GraphXAxisTitle(const GraphChoice& choice);
std::string GraphYAxisTitle(const GraphChoice& choice, GraphQuantity quantity);
// The screen title followed by the frequency: "... in segment 1 at 300 MHz".
std::string TitleWithFrequency(const std::string& title, const std::string& frequencyText);

// The axis texts: xmin/xmax fixed, ymin/ymax in exponent form.
std::string GraphXText(double value);
std::string GraphYText(double value);
// The title and its offset to the left of the frame's centre.
struct GraphTitle {
  std::string Text;
  int Offset = 0;
};
GraphTitle TitleOf(const GraphChoice& choice, GraphQuantity quantity);
// The printed title: the screen title, followed by " (Real-part)" or
// " (Imaginary-part)" for those quantities, since the printout has no buttons.
std::string PrintedTitle(const GraphChoice& choice, GraphQuantity quantity);
// The identification line under a printed current plot.
std::string PrintedSourceLine(const std::string& frequencyText, const std::string& projectFile);

// "X=...   Y=...      " for a pointer strictly inside the plot area; nullopt
// outside or when a scale is 0.
std::optional<std::string> GraphReadout(const GraphFrame& frame, const GraphData& graph, int x,
                                        int y);

}  // namespace lumetra

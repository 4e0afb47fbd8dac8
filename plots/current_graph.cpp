#include "plots/current_graph.h"

#include <algorithm>
#include <cmath>

#include "fields/result_lists_format.h"

namespace lumetra {

GraphKinds GraphKindsOf(const Segment& segment) {
  GraphKinds kinds;
  if (segment.ChX >= 2) kinds.Jx = true;
  if (segment.ChY >= 2) kinds.Jx = false;
  kinds.Ask = segment.ChX >= 2 && segment.ChY >= 2;
  return kinds;
}

namespace {

double ValueOf(const CurrentSample& s, bool jx, GraphQuantity quantity) {
  switch (quantity) {
    case GraphQuantity::Amplitude: return s.Magnitude;
    case GraphQuantity::Phase: return s.Phase;
    case GraphQuantity::Real: return s.Re;
    case GraphQuantity::Imaginary: return s.Im;
    case GraphQuantity::TotalCurrent: return s.Magnitude * (jx ? s.Dy : s.Dx) * 0.001;
  }
  return 0.0;
}

}  // namespace

std::optional<GraphData> BuildGraph(const CurrentSamples& samples,
                                    const std::vector<Segment>& segments,
                                    const GraphChoice& choice, GraphQuantity quantity) {
  if (choice.Segment < 1 || choice.Segment > static_cast<int>(segments.size())) return std::nullopt;
  long long first = 1;
  for (int i = 0; i + 1 < choice.Segment; ++i) {
    const Segment& s = segments[static_cast<std::size_t>(i)];
    first += choice.Jx ? static_cast<long long>(s.ChY) * (s.ChX - 1)
                       : static_cast<long long>(s.ChY - 1) * s.ChX;
  }
  const Segment& seg = segments[static_cast<std::size_t>(choice.Segment - 1)];
  const long long points = choice.Jx ? seg.ChX - 1 : seg.ChY - 1;
  const long long stride = choice.Jx ? 1 : seg.ChX;
  if (choice.Row != 0) first += choice.Jx ? (choice.Row - 1) * points : choice.Row - 1;
  if (points <= 1) return std::nullopt;
  const std::vector<CurrentSample>& list = choice.Jx ? samples.Jx : samples.Jy;
  // The samples come from a file: a row beyond its end is refused, not read.
  if (first < 1 || first + (points - 1) * stride > static_cast<long long>(list.size()))
    return std::nullopt;

  GraphData graph;
  graph.YMin = 1e38;
  graph.YMax = -1e38;
  for (long long k = 0; k < points; ++k) {
    const CurrentSample& s = list[static_cast<std::size_t>(first - 1 + k * stride)];
    GraphPoint p;
    p.Position = choice.Jx ? s.X : s.Y;
    p.HalfLength = (choice.Jx ? s.Dx : s.Dy) / 2;
    p.Value = ValueOf(s, choice.Jx, quantity);
    graph.YMin = std::min(graph.YMin, p.Value);
    graph.YMax = std::max(graph.YMax, p.Value);
    graph.Points.push_back(p);
  }
  graph.XMin = graph.Points.front().Position - graph.Points.front().HalfLength;
  graph.XMax = graph.Points.back().Position + graph.Points.back().HalfLength;
  return graph;
}

GraphFrame FrameOf(const GraphData& graph, int width, int height) {
  GraphFrame f;
  f.Right = width - 50;
  f.Bottom = height - 50;
  f.Ky = graph.YMax != graph.YMin ? (f.Bottom - f.Top) / (graph.YMax - graph.YMin) : 0.0;
  f.Kx = graph.XMax != graph.XMin ? (f.Right - f.Left) / (graph.XMax - graph.XMin) : 0.0;
  return f;
}

GraphPixelPoint GraphPixel(const GraphFrame& frame, const GraphData& graph, const GraphPoint& p) {
  return {static_cast<int>(std::nearbyint((p.Position - graph.XMin) * frame.Kx + frame.Left)),
          static_cast<int>(std::nearbyint(frame.Bottom - (p.Value - graph.YMin) * frame.Ky))};
}

void IncludeZero(GraphData& graph, GraphQuantity quantity) {
  if (quantity == GraphQuantity::Phase || graph.Points.empty()) return;
  graph.YMin = std::min(graph.YMin, 0.0);
  graph.YMax = std::max(graph.YMax, 0.0);
}

std::string GraphXAxisTitle(const GraphChoice& choice) {
  return choice.Jx ? "x [mm]" : "y [mm]";
}

std::string GraphYAxisTitle(const GraphChoice& choice, GraphQuantity quantity) {
  const std::string j = choice.Jx ? "Jx" : "Jy";
  switch (quantity) {
    case GraphQuantity::Amplitude: return "|" + j + "| [A/m]";
    case GraphQuantity::Phase: return "Phase of " + j + " [deg]";
    case GraphQuantity::Real: return "Re " + j + " [A/m]";
    case GraphQuantity::Imaginary: return "Im " + j + " [A/m]";
    case GraphQuantity::TotalCurrent: return std::string("|I") + (choice.Jx ? "x" : "y") + "| [A]";
  }
  return {};
}

std::string TitleWithFrequency(const std::string& title, const std::string& frequencyText) {
  return title + " at " + frequencyText + " MHz";
}

std::string GraphXText(double value) { return FormatListFixed(value, 4, 2); }
std::string GraphYText(double value) { return FormatListExponent(value, 3, 2); }

GraphTitle TitleOf(const GraphChoice& choice, GraphQuantity quantity) {
  const std::string axis = choice.Jx ? "x" : "y";
  std::string text;
  int offset = 0;
  if (quantity == GraphQuantity::TotalCurrent) {
    text = "I" + axis + "-current [A] in segment ";
    offset = 50;
  } else if (quantity == GraphQuantity::Phase) {
    text = "J" + axis + "-current phase in segment ";
    offset = 70;
  } else {
    text = "J" + axis + "-current [A/m] in segment ";
    offset = 70;
  }
  text += std::to_string(choice.Segment);
  if (choice.Row != 0) {
    text += ", Row " + std::to_string(choice.Row);
    offset += 50;
  }
  return {text, offset};
}

std::string PrintedTitle(const GraphChoice& choice, GraphQuantity quantity) {
  std::string title = TitleOf(choice, quantity).Text;
  if (quantity == GraphQuantity::Real) title += " (Real-part)";
  if (quantity == GraphQuantity::Imaginary) title += " (Imaginary-part)";
  return title;
}

std::string PrintedSourceLine(const std::string& frequencyText, const std::string& projectFile) {
  return "Frequency: " + frequencyText + " MHz" + " ;  " + "Source file: " + projectFile;
}

std::optional<std::string> GraphReadout(const GraphFrame& frame, const GraphData& graph, int x,
                                        int y) {
  if (frame.Kx * frame.Ky == 0.0) return std::nullopt;
  if (x <= frame.Left || x >= frame.Right || y <= frame.Top || y >= frame.Bottom)
    return std::nullopt;
  const double gx = (x - frame.Left) / frame.Kx + graph.XMin;
  const double gy = graph.YMin + (frame.Bottom - y) / frame.Ky;
  return "X=" + FormatListFixed(gx, 5, 2) + "   Y=" + FormatListExponent(gy, 3, 2) + "      ";
}

}  // namespace lumetra

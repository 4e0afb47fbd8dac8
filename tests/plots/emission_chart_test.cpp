// The emission chart as SVG and PNG: which lines are red, where the limit line
// runs, and that the drawing maps frequency and level where the axes say.
#include "plots/emission_chart.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QString>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "model/file_io.h"
#include "tests/plots/emission_result_fixture.h"
#include "tests/support/error_text.h"
#include "tests/support/expect_values.h"
#include "tests/support/temp_dir.h"

using namespace lumetra;
using namespace lumetra::emission;
using lumetra::emission::testing::ClassB3m;
using lumetra::emission::testing::HandMadeResult;

namespace {

// A stroked polyline of the SVG with the colour of the group around it.
struct SvgPolyline {
  std::string Stroke;
  std::vector<QPointF> Points;
};

std::string Hex(unsigned rgb) {
  char text[8];
  std::snprintf(text, sizeof text, "#%06x", rgb);
  return text;
}

// Qt's SVG writer puts every change of pen into a <g> element; the polylines
// after it are drawn with that pen until the next one.
std::vector<SvgPolyline> Polylines(const std::string& svg) {
  std::vector<SvgPolyline> found;
  std::string stroke;
  const std::regex element(R"(<(g|polyline)\b[^>]*>)");
  const std::regex strokeAttribute(R"(\bstroke="([^"]*)\")");
  const std::regex pointsAttribute(R"(\bpoints="([^"]*)\")");
  for (auto it = std::sregex_iterator(svg.begin(), svg.end(), element); it != std::sregex_iterator(); ++it) {
    const std::string tag = it->str();
    std::smatch match;
    if ((*it)[1] == "g") {
      if (std::regex_search(tag, match, strokeAttribute)) stroke = match[1];
      continue;
    }
    SvgPolyline line{stroke, {}};
    if (std::regex_search(tag, match, pointsAttribute)) {
      std::string points = match[1];
      std::replace(points.begin(), points.end(), ',', ' ');
      std::istringstream in(points);
      double x = 0, y = 0;
      while (in >> x >> y) line.Points.emplace_back(x, y);
    }
    found.push_back(line);
  }
  return found;
}

std::vector<SvgPolyline> WithStroke(const std::vector<SvgPolyline>& all, unsigned rgb) {
  std::vector<SvgPolyline> picked;
  for (const SvgPolyline& line : all)
    if (line.Stroke == Hex(rgb)) picked.push_back(line);
  return picked;
}

// The y of a polyline at x, on the first piece that spans x (vertical steps skipped).
std::optional<double> PolylineYAt(const std::vector<SvgPolyline>& pieces, double x) {
  for (const SvgPolyline& piece : pieces)
    for (std::size_t i = 1; i < piece.Points.size(); ++i) {
      const QPointF a = piece.Points[i - 1], b = piece.Points[i];
      if (b.x() - a.x() < 1e-9 || x < a.x() || x > b.x()) continue;
      return a.y() + (x - a.x()) / (b.x() - a.x()) * (b.y() - a.y());
    }
  return std::nullopt;
}

std::string SvgOf(const EmissionResult& result, const LimitLine* limit, std::optional<double> stop = std::nullopt) {
  lumetra::testing::TempDir dir;
  WriteEmissionChartSvg((dir / "chart.svg").string(), result, limit, stop);
  return lumetra::testing::ReadBytes(dir / "chart.svg");
}

const QRectF FullChart(0, 0, DefaultChartWidth, DefaultChartHeight);

}  // namespace

TEST(EmissionChart, FailingLinesAreRedAndOnlyThey) {
  const LimitLine limit = ClassB3m();
  // Fails at 100 (45 > 40), 175 (43.2 > 40) and 900 MHz (50 > 47); passes at 30 and
  // 450 MHz; exactly at the limit at 230 MHz (the lower value, 40, applies at the edge)
  // and 500 MHz, which passes with a margin of 0.
  const EmissionResult result = HandMadeResult(
      &limit, {{30, 20}, {100, 45}, {175, 43.2}, {230, 40}, {450, 30}, {500, 47}, {900, 50}});
  ASSERT_FALSE(result.Passed());
  const std::vector<SvgPolyline> all = Polylines(SvgOf(result, &limit, 1000.0));
  const auto red = WithStroke(all, FailingLineRgb);
  const auto blue = WithStroke(all, PassingLineRgb);
  ASSERT_EQ(red.size(), 3u);
  EXPECT_EQ(blue.size(), 4u);
  EXPECT_TRUE(WithStroke(all, UnlimitedLineRgb).empty());

  // The red ones stand exactly where 100, 175 and 900 MHz lie on the axis.
  const EmissionChartFrame frame = EmissionChartFrameFor(FullChart, result, &limit, 1000.0);
  std::vector<double> redX;
  for (const SvgPolyline& stem : red) {
    ASSERT_EQ(stem.Points.size(), 2u);
    EXPECT_NEAR(stem.Points[0].x(), stem.Points[1].x(), 1e-3);  // vertical
    EXPECT_NEAR(std::max(stem.Points[0].y(), stem.Points[1].y()), frame.Plot.bottom(), 0.01);
    redX.push_back(stem.Points[0].x());
  }
  std::sort(redX.begin(), redX.end());
  lumetra::testing::ExpectNear(redX, {frame.XOf(100), frame.XOf(175), frame.XOf(900)}, 0.01);
}

TEST(EmissionChart, ALineAtTheLimitTouchesTheLimitLine) {
  const LimitLine limit = ClassB3m();
  const EmissionResult result = HandMadeResult(&limit, {{100, 40}, {500, 47}, {700, 20}});
  const std::vector<SvgPolyline> all = Polylines(SvgOf(result, &limit, 1000.0));
  const auto limitPieces = WithStroke(all, LimitLineRgb);
  ASSERT_EQ(limitPieces.size(), 1u);  // 40 and 47 join with a step at 230 MHz
  const auto stems = WithStroke(all, PassingLineRgb);
  ASSERT_EQ(stems.size(), 3u);
  const EmissionChartFrame frame = EmissionChartFrameFor(FullChart, result, &limit, 1000.0);
  for (const SvgPolyline& stem : stems) {
    const double x = stem.Points[0].x();
    const double top = std::min(stem.Points[0].y(), stem.Points[1].y());
    const auto limitY = PolylineYAt(limitPieces, x);
    ASSERT_TRUE(limitY);
    if (x < frame.XOf(600))
      EXPECT_NEAR(top, *limitY, 0.01) << "stem at x " << x;  // 100 and 500 MHz sit on the limit
    else
      EXPECT_GT(top, *limitY + 100.0);  // 27 dB under it
  }
  // The step at 230 MHz: the line is 40 dB up to there and 47 dB after.
  // The limit runs from the axis start to the stop frequency.
  lumetra::testing::ExpectNear({*PolylineYAt(limitPieces, frame.XOf(229)), *PolylineYAt(limitPieces, frame.XOf(231)),
                                limitPieces[0].Points.front().x(), limitPieces[0].Points.back().x()},
                               {frame.YOf(40), frame.YOf(47), frame.Plot.left(), frame.Plot.right()}, 0.01);
}

TEST(EmissionChart, SlopedLimitIsStraightInLogFrequency) {
  // A limit falling from 60 to 40 dBuV/m between 30 and 300 MHz: one decade, so
  // at 94.87 MHz (the geometric middle) it reads 50.
  const LimitLine limit =
      ParseLimitText("distance_m, 3\ndetector, peak\n30, 300, 60, 40\n300, 1000, 40\n", "slope.csv");
  const double middle = std::sqrt(30.0 * 300.0);
  ASSERT_NEAR(*LimitAt(limit, middle), 50.0, 1e-9);
  const EmissionResult result = HandMadeResult(&limit, {{middle, 50.0}, {60, 20}});
  const std::vector<SvgPolyline> all = Polylines(SvgOf(result, &limit, 1000.0));
  const auto limitPieces = WithStroke(all, LimitLineRgb);
  const auto stems = WithStroke(all, PassingLineRgb);
  ASSERT_EQ(stems.size(), 2u);
  const EmissionChartFrame frame = EmissionChartFrameFor(FullChart, result, &limit, 1000.0);
  bool touched = false;
  for (const SvgPolyline& stem : stems) {
    if (std::abs(stem.Points[0].x() - frame.XOf(middle)) > 0.01) continue;
    EXPECT_NEAR(std::min(stem.Points[0].y(), stem.Points[1].y()), *PolylineYAt(limitPieces, stem.Points[0].x()), 0.01);
    EXPECT_NEAR(std::min(stem.Points[0].y(), stem.Points[1].y()), frame.YOf(50), 0.01);
    touched = true;
  }
  EXPECT_TRUE(touched);
}

TEST(EmissionChart, LimitMovesToTheResultsDistance) {
  // A 3 m limit on a 10 m result is 20 log10(3/10) = -10.46 dB lower.
  const LimitLine limit = ClassB3m();
  const LimitLine moved = ChartLimit(limit, 10.0);
  EXPECT_NEAR(*LimitAt(moved, 100), 40.0 + 20 * std::log10(0.3), 1e-9);
  const EmissionResult result = HandMadeResult(&moved, {{100, 20}}, 10.0);
  const auto pieces = WithStroke(Polylines(SvgOf(result, &limit, 1000.0)), LimitLineRgb);
  const EmissionChartFrame frame = EmissionChartFrameFor(FullChart, result, &limit, 1000.0);
  EXPECT_NEAR(*PolylineYAt(pieces, frame.XOf(100)), frame.YOf(40.0 - 10.4576), 0.02);
  // At its own distance nothing moves.
  EXPECT_EQ(*LimitAt(ChartLimit(limit, 3.0), 100), 40.0);
}

TEST(EmissionChart, AxesCoverLinesAndLimit) {
  const LimitLine limit = ClassB3m();
  // A 25 MHz fundamental lies below 30 MHz: the axis starts lower, at a round value.
  EmissionResult result = HandMadeResult(&limit, {{25, 62}, {75, 18}, {975, -30}});
  EmissionChartFrame frame = EmissionChartFrameFor(FullChart, result, &limit);
  EXPECT_LE(frame.MinMHz, 25.0);
  EXPECT_GE(frame.MinMHz, 10.0);
  EXPECT_EQ(frame.MaxMHz, 1000.0);  // the highest line rounded up
  EXPECT_GE(frame.MaxDbuvM, 62.0 + 5.0);
  EXPECT_LE(frame.MinDbuvM, -30.0);
  EXPECT_EQ(std::fmod(frame.MaxDbuvM, 10.0), 0.0);
  // Given a stop frequency, the axis ends there.
  frame = EmissionChartFrameFor(FullChart, result, &limit, 3000.0);
  EXPECT_EQ(frame.MaxMHz, 3000.0);
  // The mapping: log in frequency, linear in level, y growing downwards.
  lumetra::testing::ExpectNear(
      {frame.XOf(frame.MinMHz), frame.XOf(frame.MaxMHz), frame.XOf(3000) - frame.XOf(300), frame.YOf(frame.MinDbuvM),
       frame.YOf(frame.MaxDbuvM)},
      {frame.Plot.left(), frame.Plot.right(), frame.XOf(300) - frame.XOf(30), frame.Plot.bottom(), frame.Plot.top()},
      1e-9);
  // A line 200 dB down does not stretch the axis beyond 100 dB.
  result = HandMadeResult(&limit, {{100, 45}, {200, -160}});
  frame = EmissionChartFrameFor(FullChart, result, &limit);
  EXPECT_LE(frame.MaxDbuvM - frame.MinDbuvM, 100.0);
  // Nothing at all still gives a usable frame.
  frame = EmissionChartFrameFor(FullChart, EmissionResult{}, nullptr);
  EXPECT_GT(frame.MaxMHz, frame.MinMHz);
  EXPECT_GT(frame.MaxDbuvM, frame.MinDbuvM);
}

TEST(EmissionChart, WithoutALimitLinesAreGrey) {
  const EmissionResult result = HandMadeResult(nullptr, {{50, 30}, {150, 41.26}});
  const auto all = Polylines(SvgOf(result, nullptr));
  EXPECT_EQ(WithStroke(all, UnlimitedLineRgb).size(), 2u);
  EXPECT_TRUE(WithStroke(all, FailingLineRgb).empty() && WithStroke(all, LimitLineRgb).empty());
  EXPECT_NE(SvgOf(result, nullptr).find("<desc>NO LIMIT: highest level 41.26 dBuV/m at 150 MHz</desc>"),
            std::string::npos);
}

TEST(EmissionChart, TitleAndVerdict) {
  const LimitLine limit = ClassB3m();
  EmissionResult result = HandMadeResult(&limit, {{75, 30}, {175, 43.2}, {500, 46}});
  EXPECT_EQ(EmissionChartTitle(result), "Radiated emission at 3 m, semi-anechoic site, limit cispr32-b-3m");
  // The chart writes the verdict of the terminal and the report, word for word.
  const std::string svg = SvgOf(result, &limit);
  EXPECT_NE(svg.find("<desc>FAIL: worst margin -3.20 dB at 175 MHz</desc>"), std::string::npos);
  EXPECT_NE(svg.find(">FAIL: worst margin -3.20 dB at 175 MHz<"), std::string::npos);
  result = HandMadeResult(&limit, {{33.3333333, 30}}, 10.0, "free");
  EXPECT_EQ(EmissionChartTitle(result), "Radiated emission at 10 m, free-space site, limit cispr32-b-3m");
  EXPECT_NE(SvgOf(result, &limit).find(">PASS: worst margin 10.00 dB at 33.3333 MHz<"), std::string::npos);
  EXPECT_NE(SvgOf(EmissionResult{}, nullptr).find(">NO LINES: nothing was computed<"), std::string::npos);
}

TEST(EmissionChart, PngHasTheSizeAndRedWhereALineFails) {
  const LimitLine limit = ClassB3m();
  const EmissionResult result = HandMadeResult(&limit, {{100, 45}, {500, 30}});
  lumetra::testing::TempDir dir;
  const std::string path = (dir / "chart.png").string();
  WriteEmissionChartPng(path, result, &limit, 1000.0);
  QImage image;
  ASSERT_TRUE(image.load(QString::fromStdString(path)));
  EXPECT_EQ(image.size(), QSize(1200, 700));
  const EmissionChartFrame frame = EmissionChartFrameFor(FullChart, result, &limit, 1000.0);
  const auto pixel = [&](double f, double level) {
    return image.pixelColor(static_cast<int>(std::floor(frame.XOf(f))), static_cast<int>(frame.YOf(level)));
  };
  const QColor failing = pixel(100, 35), passing = pixel(500, 25), above = pixel(100, 47);
  EXPECT_GT(failing.red(), 180);
  EXPECT_LT(failing.green(), 90);
  EXPECT_GT(passing.blue(), 150);
  EXPECT_LT(passing.red(), 90);
  // The stem ends at its level: above it only the grey of the 100 MHz grid line.
  EXPECT_EQ(above.red(), above.green());
  EXPECT_GT(above.red(), 180);
  // Another size when asked.
  WriteEmissionChartPng(path, result, &limit, 1000.0, 640, 400);
  ASSERT_TRUE(image.load(QString::fromStdString(path)));
  EXPECT_EQ(image.size(), QSize(640, 400));
}

TEST(EmissionChart, UnwritableFileIsAFileErrorAndNothingIsLeft) {
  const LimitLine limit = ClassB3m();
  const EmissionResult result = HandMadeResult(&limit, {{100, 45}});
  lumetra::testing::TempDir dir;
  const std::string path = (dir / "missing-folder" / "chart.svg").string();
  EXPECT_PRED2(lumetra::testing::Holds,
               lumetra::testing::ErrorText<FileError>([&] { WriteEmissionChartSvg(path, result, &limit); }), path);
  EXPECT_THROW(WriteEmissionChartPng((dir / "missing-folder" / "chart.png").string(), result, &limit), FileError);
  EXPECT_FALSE(std::filesystem::exists(dir / "missing-folder"));
}

// The one-page emission report: its texts line by line, and the PDF it makes.
#include "plots/emission_report.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <QProcess>
#include <QStandardPaths>
#include <string>
#include <tuple>

#include "model/file_io.h"
#include "plots/emission_text.h"
#include "tests/plots/emission_result_fixture.h"
#include "tests/support/error_text.h"
#include "tests/support/temp_dir.h"

using namespace lumetra;
using namespace lumetra::emission;
using lumetra::emission::testing::ClassB3m;
using lumetra::emission::testing::HandMadeResult;

namespace {

// A 60 mm trace across a 80 x 40 mm board, a source at its left end.
Project SmallBoard() {
  Project project;
  project.ProjectFile = "/somewhere/clock-trace.PRO";
  project.PcbLx = 80;
  project.PcbLy = 40;
  project.Segments.push_back({40.0, 20.0, 60.0, 2.0, 30, 1});
  VoltageSource source;
  source.X = 11.0;
  source.Y = 20.0;
  source.Dx = 2.0;
  source.Dy = 2.0;
  source.ReV = 1.0;
  source.ElementNo = 1;
  project.VoltageSources.push_back(source);
  return project;
}

EmissionRequest ClockRequest() {
  EmissionRequest request;
  TrapezoidWaveform clock;
  clock.AmplitudeV = 3.3;
  clock.FundamentalMHz = 25.0;
  clock.RiseNs = 1.0;
  request.Signals = {clock};
  request.StopMHz = 1000.0;
  request.Site.Kind = SiteKind::SemiAnechoic;
  request.Site.DistanceM = 3.0;
  request.Limit = ClassB3m();
  return request;
}

// Twelve lines, 25 to 300 MHz; 100 MHz is the worst (-5 dB), 175 MHz the next (-3.2 dB).
EmissionResult TwelveLines() {
  const LimitLine limit = ClassB3m();
  EmissionResult result = HandMadeResult(&limit, {{25, 60}, {50, 30}, {75, 38}, {100, 45}, {125, 20}, {150, 25},
                                                 {175, 43.2}, {200, 10}, {225, 39.5}, {250, 44}, {275, 12}, {300, 30}});
  result.Notes = {"The field is the sum of the exact fields of the solved current elements as short dipoles in air.",
                  "Levels are RMS readings: 20 log10(|E| / sqrt(2) / 1 uV/m)."};
  return result;
}

// The text of a PDF through pdftotext; empty when the tool is not installed.
std::string PdfText(const std::string& path) {
  const QString tool = QStandardPaths::findExecutable("pdftotext");
  if (tool.isEmpty()) return {};
  QProcess process;
  process.start(tool, {"-layout", QString::fromStdString(path), "-"});
  process.waitForFinished(30000);
  // The extractor gives the font's ligatures as single characters.
  return QString::fromUtf8(process.readAllStandardOutput())
      .replace(QChar(0xFB01), "fi")
      .replace(QChar(0xFB02), "fl")
      .toStdString();
}

}  // namespace

TEST(EmissionReportText, SaysWhatWasRunAndWhatFailed) {
  const EmissionReportText text = BuildEmissionReportText(SmallBoard(), ClockRequest(), TwelveLines(), "2026-12-07 11:54");
  EXPECT_EQ(std::tie(text.Title, text.ProjectLine, text.DateLine, text.Verdict),
            std::make_tuple("Radiated-emission report", "Project: clock-trace.PRO", "Date: 2026-12-07 11:54",
                            "FAIL: worst margin -5.00 dB at 100 MHz"));
  const std::vector<std::string> expectedSettings = {
      "Site: semi-anechoic (open-area test site), board 0.8 m above a conducting floor, antenna 1 to 4 m high, "
      "turntable through 360 deg, horizontal and vertical polarisation",
      "Distance: 3 m",
      "Limit: cispr32-b-3m",
      "Stop frequency: 1000 MHz, 12 lines computed",
      "Source 1: trapezoid 3.3 V, 25 MHz, rise 1 ns, fall 1 ns, duty 0.5"};
  EXPECT_EQ(text.Settings, expectedSettings);
  EXPECT_EQ(text.Notes.size(), 2u);

  // The ten worst, worst first; 25 MHz lies below the limit's range and has no margin.
  ASSERT_EQ(text.Worst.size(), 10u);
  EXPECT_EQ(text.Worst[0], (EmissionTableRow{"100", "45.00", "40.00", "-5.00", "1", "1.25 m, 45 deg, horizontal"}));
  EXPECT_EQ(EmissionTableHeader("sac")[5] + "|" + EmissionTableHeader("free")[5],
            "Maximum at\n(height, turntable, pol.)|Maximum at\n(direction)");
  std::vector<std::string> order;
  for (const EmissionTableRow& row : text.Worst) order.push_back(row[0] + ":" + row[3]);
  EXPECT_EQ(order, (std::vector<std::string>{"100:-5.00", "175:-3.20", "225:0.50", "75:2.00", "250:3.00", "50:10.00",
                                             "150:15.00", "300:17.00", "125:20.00", "200:30.00"}));
}

TEST(EmissionReportText, PassNoLimitAndOtherSignals) {
  const LimitLine limit = ClassB3m();
  EmissionRequest request = ClockRequest();
  EmissionResult result = HandMadeResult(&limit, {{100, 40}, {500, 30}});
  EXPECT_EQ(BuildEmissionReportText(SmallBoard(), request, result, "d").Verdict, "PASS: worst margin 0.00 dB at 100 MHz");
  result.Aborted = true;
  EXPECT_EQ(BuildEmissionReportText(SmallBoard(), request, result, "d").Verdict,
            "PASS: worst margin 0.00 dB at 100 MHz (the run was aborted; only the lines computed are shown)");

  request.Limit.reset();
  request.Site = SiteSettings{};
  request.Site.UpperHemisphereOnly = true;
  request.Signals = {ConstantDrive{{1.0, -0.5}}, DriveLineList{{{25, {1.0, 0}}, {75, {0.5, 0}}}}};
  result = HandMadeResult(nullptr, {{25, 20}, {75, 33.35}}, 10.0, "free");
  const EmissionReportText text = BuildEmissionReportText(SmallBoard(), request, result, "d");
  EXPECT_EQ(text.Verdict, "NO LIMIT: highest level 33.35 dBuV/m at 75 MHz");
  EXPECT_EQ(std::tie(text.Settings[0], text.Settings[1], text.Settings[2], text.Settings[4], text.Settings[5]),
            std::make_tuple("Site: free space, largest |E| over the upper hemisphere", "Distance: 10 m", "Limit: none",
                            "Source 1: constant 1-0.5j V at every frequency",
                            "Source 2: lines from a file: 2 lines, 25 to 75 MHz"));
  // Without margins the table lists the highest lines first.
  ASSERT_EQ(text.Worst.size(), 2u);
  EXPECT_EQ(std::tie(text.Worst[0][0], text.Worst[0][3], text.Worst[0][5]),
            std::make_tuple("75", "-", "theta 0, phi 45 deg"));
}

TEST(EmissionReport, PdfPageWithVerdictChartAndTable) {
  lumetra::testing::TempDir dir;
  const std::string path = (dir / "report.pdf").string();
  WriteEmissionReportPdf(path, SmallBoard(), ClockRequest(), TwelveLines());
  const std::string bytes = lumetra::testing::ReadBytes(path);
  ASSERT_GT(bytes.size(), 10000u);
  EXPECT_EQ(bytes.substr(0, 5), "%PDF-");
  EXPECT_NE(bytes.find("%%EOF"), std::string::npos);
  const std::string text = PdfText(path);
  if (text.empty()) GTEST_SKIP() << "pdftotext is not installed";
  for (const char* expected : {"Radiated-emission report", "FAIL: worst margin -5.00 dB at 100 MHz", "clock-trace.PRO",
                               "Limit: cispr32-b-3m", "The ten worst margins",
                               "How the field is obtained", "Levels are RMS readings"})
    EXPECT_NE(text.find(expected), std::string::npos) << expected << "\n" << text;
  // One page.
  EXPECT_EQ(text.find('\f'), text.size() - 1) << text;
}

TEST(EmissionReport, UnwritableFileIsAFileError) {
  lumetra::testing::TempDir dir;
  const std::string path = (dir / "no-such-folder" / "report.pdf").string();
  EXPECT_PRED2(lumetra::testing::Holds, lumetra::testing::ErrorText<FileError>([&] {
                 WriteEmissionReportPdf(path, SmallBoard(), ClockRequest(), TwelveLines());
               }), path);
}

TEST(EmissionReport, BoardPictureShowsTheTraceAndTheSource) {
  QImage image(400, 200, QImage::Format_RGB32);
  image.fill(Qt::gray);
  {
    QPainter painter(&image);
    DrawBoardPicture(painter, QRectF(0, 0, 400, 200), SmallBoard());
  }
  // 5 pixels per mm: the board fills the image, the trace runs along y = 20 mm
  // (pixel row 100) from x = 10 to 70 mm, the source (blue) sits at x = 11 mm.
  EXPECT_TRUE(image.pixelColor(5, 5) == Qt::white && image.pixelColor(200, 40) == Qt::white);
  const QColor source = image.pixelColor(51, 97);  // beside its white number
  EXPECT_GT(source.blue(), 180);
  EXPECT_LT(source.red(), 80);
  // An empty project draws nothing.
  image.fill(Qt::gray);
  {
    QPainter painter(&image);
    DrawBoardPicture(painter, QRectF(0, 0, 400, 200), Project{});
  }
  EXPECT_EQ(image.pixelColor(200, 100), QColor(Qt::gray));
}

#include "cli/emission_graphics.h"

#include <cstdlib>
#include <memory>

#include <QGuiApplication>

#include "plots/emission_chart.h"
#include "plots/emission_report.h"

namespace lumetra::cli {

namespace {

// Fonts and painting need a QGuiApplication; a terminal (or a build server) has no
// display, so it draws off-screen unless the caller chose a platform.
std::unique_ptr<QGuiApplication> OffscreenApplication() {
  if (QGuiApplication::instance()) return nullptr;
  if (std::getenv("QT_QPA_PLATFORM") == nullptr) ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
  static int argc = 1;
  static char name[] = "lumetra-cli";
  static char* argv[] = {name, nullptr};
  return std::make_unique<QGuiApplication>(argc, argv);
}

}  // namespace

void WriteEmissionPictures(const EmissionPictures& pictures, const Project& project,
                           const emission::EmissionRequest& request,
                           const emission::EmissionResult& result) {
  const std::unique_ptr<QGuiApplication> application = OffscreenApplication();
  const emission::LimitLine* limit = request.Limit ? &*request.Limit : nullptr;
  if (pictures.Svg)
    emission::WriteEmissionChartSvg(pictures.Svg->string(), result, limit, request.StopMHz);
  if (pictures.Png)
    emission::WriteEmissionChartPng(pictures.Png->string(), result, limit, request.StopMHz);
  if (pictures.Report)
    emission::WriteEmissionReportPdf(pictures.Report->string(), project, request, result);
}

}  // namespace lumetra::cli

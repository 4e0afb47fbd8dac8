#include "cli/emission_graphics.h"

#include "cli/offscreen_application.h"
#include "plots/emission_chart.h"
#include "plots/emission_report.h"

namespace lumetra::cli {

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

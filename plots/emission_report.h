// The one-page radiated-emission report (PDF): title, project and date, the
// verdict with the worst margin, the board drawing, the settings, how the field
// was obtained, the chart and the ten worst lines. Works without a window (the
// offscreen platform will do); the texts come from BuildEmissionReportText.
#pragma once

#include "model/project.h"
#include "studies/emission/emission_run.h"

#include <QRectF>
#include <string>

class QPainter;

namespace lumetra::emission {

// Draws the board's segments, sources, loads and ground points with their numbers,
// as large as the rectangle allows with the board's proportions kept.
void DrawBoardPicture(QPainter& painter, const QRectF& area, const Project& project);

// Writes the report as an A4 PDF page; the date is today's. Throws FileError naming
// the file when it cannot be written (an existing file is then left as it was).
void WriteEmissionReportPdf(const std::string& path, const Project& project,
                            const EmissionRequest& request, const EmissionResult& result);

}  // namespace lumetra::emission

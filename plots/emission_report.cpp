#include "plots/emission_report.h"

#include <QBuffer>
#include <QDateTime>
#include <QFontMetricsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <algorithm>

#include "model/file_io.h"
#include "model/layout_drawing.h"
#include "plots/emission_chart.h"
#include "plots/emission_text.h"

namespace lumetra::emission {

namespace {

// The layout view's default colours, so the printed board looks like the screen.
QColor RoleColour(DrawRole role) {
  switch (role) {
    case DrawRole::Jx: return {255, 0, 0};
    case DrawRole::Jy: return {0, 128, 0};
    case DrawRole::VoltageSource: return {0, 0, 255};
    case DrawRole::GroundPoint: return {255, 200, 0};
    case DrawRole::Black:
    case DrawRole::Impedance: break;
  }
  return Qt::black;
}

void PaintSteps(QPainter& p, const std::vector<DrawStep>& steps, double labelPixels) {
  QFont font("DejaVu Sans");
  font.setPixelSize(std::max(6, static_cast<int>(labelPixels)));
  p.setFont(font);
  const QFontMetricsF metrics(font, p.device());
  for (const DrawStep& s : steps) {
    const QColor colour = RoleColour(s.Role);
    const QRectF box(QPointF(s.X1, s.Y1), QPointF(s.X2, s.Y2));
    switch (s.Kind) {
      case DrawKind::Outline:
        p.fillRect(box, Qt::white);
        p.setPen(QPen(Qt::black, 0));
        p.setBrush(Qt::NoBrush);
        p.drawRect(box);
        break;
      case DrawKind::FilledRect:
        p.setPen(QPen(Qt::black, 0));
        p.setBrush(colour);
        p.drawRect(box);
        break;
      case DrawKind::Ellipse:
        p.setPen(QPen(Qt::black, 0));
        p.setBrush(colour);
        p.drawEllipse(box);
        break;
      case DrawKind::Line:
        p.setPen(QPen(colour, 0));
        p.drawLine(QPointF(s.X1, s.Y1), QPointF(s.X2, s.Y2));
        break;
      case DrawKind::Pixel:
        break;  // snap-grid points would only grey the printed board
      case DrawKind::Text: {
        const QString label = QString::fromStdString(s.Label);
        p.setPen(s.WhiteText ? QColor(Qt::white) : colour);
        if (s.Centred) {
          const double width = metrics.horizontalAdvance(label), height = metrics.height();
          const QRectF place(s.X2 - width / 2, s.Y2 - height / 2, width, height);
          if (s.Backed) p.fillRect(place, Qt::white);
          p.drawText(place, Qt::AlignCenter | Qt::TextDontClip, label);
        } else {
          p.drawText(QRectF(s.X1, s.Y1, 1000, 1000), Qt::AlignLeft | Qt::AlignTop | Qt::TextDontClip, label);
        }
        break;
      }
    }
  }
}

// Draws text wrapped into the width from top; returns the height it took.
double Paragraph(QPainter& p, const QFont& font, double left, double top, double width,
                 const QString& text, const QColor& colour = Qt::black) {
  p.setFont(font);
  p.setPen(colour);
  const QRectF box(left, top, width, 1e6);
  const QRectF used = p.boundingRect(box, Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, text);
  p.drawText(box, Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, text);
  return used.height();
}

QFont PointFont(double points, bool bold = false) {
  QFont font("DejaVu Sans");
  font.setStyleHint(QFont::SansSerif);
  font.setPointSizeF(points);
  font.setBold(bold);
  return font;
}

void DrawTable(QPainter& p, double left, double top, double width, const std::vector<EmissionTableRow>& rows,
               const std::string& siteName) {
  static constexpr double share[6] = {0.13, 0.13, 0.13, 0.12, 0.11, 0.38};
  const QFont body = PointFont(8), head = PointFont(8, true);
  const double rowHeight = QFontMetricsF(body, p.device()).height() * 1.35;
  double y = top;
  // The header's words wrap onto two lines: the columns are as narrow as the numbers.
  const auto row = [&](const EmissionTableRow& cells, const QFont& font, bool shaded, double height) {
    if (shaded) p.fillRect(QRectF(left, y, width, height), QColor(242, 242, 242));
    p.setFont(font);
    double x = left;
    for (std::size_t i = 0; i < cells.size(); ++i) {
      const double w = share[i] * width;
      const bool failing = i == 3 && !cells[3].empty() && cells[3][0] == '-' && cells[3] != "-";
      p.setPen(failing ? QColor::fromRgb(static_cast<QRgb>(FailingLineRgb)) : QColor(Qt::black));
      p.drawText(QRectF(x + 0.3 * rowHeight, y, w - 0.6 * rowHeight, height),
                 (i == 5 ? Qt::AlignLeft : Qt::AlignRight) | Qt::AlignBottom | Qt::TextWordWrap,
                 QString::fromStdString(cells[i]));
      x += w;
    }
    y += height;
  };
  row(EmissionTableHeader(siteName), head, false, 2.0 * rowHeight);
  p.setPen(QPen(Qt::black, 0));
  p.drawLine(QPointF(left, y), QPointF(left + width, y));
  for (std::size_t i = 0; i < rows.size(); ++i) row(rows[i], body, i % 2 == 1, rowHeight);
  if (rows.empty()) row({"-", "-", "-", "-", "-", "no lines"}, body, false, rowHeight);
}

double TableHeight(QPainter& p, std::size_t rows) {
  return QFontMetricsF(PointFont(8), p.device()).height() * 1.35 * static_cast<double>(std::max<std::size_t>(rows, 1) + 2);
}

}  // namespace

void DrawBoardPicture(QPainter& painter, const QRectF& area, const Project& project) {
  if (project.PcbLx <= 0 || project.PcbLy <= 0 || area.width() <= 0 || area.height() <= 0) return;
  const double scale = std::min(area.width() / project.PcbLx, area.height() / project.PcbLy);
  Project plain = project;
  plain.ShowGridPoints = false;
  LayoutDisplay display;
  display.ShowSegmentNumbers = true;
  display.GroundNumberRise = static_cast<int>(std::max(5.0, area.height() / 40.0));
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing, true);
  // Centred in the area when the board's proportions leave room on one side.
  painter.translate(area.left() + (area.width() - scale * project.PcbLx) / 2,
                    area.top() + (area.height() - scale * project.PcbLy) / 2);
  PaintSteps(painter, DrawLayout(plain, display, scale), std::max(6.0, area.height() / 28.0));
  painter.restore();
}

void WriteEmissionReportPdf(const std::string& path, const Project& project, const EmissionRequest& request,
                            const EmissionResult& result) {
  const std::string date = QDateTime::currentDateTime().toString("yyyy-MM-dd HH:mm").toStdString();
  const EmissionReportText text = BuildEmissionReportText(project, request, result, date);

  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  {
    QPdfWriter pdf(&buffer);
    pdf.setResolution(300);
    pdf.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(15, 12, 15, 12),
                                  QPageLayout::Millimeter));
    pdf.setTitle(QString::fromStdString(text.Title));
    pdf.setCreator("Lumetra");
    QPainter p;
    if (!p.begin(&pdf)) throw FileError("Cannot write file \"" + path + "\". The report could not be drawn");
    const double width = pdf.width(), height = pdf.height();
    const double gap = QFontMetricsF(PointFont(9), &pdf).height();

    double y = 0.0;
    y += Paragraph(p, PointFont(16, true), 0, y, width, QString::fromStdString(text.Title));
    y += Paragraph(p, PointFont(9), 0, y, width,
                   QString::fromStdString(text.ProjectLine + "     " + text.DateLine));
    y += 0.4 * gap;
    const QColor verdictColour = result.Passed() ? QColor(20, 120, 40) : QColor::fromRgb(static_cast<QRgb>(FailingLineRgb));
    y += Paragraph(p, PointFont(14, true), 0, y, width, QString::fromStdString(text.Verdict), verdictColour);
    y += 0.6 * gap;

    // The board on the left, the settings beside it.
    const double boardWidth = width * 0.38, boardHeight = height * 0.2;
    DrawBoardPicture(p, QRectF(0, y, boardWidth, boardHeight), project);
    QString settings;
    for (const std::string& line : text.Settings) settings += QString::fromStdString(line) + "\n";
    const double settingsHeight =
        Paragraph(p, PointFont(9), boardWidth + gap, y, width - boardWidth - gap, settings.trimmed());
    y += std::max(boardHeight, settingsHeight) + 0.6 * gap;

    if (!text.Notes.empty()) {
      y += Paragraph(p, PointFont(9, true), 0, y, width, "How the field is obtained");
      QString notes;
      for (const std::string& note : text.Notes) notes += QString::fromStdString(note) + "\n";
      y += Paragraph(p, PointFont(8), 0, y, width, notes.trimmed()) + 0.6 * gap;
    }

    // The chart takes what the table leaves.
    const double tableHeight = TableHeight(p, text.Worst.size()) + 2.0 * gap;
    const double chartHeight = std::max(height * 0.25, height - y - tableHeight);
    DrawEmissionChart(p, QRectF(0, y, width, chartHeight), result, request.Limit ? &*request.Limit : nullptr,
                      request.StopMHz);
    y += chartHeight + 0.6 * gap;
    y += Paragraph(p, PointFont(9, true), 0, y, width,
                   result.WorstMarginDb ? "The ten worst margins" : "The ten highest lines");
    DrawTable(p, 0, y, width, text.Worst, result.SiteName);
    p.end();
  }
  WriteTextFile(path, std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
}

}  // namespace lumetra::emission

#include "plots/chart_file.h"

#include <QBuffer>
#include <QImage>
#include <QPainter>
#include <QSvgGenerator>

#include "model/file_io.h"

namespace lumetra {

namespace {

void WriteBytes(const std::string& path, const QByteArray& bytes) {
  WriteTextFile(path, std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
}

}  // namespace

void WriteChartSvg(const ChartFile& file, const ChartPainting& draw) {
  QBuffer buffer;
  buffer.open(QIODevice::WriteOnly);
  QSvgGenerator svg;
  svg.setOutputDevice(&buffer);
  svg.setSize(QSize(file.Width, file.Height));
  svg.setViewBox(QRect(0, 0, file.Width, file.Height));
  svg.setTitle(file.Title);
  if (!file.Description.isEmpty()) svg.setDescription(file.Description);
  QPainter painter;
  if (!painter.begin(&svg))
    throw FileError("Cannot write file \"" + file.Path + "\". The picture could not be drawn");
  draw(painter, QRectF(0, 0, file.Width, file.Height));
  painter.end();
  WriteBytes(file.Path, buffer.data());
}

void WriteChartPng(const ChartFile& file, const ChartPainting& draw) {
  QImage image(file.Width, file.Height, QImage::Format_RGB32);
  image.fill(Qt::white);
  {
    QPainter painter(&image);
    draw(painter, QRectF(0, 0, file.Width, file.Height));
  }
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  if (!image.save(&buffer, "PNG"))
    throw FileError("Cannot write file \"" + file.Path + "\". The picture could not be encoded");
  WriteBytes(file.Path, bytes);
}

}  // namespace lumetra

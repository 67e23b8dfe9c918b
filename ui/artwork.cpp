#include "ui/artwork.h"

#include <QDirIterator>
#include <QPainter>
#include <QPainterPath>

namespace tervela {
namespace {

const QColor kPaper(0xF7, 0xF3, 0xE6);
const QColor kGraticule(0x4A, 0x7B, 0xB5);
const QColor kGrid(0x9A, 0x9A, 0x9A);
const QColor kMeridian(0xB0, 0x20, 0x20);
const QColor kPoint(0x1E, 0x6B, 0x2F);

// Parallels as arcs and meridians converging towards the top, as a
// Transverse Mercator zone shows them around its central meridian.
void DrawGraticule(QPainter& painter, const QRectF& area) {
  const double centre = area.center().x();
  painter.setPen(QPen(kGraticule, 1.0));
  for (int i = 1; i <= 4; ++i) {
    const double y = area.top() + area.height() * i / 5.0;
    QPainterPath parallel;
    parallel.moveTo(area.left(), y + 6);
    parallel.quadTo(centre, y - 6, area.right(), y + 6);
    painter.drawPath(parallel);
  }
  for (int i = -3; i <= 3; ++i) {
    if (i == 0) continue;
    const double bottom = centre + i * area.width() / 7.0;
    const double top = centre + i * area.width() / 10.0;
    painter.drawLine(QPointF(top, area.top()), QPointF(bottom, area.bottom()));
  }
}

void DrawGrid(QPainter& painter, const QRectF& area, double step) {
  painter.setPen(QPen(kGrid, 1.0, Qt::DotLine));
  for (double x = area.left() + step; x < area.right(); x += step) {
    painter.drawLine(QPointF(x, area.top()), QPointF(x, area.bottom()));
  }
  for (double y = area.top() + step; y < area.bottom(); y += step) {
    painter.drawLine(QPointF(area.left(), y), QPointF(area.right(), y));
  }
}

void DrawPoint(QPainter& painter, QPointF at, double radius) {
  painter.setPen(QPen(kPoint, 1.5));
  painter.setBrush(Qt::NoBrush);
  painter.drawEllipse(at, radius, radius);
  painter.drawLine(at - QPointF(radius * 1.8, 0), at + QPointF(radius * 1.8, 0));
  painter.drawLine(at - QPointF(0, radius * 1.8), at + QPointF(0, radius * 1.8));
}

}  // namespace

QPixmap AboutPicture() {
  QPixmap picture(123, 98);
  picture.fill(kPaper);
  QPainter painter(&picture);
  painter.setRenderHint(QPainter::Antialiasing);
  const QRectF area(4, 4, 115, 90);
  DrawGrid(painter, area, 11.5);
  DrawGraticule(painter, area);
  painter.setPen(QPen(kMeridian, 2.0));
  painter.drawLine(QPointF(area.center().x(), area.top()), QPointF(area.center().x(), area.bottom()));
  DrawPoint(painter, QPointF(82, 40), 5);
  painter.setPen(QPen(kGraticule.darker(150), 1.0));
  painter.setBrush(Qt::NoBrush);
  painter.drawRect(area);
  return picture;
}

QIcon ProgramIcon() {
  QIcon icon;
  for (QDirIterator file(QStringLiteral(":/icons")); file.hasNext();) icon.addFile(file.next());
  return icon;
}

}  // namespace tervela

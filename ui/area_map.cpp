#include "ui/area_map.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

namespace tervela {

namespace {

constexpr double kMargin = 24;  // pixels around the view, room for the graticule's labels

// `longitude` moved by whole turns to lie at or after `west`.
double From(double west, double longitude) {
  while (longitude < west) longitude += 360;
  while (longitude >= west + 360) longitude -= 360;
  return longitude;
}

// The box's east bound counted on from its west bound.
double EastOf(const TGeographicBox& box) { return box.east >= box.west ? box.east : box.east + 360; }

}  // namespace

TAreaMap::TAreaMap(QWidget* parent) : QWidget(parent) {
  setFocusPolicy(Qt::StrongFocus);
  setMinimumSize(200, 160);
  setCursor(Qt::CrossCursor);
}

void TAreaMap::Show(const std::optional<TGeographicBox>& system, const std::optional<TGeographicBox>& three,
                    const std::optional<TGeographicBox>& seven, const std::optional<TGeographicPoint>& place) {
  system_ = system;
  three_ = three;
  seven_ = seven;
  place_ = place;
  // Around the system's area and the place: an operation's area may span a
  // continent, of which the map shows what lies near.
  const TGeographicBox around = system.value_or(three.value_or(TGeographicBox{-180, -90, 180, 90}));
  double west = around.west, east = EastOf(around), south = around.south, north = around.north;
  if (place) {
    const double longitude = From(west - 180 + (east - west) / 2, place->longitude);
    west = std::min(west, longitude);
    east = std::max(east, longitude);
    south = std::min(south, place->latitude);
    north = std::max(north, place->latitude);
  }
  const double grow_x = std::max(1.0, (east - west) / 2), grow_y = std::max(1.0, (north - south) / 2);
  view_ = {west - grow_x, std::max(-90.0, south - grow_y), east + grow_x, std::min(90.0, north + grow_y)};
  update();
}

QPointF TAreaMap::Drawn(const TGeographicPoint& point) const {
  // Equirectangular, longitudes shortened by the cosine of the middle latitude.
  const double squeeze = std::cos((view_.south + view_.north) / 2 * std::numbers::pi / 180);
  const double width = (view_.east - view_.west) * squeeze, height = view_.north - view_.south;
  const double scale = std::min((this->width() - 2 * kMargin) / width, (this->height() - 2 * kMargin) / height);
  const double left = (this->width() - width * scale) / 2, top = (this->height() - height * scale) / 2;
  // Longitudes within half a turn of the view's middle.
  const double longitude = From((view_.west + view_.east) / 2 - 180, point.longitude);
  return {left + (longitude - view_.west) * squeeze * scale,
          top + (view_.north - point.latitude) * scale};
}

QRectF TAreaMap::Drawn(const TGeographicBox& box) const {
  const QPointF north_west = Drawn(TGeographicPoint{box.north, box.west});
  const QPointF south_east = Drawn(TGeographicPoint{box.south, box.west});
  const double width = Drawn(TGeographicPoint{box.south, view_.west + 1}).x() -
                       Drawn(TGeographicPoint{box.south, view_.west}).x();
  return {north_west, QPointF(north_west.x() + width * (EastOf(box) - box.west), south_east.y())};
}

TGeographicPoint TAreaMap::Unwrapped(QPointF at) const {
  const QPointF origin = Drawn(TGeographicPoint{view_.north, view_.west});
  const QPointF unit = Drawn(TGeographicPoint{view_.north - 1, view_.west + 1}) - origin;
  return {view_.north - (at.y() - origin.y()) / unit.y(), view_.west + (at.x() - origin.x()) / unit.x()};
}

TGeographicPoint TAreaMap::Place(QPointF at) const {
  const TGeographicPoint place = Unwrapped(at);
  return {std::clamp(place.latitude, -90.0, 90.0), From(-180, place.longitude)};
}

void TAreaMap::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.fillRect(rect(), QColor(0xF4, 0xF7, 0xFA));
  painter.setClipRect(rect().adjusted(1, 1, -1, -1));

  // A graticule of at most about eight lines a side, labelled at the left and top.
  const TGeographicPoint north_west = Unwrapped(QPointF(0, 0));
  const TGeographicPoint south_east = Unwrapped(QPointF(width(), height()));
  const double span = std::max(south_east.longitude - north_west.longitude, north_west.latitude - south_east.latitude);
  double step = 30;
  for (const double candidate : {1.0, 2.0, 5.0, 10.0, 20.0}) {
    if (span / candidate <= 8) {
      step = candidate;
      break;
    }
  }
  painter.setPen(QPen(QColor(0xC8, 0xCE, 0xD6), 0));
  for (double latitude = std::ceil(std::max(-90.0, south_east.latitude) / step) * step;
       latitude <= std::min(90.0, north_west.latitude); latitude += step) {
    const double y = Drawn(TGeographicPoint{latitude, view_.west}).y();
    painter.drawLine(QPointF(0, y), QPointF(width(), y));
    painter.drawText(QPointF(2, y - 2), QString::fromStdString(PointText({latitude, 0})).section(' ', 0, 0));
  }
  for (double longitude = std::ceil(north_west.longitude / step) * step; longitude <= south_east.longitude;
       longitude += step) {
    const double x = Drawn(TGeographicPoint{view_.north, longitude}).x();
    painter.drawLine(QPointF(x, 0), QPointF(x, height()));
    painter.drawText(QPointF(x + 2, 12),
                     QString::fromStdString(PointText({0, From(-180, longitude)})).section(' ', 1, 1));
  }

  if (system_) painter.fillRect(Drawn(*system_), QColor(0xB0, 0xC4, 0xDE, 0xA0));
  if (three_) {
    painter.setPen(QPen(QColor(0x00, 0x50, 0xB0), 2));
    painter.drawRect(Drawn(*three_));
  }
  if (seven_) {
    painter.setPen(QPen(QColor(0xC0, 0x30, 0x00), 2, Qt::DashLine));
    painter.drawRect(Drawn(*seven_));
  }
  if (place_) {
    const QPointF at = Drawn(*place_);
    painter.setPen(QPen(Qt::black, 2));
    painter.drawLine(at - QPointF(6, 6), at + QPointF(6, 6));
    painter.drawLine(at - QPointF(6, -6), at + QPointF(6, -6));
  }
  if (hasFocus()) {
    painter.setClipping(false);
    painter.setPen(QPen(palette().highlight().color(), 0, Qt::DotLine));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
  }
}

void TAreaMap::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) emit placed(Place(event->position()));
  QWidget::mousePressEvent(event);
}

void TAreaMap::keyPressEvent(QKeyEvent* event) {
  // A twentieth of the view a press, from the place or the view's centre.
  const double step = std::max(view_.east - view_.west, view_.north - view_.south) / 20;
  TGeographicPoint place = place_.value_or(Centre(view_));
  switch (event->key()) {
    case Qt::Key_Left: place.longitude -= step; break;
    case Qt::Key_Right: place.longitude += step; break;
    case Qt::Key_Up: place.latitude = std::min(90.0, place.latitude + step); break;
    case Qt::Key_Down: place.latitude = std::max(-90.0, place.latitude - step); break;
    default: QWidget::keyPressEvent(event); return;
  }
  place.longitude = From(-180, place.longitude);
  emit placed(place);
}

}  // namespace tervela

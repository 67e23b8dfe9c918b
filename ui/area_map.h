#pragma once

#include <optional>

#include <QWidget>

#include "common/geographic_box.h"

namespace tervela {

// A plain map of areas of use: the system's area filled, the areas of the
// operations of the two shifts outlined (solid for the three-parameter
// shift, dashed for the seven), the place as a cross, on a graticule of
// latitudes and longitudes. A click, or the arrow keys, put the place.
class TAreaMap : public QWidget {
  Q_OBJECT
 public:
  explicit TAreaMap(QWidget* parent = nullptr);

  void Show(const std::optional<TGeographicBox>& system, const std::optional<TGeographicBox>& three,
            const std::optional<TGeographicBox>& seven, const std::optional<TGeographicPoint>& place);

 signals:
  // The place the user put.
  void placed(TGeographicPoint place);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  // The rectangle of the widget that `box` (longitudes counted on from the
  // view's west) takes.
  QRectF Drawn(const TGeographicBox& box) const;
  QPointF Drawn(const TGeographicPoint& point) const;
  // The latitude and longitude drawn at `at`, the longitude counted on from
  // the view's; Place as a place on the Earth.
  TGeographicPoint Unwrapped(QPointF at) const;
  TGeographicPoint Place(QPointF at) const;

  std::optional<TGeographicBox> system_, three_, seven_;
  std::optional<TGeographicPoint> place_;
  TGeographicBox view_{-180, -90, 180, 90};
};

}  // namespace tervela

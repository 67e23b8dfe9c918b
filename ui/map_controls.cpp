#include "ui/map_controls.h"

#include <QCheckBox>
#include <QDialog>
#include <QFileInfo>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QVBoxLayout>

#include "batch/map_output.h"
#include "ui/control_text.h"
#include "ui/look.h"

namespace tervela {

TMapControls::TMapControls(QWidget* page) : QObject(page) {
  CheckBox3 = new QCheckBox(QStringLiteral("Write map files"), page);
  CheckBox3->setObjectName(QStringLiteral("CheckBox3"));
  CheckBox3->setGeometry(16, 444, 137, 17);
  CheckBox3->setAccessibleName(QStringLiteral("Write map files"));
  CheckBox3->setAccessibleDescription(
      QStringLiteral("Convert File also writes the points as GeoJSON, as KML and as a picture "
                     "beside the output file"));
  Button9 = MakeButton(page, "Button9", {300, 440, 86, 25}, QStringLiteral("Show points"));
  Button9->setAccessibleName(QStringLiteral("Show points"));
  Button9->setAccessibleDescription(QStringLiteral("Shows the picture of the last map file run's points"));
  Button9->setEnabled(false);
  connect(Button9, &QPushButton::clicked, this, &TMapControls::ShowPicture);
}

void TMapControls::AddMapFiles(TFileConversion& request) {
  if (!CheckBox3->isChecked()) return;
  request.geojson_name = request.output_name + ".geojson";
  request.kml_name = request.output_name + ".kml";
  request.plot_name = request.output_name + ".png";
  before_run_ = QFileInfo(Text(request.plot_name)).lastModified();
}

QStringList TMapControls::ExistingMapFiles(const TFileConversion& request) {
  QStringList existing;
  for (const std::string& name : MapFileNames(request)) {
    const QString file = Text(name);
    if (QFileInfo::exists(file)) existing.append(file);
  }
  return existing;
}

void TMapControls::RunEnded(const TFileConversion& request) {
  const QString picture = Text(request.plot_name);
  if (picture.isEmpty()) return;
  const QFileInfo written(picture);
  if (!written.exists() || written.lastModified() == before_run_) return;
  picture_ = picture;
  Button9->setEnabled(true);
  if (window_ && window_->isVisible()) ShowPicture();
}

void TMapControls::ShowPicture() {
  if (!window_) {
    auto* owner = static_cast<QWidget*>(parent());
    window_ = new QDialog(owner->window());
    window_->setObjectName(QStringLiteral("PointsWindow"));
    image_ = new QLabel(window_);
    image_->setObjectName(QStringLiteral("PointsPicture"));
    image_->setAccessibleName(QStringLiteral("Picture of the last run's points"));
    image_->setFocusPolicy(Qt::StrongFocus);
    auto* layout = new QVBoxLayout(window_);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(image_);
  }
  window_->setWindowTitle(QStringLiteral("Points - ") + picture_);
  image_->setPixmap(QPixmap(picture_));
  image_->setAccessibleDescription(picture_);
  window_->show();
  window_->raise();
  window_->activateWindow();
}

}  // namespace tervela

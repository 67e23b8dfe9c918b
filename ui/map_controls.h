#pragma once

#include <QDateTime>
#include <QObject>
#include <QString>
#include <QStringList>

#include "batch/point_file_conversion.h"

class QCheckBox;
class QDialog;
class QLabel;
class QPushButton;
class QWidget;

namespace tervela {

// The Conversion page's map controls, below the Convert File row: a check
// box that has Convert File write map files beside the output
// (OUTPUT.geojson, OUTPUT.kml and the picture OUTPUT.png), and a button that
// shows the picture the last such run drew, in a window of its own that does
// not block the main one.
class TMapControls final : public QObject {
 public:
  explicit TMapControls(QWidget* page);

  QCheckBox* CheckBox3;  // "Write map files"
  QPushButton* Button9;  // "Show points", enabled once a run drew a picture

  // Sets the map file names of `request` when the box is checked, before
  // its run.
  void AddMapFiles(TFileConversion& request);
  // The map files of `request` that exist already, which its run would replace.
  static QStringList ExistingMapFiles(const TFileConversion& request);
  // After a run of `request`, whatever its end: its picture, if it drew one
  // (a picture file of that name left by an earlier run does not count), is
  // the one to show and replaces the one shown.
  void RunEnded(const TFileConversion& request);

  // The picture window, once shown.
  QDialog* PictureWindow() const { return window_; }

 private:
  void ShowPicture();

  QString picture_;  // the file of the last run's picture
  QDateTime before_run_;  // the time the picture file to be written had before the run, if any
  QDialog* window_ = nullptr;
  QLabel* image_ = nullptr;
};

}  // namespace tervela

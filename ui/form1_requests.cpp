#include <QCheckBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>

#include "batch/point_file_conversion.h"
#include "conversion/single_point.h"
#include "ui/form1.h"
#include "ui/map_controls.h"

namespace tervela {
namespace {

const std::string kIniFileName = "Tervela.ini";

std::string Bytes(const QString& text) { return text.toLocal8Bit().toStdString(); }
QString Text(const std::string& bytes) {
  return QString::fromLocal8Bit(bytes.data(), qsizetype(bytes.size()));
}
// A file name as the file system takes it.
std::string FileName(const QString& name) { return QFile::encodeName(name).toStdString(); }

// Writes a text only where it changed, so untouched fields keep their
// cursor and undo history.
template <class TControl>
void Show(TControl* control, const std::string& bytes) {
  const QString text = Text(bytes);
  if (control->text() != text) control->setText(text);
}

}  // namespace

// Convert Data. Written back also on an error: a bad Edit42 in the
// directions from WGS84 leaves a new Label27.
Status TForm1::BitBtn3Click() {
  TConversionPage page{
      .Edit39 = Bytes(Edit39->text()),
      .Edit40 = Bytes(Edit40->text()),
      .Edit41 = Bytes(Edit41->text()),
      .Edit42 = Bytes(Edit42->text()),
      .Edit45 = Bytes(Edit45->text()),
      .Edit46 = Bytes(Edit46->text()),
      .Label27 = Bytes(Label27->text()),
      .Label28 = Bytes(Label28->text()),
  };
  const Status status = ConvertData(CurrentDirection(), CurrentMethod(), SettingsTexts(),
                                    decimal_separator_, engine_, page);
  Show(Edit39, page.Edit39);
  Show(Edit40, page.Edit40);
  Show(Edit41, page.Edit41);
  Show(Edit42, page.Edit42);
  Show(Edit45, page.Edit45);
  Show(Edit46, page.Edit46);
  Show(Label27, page.Label27);
  Show(Label28, page.Label28);
  NameChangeReadouts();
  return status;
}

// Convert File: changes no control but the picture button; the alert sound
// tells of success, and nothing of a cancelled run.
Status TForm1::BitBtn2Click() {
  TFileConversion request{
      .direction = CurrentDirection(),
      .method = CurrentMethod(),
      .scripts = CheckBox2->isChecked(),
      .input_name = FileName(Edit11->text()),
      .output_name = FileName(Edit12->text()),
  };
  map_controls->AddMapFiles(request);
  const TFileRunEnd end = RunFileInBackground(request);
  map_controls->RunEnded(request);
  if (end.status.ok() && !end.cancelled) platform_.Beep();
  return end.status;
}

// Save settings.
Status TForm1::Button3Click() {
  const auto name = SaveDialog2.Execute(platform_);
  if (!name) return {};
  return WriteSettingsRecord(FileName(*name), SettingsTexts());
}

// Load settings: each edit is set as soon as its line is read.
Status TForm1::Button4Click() {
  const auto name = OpenDialog2.Execute(platform_);
  if (!name) return {};
  return ReadSettingsRecord(FileName(*name),
                            [this](int line, const std::string& text) { SetSettingsText(line, text); });
}

// Exit: the program ends only once the ini file is written.
Status TForm1::Button5Click() {
  if (Status status = WriteSettingsRecord(kIniFileName, SettingsTexts()); !status.ok()) {
    return status;
  }
  platform_.Quit();
  return {};
}

// Loads the ini file from the working directory.
Status TForm1::Button6Click() {
  return ReadSettingsRecord(kIniFileName,
                            [this](int line, const std::string& text) { SetSettingsText(line, text); });
}

}  // namespace tervela

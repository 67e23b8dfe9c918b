// tervela-screenshots FOLDER [CONTROL]: renders the three pages of the main
// window, the About box and the system dialog into FOLDER as PNG files, on any
// Qt platform (offscreen too), and with a control file the residual dialog of
// system A.
// The window reads "Tervela.ini" from the working directory as at a start; the
// Conversion page shows one converted point and a file run with map files,
// whose picture window is rendered as points.png.
#include <cstdio>

#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>

#include "ui/application_title.h"
#include "ui/control_check_dialog.h"
#include "ui/form1.h"
#include "ui/form2.h"
#include "ui/map_controls.h"
#include "ui/record_file_controls.h"
#include "ui/platform.h"
#include "ui/system_dialog.h"

namespace {

// Reports errors on standard error instead of a box nobody would close; every
// open dialog chooses the control file, if any.
class TConsolePlatform final : public tervela::TPlatform {
 public:
  explicit TConsolePlatform(QString control_file) : control_file_(std::move(control_file)) {}
  void ShowError(const QString& text) override {
    std::fprintf(stderr, "error box: %s\n", qPrintable(text));
  }
  std::optional<QString> OpenFile(const tervela::TFileDialogOptions&) override {
    if (control_file_.isEmpty()) return std::nullopt;
    return control_file_;
  }
  std::optional<QString> SaveFile(const tervela::TFileDialogOptions&) override { return std::nullopt; }
  std::optional<tervela::TProjectedSystem> ChooseSystem(const QString&, char) override {
    return std::nullopt;
  }
  // The pictures are made afresh each time.
  bool ConfirmReplace(const QStringList&) override { return true; }
  void Beep() override {}
  void Quit() override {}

 private:
  QString control_file_;
};

bool Save(QWidget& widget, const QString& path) {
  const bool saved = widget.grab().save(path);
  if (!saved) std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
  return saved;
}

}  // namespace

int main(int argc, char* argv[]) {
  QApplication application(argc, argv);
  QApplication::setApplicationName(tervela::kApplicationTitle);
  if (argc != 2 && argc != 3) {
    std::fprintf(stderr, "usage: tervela-screenshots FOLDER [CONTROL]\n");
    return 2;
  }
  const QDir folder(QString::fromLocal8Bit(argv[1]));

  TConsolePlatform platform(argc == 3 ? QString::fromLocal8Bit(argv[2]) : QString());
  tervela::TForm1 window(platform);
  window.show();
  window.Edit39->setText(QStringLiteral("45.815"));
  window.Edit40->setText(QStringLiteral("15.982"));
  window.BitBtn3->click();
  // A file run with map files, whose picture is shown too.
  window.Edit11->setText(QStringLiteral("wgs84-points.txt"));
  window.Edit12->setText(QStringLiteral("wgs84-points-a.txt"));
  window.map_controls->CheckBox3->setChecked(true);
  window.record_file_controls->CheckBox4->setChecked(true);
  window.record_file_controls->CheckBox5->setChecked(true);
  window.BitBtn2->click();
  window.map_controls->Button9->click();

  bool saved = true;
  const char* pages[] = {"conversion.png", "settings.png", "help.png"};
  for (int page = 0; page < 3; ++page) {
    window.PageControl1->setCurrentIndex(page);
    saved = Save(window, folder.filePath(QString::fromLatin1(pages[page]))) && saved;
  }
  tervela::TForm2 about(&window);
  about.show();
  saved = Save(about, folder.filePath(QStringLiteral("about.png"))) && saved;
  QDialog* const points = window.map_controls->PictureWindow();
  saved = points && Save(*points, folder.filePath(QStringLiteral("points.png"))) && saved;
  // The system dialog of "B from PROJ...", one of several matches shown at
  // a place (Sarajevo) whose operations it chose.
  tervela::TSystemDialog systems(QStringLiteral("system B"), '.', &window);
  systems.show();
  systems.Search(QStringLiteral("Balkans"));
  systems.Select(2);
  systems.SetPlace(QStringLiteral("43.86, 18.41"));
  saved = Save(systems, folder.filePath(QStringLiteral("system-dialog.png"))) && saved;
  if (argc == 3) {
    window.PageControl1->setCurrentIndex(1);
    window.ButtonCheckA->click();
    auto* dialog = window.findChild<tervela::TControlCheckDialog*>();
    saved = dialog != nullptr && Save(*dialog, folder.filePath(QStringLiteral("control-check.png"))) && saved;
  }
  return saved ? 0 : 1;
}

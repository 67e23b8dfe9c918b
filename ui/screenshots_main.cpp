// tervela-screenshots FOLDER: renders the three pages of the main window and
// the About box into FOLDER as PNG files, on any Qt platform (offscreen too).
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
#include "ui/form1.h"
#include "ui/form2.h"
#include "ui/map_controls.h"
#include "ui/platform.h"

namespace {

// Reports errors on standard error instead of a box nobody would close.
class TConsolePlatform final : public tervela::TPlatform {
 public:
  void ShowError(const QString& text) override {
    std::fprintf(stderr, "error box: %s\n", qPrintable(text));
  }
  std::optional<QString> OpenFile(const tervela::TFileDialogOptions&) override { return std::nullopt; }
  std::optional<QString> SaveFile(const tervela::TFileDialogOptions&) override { return std::nullopt; }
  void Beep() override {}
  void Quit() override {}
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
  if (argc != 2) {
    std::fprintf(stderr, "usage: tervela-screenshots FOLDER\n");
    return 2;
  }
  const QDir folder(QString::fromLocal8Bit(argv[1]));

  TConsolePlatform platform;
  tervela::TForm1 window(platform);
  window.show();
  window.Edit39->setText(QStringLiteral("45.815"));
  window.Edit40->setText(QStringLiteral("15.982"));
  window.BitBtn3->click();
  // A file run with map files, whose picture is shown too.
  window.Edit11->setText(QStringLiteral("wgs84-points.txt"));
  window.Edit12->setText(QStringLiteral("wgs84-points-a.txt"));
  window.map_controls->CheckBox3->setChecked(true);
  window.BitBtn2->click();
  window.map_controls->Button7->click();

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
  return saved ? 0 : 1;
}

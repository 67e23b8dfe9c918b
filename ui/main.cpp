#include <QApplication>
#include <cstdio>
#include <cstring>

#include "program_info/program_info.h"
#include "ui/application_title.h"
#include "ui/desktop.h"
#include "ui/first_start_settings.h"
#include "ui/form1.h"
#include "ui/qt_platform.h"

namespace {

// --first-start EXAMPLES HOME: the launcher's first start of the working
// folder HOME.
int FirstStart(const char* examples, const char* home) {
  const tervela::Result<bool> prepared =
      tervela::PrepareWorkingFolder(home, examples, tervela::SystemDecimalSeparator());
  if (!prepared) {
    std::fprintf(stderr, "tervela: %s: %s\n", prepared.error().file().c_str(), prepared.error().BoxText().c_str());
    return 1;
  }
  if (prepared.value()) {
    std::printf("First start: example settings written to %s\n", tervela::StartupSettingsPath(home).c_str());
  }
  return 0;
}

}  // namespace

int main(int argc, char* argv[]) {
  // Both options are answered before the QApplication is made: no display needed.
  if (argc == 2 && std::strcmp(argv[1], "--version") == 0) {
    std::printf("tervela %s\n", tervela::kProgramVersion);
    return 0;
  }
  if (argc == 4 && std::strcmp(argv[1], "--first-start") == 0) return FirstStart(argv[2], argv[3]);

  QApplication application(argc, argv);
  // The name only: a display name would be appended to the window caption.
  QApplication::setApplicationName(tervela::kApplicationTitle);
  // Lets the desktop match the window to its menu entry and icon.
  QGuiApplication::setDesktopFileName(QString::fromLatin1(tervela::kApplicationId));
  tervela::TQtPlatform platform;
  if (!tervela::PrepareProgramStart(platform)) return 1;
  tervela::TForm1 window(platform);
  window.show();
  return QApplication::exec();
}

#include <QApplication>
#include <csignal>
#include <cstdio>
#include <cstring>

#include "program_info/program_info.h"
#include "ui/application_title.h"
#include "ui/first_start_settings.h"
#include "ui/form1.h"
#include "ui/qt_platform.h"

namespace {

// --write-first-settings EXAMPLE TARGET: the launcher's first-start step.
int WriteFirstSettings(const char* example_path, const char* target_path) {
  const tervela::Status written =
      tervela::WriteFirstSettings(example_path, target_path, tervela::SystemDecimalSeparator());
  if (written) return 0;
  std::fprintf(stderr, "tervela: %s: %s\n", target_path, written.error().BoxText().c_str());
  return 1;
}

}  // namespace

int main(int argc, char* argv[]) {
  // A file-size limit or a pipe whose reader went away (an output named after
  // a FIFO) fails the write (EFBIG, EPIPE) with an error box, not the program.
  std::signal(SIGXFSZ, SIG_IGN);
  std::signal(SIGPIPE, SIG_IGN);
  // Both options are answered before the QApplication is made: no display needed.
  if (argc == 2 && std::strcmp(argv[1], "--version") == 0) {
    std::printf("tervela %s\n", tervela::kProgramVersion);
    return 0;
  }
  if (argc == 4 && std::strcmp(argv[1], "--write-first-settings") == 0) return WriteFirstSettings(argv[2], argv[3]);

  QApplication application(argc, argv);
  // The name only: a display name would be appended to the window caption.
  QApplication::setApplicationName(tervela::kApplicationTitle);
  // Lets the desktop match the window to its menu entry and icon.
  QGuiApplication::setDesktopFileName(QString::fromLatin1(tervela::kApplicationId));
  tervela::TQtPlatform platform;
  tervela::TForm1 window(platform);
  window.show();
  return QApplication::exec();
}

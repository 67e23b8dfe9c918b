#include <QApplication>
#include <csignal>

#include "ui/application_title.h"
#include "ui/form1.h"
#include "ui/qt_platform.h"

int main(int argc, char* argv[]) {
  std::signal(SIGXFSZ, SIG_IGN);  // a file-size limit fails the write (EFBIG), not the program
  QApplication application(argc, argv);
  // The name only: a display name would be appended to the window caption.
  QApplication::setApplicationName(tervela::kApplicationTitle);
  tervela::TQtPlatform platform;
  tervela::TForm1 window(platform);
  window.show();
  return QApplication::exec();
}

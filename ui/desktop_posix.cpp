#include <csignal>

#include "ui/desktop.h"
#include "ui/look.h"

namespace tervela {

bool PrepareProgramStart(TPlatform&) {
  std::signal(SIGXFSZ, SIG_IGN);
  std::signal(SIGPIPE, SIG_IGN);
  return true;
}

QFont WindowFont() {
  QFont font(QStringLiteral("DejaVu Sans"));
  font.setPixelSize(10);
  font.setStretch(90);
  return font;
}

QFont ReadoutFont() {
  QFont font(QStringLiteral("DejaVu Serif"));
  font.setPixelSize(9);
  return font;
}

}  // namespace tervela

#include <csignal>

#include "cli/console.h"

namespace tervela {

std::vector<std::string> CommandLineArguments(int argc, char** argv) {
  return std::vector<std::string>(argv + 1, argv + argc);
}

ConsoleSession::ConsoleSession() {
  std::signal(SIGPIPE, SIG_IGN);
  std::signal(SIGXFSZ, SIG_IGN);
}

ConsoleSession::~ConsoleSession() = default;

}  // namespace tervela

#include <sys/ioctl.h>
#include <unistd.h>

#include <iostream>

#include "util/platform_console.h"

namespace statcrane {
namespace {

int Descriptor(StandardStream stream) {
  return stream == StandardStream::kOutput ? STDOUT_FILENO : STDERR_FILENO;
}

}  // namespace

std::vector<std::string> CommandLineArguments(int argc, char** argv) {
  return argc > 1 ? std::vector<std::string>(argv + 1, argv + argc) : std::vector<std::string>();
}

bool IsTerminal(StandardStream stream) { return ::isatty(Descriptor(stream)) != 0; }

int TerminalColumns(StandardStream stream) {
  winsize size{};
  if (::ioctl(Descriptor(stream), TIOCGWINSZ, &size) == 0) return size.ws_col;
  return 0;
}

std::ostream& StandardOutput() { return std::cout; }
std::ostream& StandardError() { return std::cerr; }

}  // namespace statcrane

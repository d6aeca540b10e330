#include <signal.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <iostream>

#include "util/platform_console.h"
#include "util/platform_console_shared.h"

namespace statcrane {
namespace {

int Descriptor(StandardStream stream) {
  return stream == StandardStream::kOutput ? STDOUT_FILENO : STDERR_FILENO;
}

extern "C" void WriteMessageAndExit(int signal_number) {
  WriteInterruptMessage();
  ::_exit(128 + signal_number);
}

}  // namespace

const std::string_view kTerminalLineEnd = "\n";

void WriteToErrorNow(const char* bytes, size_t length) noexcept {
  (void)!::write(STDERR_FILENO, bytes, length);
}

void EndOnInterrupt() {
  struct sigaction action {};
  action.sa_handler = WriteMessageAndExit;
  sigemptyset(&action.sa_mask);
  for (const int signal_number : {SIGINT, SIGTERM, SIGHUP})
    sigaddset(&action.sa_mask, signal_number);
  for (const int signal_number : {SIGINT, SIGTERM, SIGHUP}) {
    struct sigaction previous {};
    sigaction(signal_number, nullptr, &previous);
    // A signal the program was told to ignore (nohup) stays ignored.
    if (previous.sa_handler != SIG_IGN) sigaction(signal_number, &action, nullptr);
  }
}

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

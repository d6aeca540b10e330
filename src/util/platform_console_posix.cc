#include <signal.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <iostream>

#include "util/platform_console.h"

namespace statcrane {
namespace {

int Descriptor(StandardStream stream) {
  return stream == StandardStream::kOutput ? STDOUT_FILENO : STDERR_FILENO;
}

char interrupt_message[256];
std::atomic<size_t> interrupt_message_length{0};
std::atomic<bool> progress_line_open{false};

extern "C" void WriteMessageAndExit(int signal_number) {
  WriteInterruptMessage();
  ::_exit(128 + signal_number);
}

}  // namespace

void SetInterruptMessage(std::string_view message) {
  interrupt_message_length = 0;
  const size_t length = std::min(message.size(), sizeof interrupt_message - 1);
  std::memcpy(interrupt_message, message.data(), length);
  interrupt_message_length = length;
}

void SetProgressLineOpen(bool open) { progress_line_open = open; }

void WriteInterruptMessage() noexcept {
  if (progress_line_open.load()) (void)!::write(STDERR_FILENO, "\n", 1);
  if (const size_t length = interrupt_message_length.load(); length > 0) {
    (void)!::write(STDERR_FILENO, interrupt_message, length);
  }
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

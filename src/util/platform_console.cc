#include "util/platform_console.h"

#include <algorithm>
#include <atomic>
#include <cstring>

#include "util/platform_console_shared.h"

namespace statcrane {
namespace {

char interrupt_message[256];
std::atomic<size_t> interrupt_message_length{0};
std::atomic<bool> progress_line_open{false};

}  // namespace

void SetInterruptMessage(std::string_view message) {
  interrupt_message_length = 0;
  const size_t length = std::min(message.size(), sizeof interrupt_message - 1);
  std::memcpy(interrupt_message, message.data(), length);
  interrupt_message_length = length;
}

void SetProgressLineOpen(bool open) { progress_line_open = open; }

void WriteInterruptMessage() noexcept {
  if (progress_line_open.load()) WriteToErrorNow(kTerminalLineEnd.data(), kTerminalLineEnd.size());
  if (const size_t length = interrupt_message_length.load(); length > 0) {
    WriteToErrorNow(interrupt_message, length);
  }
}

}  // namespace statcrane

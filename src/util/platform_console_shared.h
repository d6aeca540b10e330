// What each system's console file gives the shared one (platform_console.cc);
// for the platform module's own files only.
#pragma once

#include <cstddef>
#include <string_view>

namespace statcrane {

// Writes the bytes to the standard error at once, unbuffered; safe in a
// signal or console-control handler.
void WriteToErrorNow(const char* bytes, size_t length) noexcept;

// The end of a line the terminal expects ("\n"; "\r\n" on Windows).
extern const std::string_view kTerminalLineEnd;

}  // namespace statcrane

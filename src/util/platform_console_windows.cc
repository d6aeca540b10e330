#include <windows.h>
// <shellapi.h> after <windows.h>.
#include <shellapi.h>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <ostream>
#include <streambuf>

#include "util/platform_console.h"
#include "util/platform_console_shared.h"
#include "util/platform_text_windows.h"

namespace statcrane {
namespace {

HANDLE Handle(StandardStream stream) {
  return ::GetStdHandle(stream == StandardStream::kOutput ? STD_OUTPUT_HANDLE : STD_ERROR_HANDLE);
}

bool IsConsole(HANDLE handle) {
  DWORD mode = 0;
  return handle != nullptr && handle != INVALID_HANDLE_VALUE && ::GetConsoleMode(handle, &mode);
}

// The bytes of a UTF-8 sequence that `lead` starts; 1 for anything else.
size_t SequenceLength(unsigned char lead) {
  if (lead >= 0xF0) return 4;
  if (lead >= 0xE0) return 3;
  if (lead >= 0xC0) return 2;
  return 1;
}

// A stream buffer that writes UTF-8 text to a standard handle: as UTF-16
// through WriteConsoleW to a console (whatever its code page), as the bytes
// themselves to a pipe or a file. A character cut by the end of the buffer
// waits for its remaining bytes.
class ConsoleBuffer : public std::streambuf {
 public:
  explicit ConsoleBuffer(StandardStream stream) : stream_(stream) {
    setp(buffer_, buffer_ + sizeof buffer_);
  }
  ~ConsoleBuffer() override { sync(); }

 protected:
  int_type overflow(int_type c) override {
    if (Flush() != 0) return traits_type::eof();
    if (!traits_type::eq_int_type(c, traits_type::eof())) {
      *pptr() = traits_type::to_char_type(c);
      pbump(1);
    }
    return traits_type::not_eof(c);
  }
  int sync() override { return Flush(); }

 private:
  int Flush() {
    const size_t size = static_cast<size_t>(pptr() - pbase());
    if (size == 0) return 0;
    HANDLE handle = Handle(stream_);
    if (handle == nullptr || handle == INVALID_HANDLE_VALUE) {
      setp(buffer_, buffer_ + sizeof buffer_);
      return 0;  // no such stream: the text goes nowhere, as on a closed one
    }
    size_t whole = size;
    bool ok = true;
    if (IsConsole(handle)) {
      // Keep back an incomplete last character: find its lead byte.
      size_t after_lead = size;
      while (after_lead > 0 && size - after_lead < 4 &&
             (static_cast<unsigned char>(buffer_[after_lead - 1]) & 0xC0) == 0x80) {
        --after_lead;
      }
      if (after_lead > 0) {
        const size_t lead = after_lead - 1;
        if (lead + SequenceLength(static_cast<unsigned char>(buffer_[lead])) > size) whole = lead;
      }
      const std::wstring wide = WideFromUtf8(std::string_view(buffer_, whole));
      DWORD written = 0;
      ok = wide.empty() ||
           ::WriteConsoleW(handle, wide.data(), static_cast<DWORD>(wide.size()), &written, nullptr);
    } else {
      size_t done = 0;
      while (ok && done < whole) {
        DWORD written = 0;
        ok = ::WriteFile(handle, buffer_ + done, static_cast<DWORD>(whole - done), &written,
                         nullptr) &&
             written > 0;
        done += written;
      }
    }
    const size_t left = size - whole;
    for (size_t i = 0; i < left; ++i) buffer_[i] = buffer_[whole + i];
    setp(buffer_, buffer_ + sizeof buffer_);
    pbump(static_cast<int>(left));
    return ok ? 0 : -1;
  }

  StandardStream stream_;
  char buffer_[4096];
};

BOOL WINAPI WriteMessageAndExit(DWORD event) {
  switch (event) {
    case CTRL_C_EVENT:
    case CTRL_BREAK_EVENT:
    case CTRL_CLOSE_EVENT:
      break;
    default:
      return FALSE;
  }
  WriteInterruptMessage();
  ::TerminateProcess(::GetCurrentProcess(), 130);
  return TRUE;  // not reached
}

}  // namespace

const std::string_view kTerminalLineEnd = "\r\n";

void WriteToErrorNow(const char* bytes, size_t length) noexcept {
  DWORD written = 0;
  ::WriteFile(Handle(StandardStream::kError), bytes, static_cast<DWORD>(length), &written, nullptr);
}

void EndOnInterrupt() { ::SetConsoleCtrlHandler(WriteMessageAndExit, TRUE); }

std::vector<std::string> CommandLineArguments(int, char**) {
  int count = 0;
  wchar_t** wide = ::CommandLineToArgvW(::GetCommandLineW(), &count);
  std::vector<std::string> args;
  for (int i = 1; wide != nullptr && i < count; ++i) args.push_back(Utf8FromWide(wide[i]));
  if (wide != nullptr) ::LocalFree(wide);
  return args;
}

bool IsTerminal(StandardStream stream) { return IsConsole(Handle(stream)); }

int TerminalColumns(StandardStream stream) {
  CONSOLE_SCREEN_BUFFER_INFO info{};
  if (!::GetConsoleScreenBufferInfo(Handle(stream), &info)) return 0;
  return info.srWindow.Right - info.srWindow.Left + 1;
}

std::ostream& StandardOutput() {
  static ConsoleBuffer buffer(StandardStream::kOutput);
  static std::ostream stream(&buffer);
  return stream;
}

std::ostream& StandardError() {
  static ConsoleBuffer buffer(StandardStream::kError);
  static std::ostream stream(&buffer);
  // Unbuffered, as std::cerr is.
  static const bool unbuffered = (stream.setf(std::ios::unitbuf), true);
  (void)unbuffered;
  return stream;
}

}  // namespace statcrane

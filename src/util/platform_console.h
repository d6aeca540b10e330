// The program's arguments and its standard streams (platform_console_posix.cc,
// platform_console_windows.cc). Text inside the program is UTF-8 on every
// system; this is where it meets the console.
#pragma once

#include <iosfwd>
#include <string>
#include <string_view>
#include <vector>

namespace statcrane {

enum class StandardStream { kOutput, kError };

// The program's arguments after its name, as UTF-8: on Windows taken from
// the wide command line, so that any name arrives whatever the code page.
std::vector<std::string> CommandLineArguments(int argc, char** argv);

// True when `stream` shows on a terminal (a console on Windows).
bool IsTerminal(StandardStream stream);

// The width in columns of the terminal `stream` shows on; 0 when it is not
// a terminal or does not tell.
int TerminalColumns(StandardStream stream);

// Standard output and standard error for UTF-8 text: a console shows every
// character (on Windows written as UTF-16 with WriteConsoleW), a pipe or a
// file gets the UTF-8 bytes.
std::ostream& StandardOutput();
std::ostream& StandardError();

// What standard error gets when an interruption ends the program (SIGINT,
// SIGTERM, SIGHUP; Ctrl-C, Ctrl-Break, closing the console on Windows),
// whoever handles it (EndOnInterrupt, or an OutputFile being written):
// `message` (at most 255 bytes kept), with a line break first while a
// progress line is open, so that the message starts a line of its own.
void SetInterruptMessage(std::string_view message);
void SetProgressLineOpen(bool open);
// Writes the above to standard error; safe in a signal handler and in a
// console control handler.
void WriteInterruptMessage() noexcept;
// From now on an interruption that is not ignored writes the message and
// ends the program (130 for Ctrl-C, 128 + the signal's number on POSIX).
void EndOnInterrupt();

}  // namespace statcrane

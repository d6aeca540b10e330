// The command line: `statcrane process FOLDER -o OUT.xlsx [options]`.
#pragma once

#include <filesystem>
#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

#include "app/processing_run.h"

namespace statcrane {

struct CommandLine {
  enum class Action { kProcess, kHelp, kVersion };
  Action action = Action::kHelp;
  RunOptions run;
  bool open = false;     // open the workbook in the desktop's spreadsheet application
  bool timings = false;  // print the time of each phase
};

// Parses the arguments (without the program name). Returns the error text for
// arguments that do not make a valid command.
struct ParsedCommandLine {
  std::optional<CommandLine> command;
  std::string error;
};
ParsedCommandLine ParseCommandLine(const std::vector<std::string>& args);

// Checks what can be checked before a run starts: the folder exists and holds
// encteam.dat, the output does not exist (unless overwriting) and its folder
// exists. Returns the message for the first problem, or "" when all is well.
std::string CheckBeforeRun(const RunOptions& options);

// Runs the command; returns the exit status (0 only on success). Messages go
// to `err`, the run report to `out`.
int RunCommand(const CommandLine& command, std::ostream& out, std::ostream& err,
               bool progress_on_terminal);

// main() for the command line.
int RunCommandLine(int argc, char** argv);

std::string UsageText();

}  // namespace statcrane

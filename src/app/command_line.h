// The command line: `statcrane process FOLDER -o OUT.xlsx [options]`.
#pragma once

#include <chrono>
#include <functional>
#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

#include "app/processing_run.h"
#include "app/progress_text.h"

namespace statcrane {

// Exit statuses, as --help and the manual page list them.
inline constexpr int kExitDone = 0;          // the workbook was written
inline constexpr int kExitFailed = 1;        // the run failed or was refused
inline constexpr int kExitUsage = 2;         // the command line was wrong
inline constexpr int kExitWithWarnings = 3;  // written with warnings, under --strict

struct CommandLine {
  enum class Action { kProcess, kHelp, kVersion };
  Action action = Action::kHelp;
  RunOptions run;
  bool open = false;     // open the workbook in the desktop's spreadsheet application
  bool timings = false;  // print the time of each phase
  bool quiet = false;    // leave out the run report
  bool strict = false;   // warnings give exit status 3
};

// Parses the arguments (without the program name). A command line that does
// not make a valid command gives the one-line reason in `error`.
struct ParsedCommandLine {
  std::optional<CommandLine> command;
  std::string error;
};
ParsedCommandLine ParseCommandLine(const std::vector<std::string>& args);

// Checks what can be checked before the encyclopedia is read: the folder
// holds encteam.dat, the output can be written (its folder exists and takes
// a new file, it is not a folder or a device) and does not exist unless
// overwriting. Returns the message for the first problem, or "".
std::string CheckBeforeRun(const RunOptions& options);

// The run's progress on one line of a terminal: the phase, its percentage
// and the player, cut to the terminal's width so that it never wraps,
// redrawn at most ten times a second and cleared at the end.
class TerminalProgress : public RunObserver {
 public:
  // `width` gives the terminal's width in columns each time the line is
  // drawn (it may change while the run goes on); without it nothing is
  // drawn. The line is redrawn at most once per `interval`, except at the end
  // of a phase.
  TerminalProgress(std::ostream& err, std::function<int()> width,
                   std::chrono::milliseconds interval = std::chrono::milliseconds(100));
  ~TerminalProgress() override { Clear(); }

  void ProgressText(std::string_view text) override;
  void PhaseProgress(std::string_view phase, int64_t done, int64_t total) override;
  // Removes the line.
  void Clear();

 private:
  void Draw(bool force);

  std::ostream& err_;
  std::function<int()> width_;
  std::chrono::milliseconds interval_;
  ProgressShown shown_;
  size_t drawn_width_ = 0;  // columns of the line on the terminal
  bool drawn_ = false;
  std::chrono::steady_clock::time_point last_{};
};

// Runs the command; returns the exit status. Messages and the warnings
// summary go to `err`, the run report to `out`; the progress line goes to
// `err` when `progress_on_terminal`.
int RunCommand(const CommandLine& command, std::ostream& out, std::ostream& err,
               bool progress_on_terminal);

// Parses `args` (without the program's name) and runs the command; a wrong
// command line gives its reason and a pointer to --help on `err` and
// kExitUsage.
int RunCommandLine(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
                   bool progress_on_terminal);

// main() for the command line: the program's arguments (UTF-8 on every
// system) and its standard streams.
int RunCommandLine(int argc, char** argv);

std::string UsageText();

}  // namespace statcrane

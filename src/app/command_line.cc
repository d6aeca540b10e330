#include "app/command_line.h"

#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <iostream>
#include <sstream>
#include <string_view>

#include "encyclopedia/encyclopedia_folder.h"

#ifndef STATCRANE_VERSION
#define STATCRANE_VERSION "1.0.0"
#endif

namespace statcrane {
namespace {

namespace fs = std::filesystem;

// Progress on one line of a terminal, redrawn at most a few times a second.
class TerminalProgress : public RunObserver {
 public:
  TerminalProgress(std::ostream& err, bool enabled) : err_(err), enabled_(enabled) {}
  ~TerminalProgress() override { EndLine(); }

  void ProgressText(std::string_view text) override {
    text_ = text;
    Draw(false);
  }
  void PhaseProgress(std::string_view phase, int64_t done, int64_t total) override {
    phase_ = phase;
    done_ = done;
    total_ = total;
    Draw(done == total);
  }
  void EndLine() {
    if (drawn_) err_ << "\n";
    drawn_ = false;
  }

 private:
  void Draw(bool force) {
    if (!enabled_) return;
    const auto now = std::chrono::steady_clock::now();
    if (!force && drawn_ && now - last_ < std::chrono::milliseconds(100)) return;
    last_ = now;
    std::ostringstream line;
    if (!phase_.empty()) line << phase_ << " " << done_ << "/" << total_ << "  ";
    line << text_;
    std::string shown = line.str().substr(0, 79);
    err_ << "\r" << shown << std::string(shown.size() < 79 ? 79 - shown.size() : 0, ' ')
         << std::flush;
    drawn_ = true;
  }

  std::ostream& err_;
  bool enabled_;
  bool drawn_ = false;
  std::chrono::steady_clock::time_point last_{};
  std::string text_;
  std::string phase_;
  int64_t done_ = 0;
  int64_t total_ = 0;
};

bool ParseSheets(std::string_view value, SheetChoice& choice) {
  if (value == "players-and-teams") {
    choice = SheetChoice::kPlayersAndTeams;
  } else if (value == "teams-only") {
    choice = SheetChoice::kTeamsOnly;
  } else if (value == "players-only") {
    choice = SheetChoice::kPlayersOnly;
  } else {
    return false;
  }
  return true;
}

void OpenInDesktop(const fs::path& file, std::ostream& err) {
  const pid_t pid = fork();
  if (pid == 0) {
    execlp("xdg-open", "xdg-open", file.c_str(), static_cast<char*>(nullptr));
    _exit(127);
  }
  if (pid < 0) err << "statcrane: cannot open " << file.string() << "\n";
}

}  // namespace

std::string UsageText() {
  return "Usage: statcrane process FOLDER -o OUT.xlsx [options]\n"
         "       statcrane             (the window)\n"
         "\n"
         "Reads the encyclopedia in FOLDER and writes the statistics workbook OUT.xlsx.\n"
         "\n"
         "Options:\n"
         "  -o, --output FILE   the workbook to write (required)\n"
         "  --sheets CHOICE     players-and-teams (default), teams-only or players-only\n"
         "  --force             replace OUT.xlsx when it exists\n"
         "  --open              open the workbook in the desktop's spreadsheet application\n"
         "  --timings           print the time each phase took (reading, player walk,\n"
         "                      team phase, finishing sheets, writing)\n"
         "  --help              show this text\n"
         "  --version           show the version\n";
}

ParsedCommandLine ParseCommandLine(const std::vector<std::string>& args) {
  ParsedCommandLine parsed;
  CommandLine command;
  if (args.empty()) {
    parsed.error = "no command given";
    return parsed;
  }
  for (const std::string& arg : args) {
    if (arg == "--help" || arg == "-h") {
      command.action = CommandLine::Action::kHelp;
      parsed.command = command;
      return parsed;
    }
    if (arg == "--version") {
      command.action = CommandLine::Action::kVersion;
      parsed.command = command;
      return parsed;
    }
  }
  if (args[0] != "process") {
    parsed.error = "unknown command '" + args[0] + "'";
    return parsed;
  }
  command.action = CommandLine::Action::kProcess;
  bool have_folder = false;
  for (size_t i = 1; i < args.size(); ++i) {
    const std::string& arg = args[i];
    auto value = [&](std::string& out) {
      if (i + 1 >= args.size()) {
        parsed.error = arg + " needs a value";
        return false;
      }
      out = args[++i];
      return true;
    };
    std::string text;
    if (arg == "-o" || arg == "--output") {
      if (!value(text)) return parsed;
      command.run.output = text;
    } else if (arg == "--sheets") {
      if (!value(text)) return parsed;
      if (!ParseSheets(text, command.run.sheets)) {
        parsed.error =
            "--sheets takes players-and-teams, teams-only or players-only, not '" + text + "'";
        return parsed;
      }
    } else if (arg == "--force") {
      command.run.overwrite = true;
    } else if (arg == "--open") {
      command.open = true;
    } else if (arg == "--timings") {
      command.timings = true;
    } else if (!arg.empty() && arg[0] == '-') {
      parsed.error = "unknown option '" + arg + "'";
      return parsed;
    } else if (!have_folder) {
      command.run.EncyclopediaFolder = arg;
      have_folder = true;
    } else {
      parsed.error = "more than one folder given ('" + arg + "')";
      return parsed;
    }
  }
  if (!have_folder) {
    parsed.error = "no encyclopedia folder given";
  } else if (command.run.output.empty()) {
    parsed.error = "no output file given (-o OUT.xlsx)";
  } else {
    parsed.command = command;
  }
  return parsed;
}

std::string CheckBeforeRun(const RunOptions& options) {
  std::error_code ec;
  const fs::path& folder = options.EncyclopediaFolder;
  if (!fs::exists(folder, ec)) return "the folder " + folder.string() + " does not exist";
  if (!fs::is_directory(folder, ec)) return folder.string() + " is not a folder";
  if (!EncyclopediaFolder(folder).HasTeamFile()) {
    return "the folder " + folder.string() + " holds no encteam.dat: it is not an encyclopedia";
  }
  const fs::path& output = options.output;
  if (fs::is_directory(output, ec)) return "the output " + output.string() + " is a folder";
  if (!options.overwrite && fs::exists(fs::symlink_status(output, ec))) {
    return "the output " + output.string() + " exists; use --force to replace it";
  }
  const fs::path parent = output.has_parent_path() ? output.parent_path() : fs::path(".");
  if (!fs::is_directory(parent, ec)) {
    return "cannot write " + output.string() + ": the folder " + parent.string() +
           " does not exist";
  }
  if (access(parent.c_str(), W_OK) != 0) {
    return "cannot write " + output.string() + ": the folder " + parent.string() +
           " is not writable";
  }
  return "";
}

int RunCommand(const CommandLine& command, std::ostream& out, std::ostream& err,
               bool progress_on_terminal) {
  switch (command.action) {
    case CommandLine::Action::kHelp:
      out << UsageText();
      return 0;
    case CommandLine::Action::kVersion:
      out << "statcrane " << STATCRANE_VERSION << "\n";
      return 0;
    case CommandLine::Action::kProcess:
      break;
  }
  if (const std::string problem = CheckBeforeRun(command.run); !problem.empty()) {
    err << "statcrane: " << problem << "\n";
    return 1;
  }
  TerminalProgress progress(err, progress_on_terminal);
  const RunResult result = RunProcessing(command.run, progress, nullptr);
  progress.EndLine();

  out << result.report.Format();
  if (command.timings) {
    for (const auto& [phase, time] : result.timings) {
      char line[128];
      std::snprintf(line, sizeof line, "time %-16s %8.3f s elapsed %8.3f s processor\n",
                    phase.c_str(), time.elapsed, time.processor);
      out << line;
    }
  }
  if (result.error) {
    err << "statcrane: " << result.error->message() << "\n";
    if (result.saved) {
      err << "statcrane: the workbook is incomplete: " << command.run.output.string() << "\n";
    } else {
      err << "statcrane: no workbook was written\n";
    }
    return 1;
  }
  if (!result.completed) {
    err << "statcrane: the run was stopped; no workbook was written\n";
    return 1;
  }
  if (command.open) OpenInDesktop(command.run.output, err);
  return 0;
}

int RunCommandLine(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  const ParsedCommandLine parsed = ParseCommandLine(args);
  if (!parsed.command) {
    std::cerr << "statcrane: " << parsed.error << "\n\n" << UsageText();
    return 1;
  }
  return RunCommand(*parsed.command, std::cout, std::cerr, isatty(STDERR_FILENO) != 0);
}

}  // namespace statcrane

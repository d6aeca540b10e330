#include "app/command_line.h"

#include <CLI/CLI.hpp>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <sstream>
#include <string_view>

#include "app/output_check.h"
#include "app/terminal_text.h"
#include "util/platform_console.h"
#include "util/platform_desktop.h"
#include "util/utf8_path.h"

namespace statcrane {
namespace {

namespace fs = std::filesystem;

constexpr std::string_view kSheetChoices = "players-and-teams, teams-only or players-only";

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

// A usage error in one line: the parser's texts can run over several.
std::string OneLine(std::string text) {
  std::replace(text.begin(), text.end(), '\n', ' ');
  while (!text.empty() && text.back() == ' ') text.pop_back();
  return ReplaceControlCharacters(text);
}

// What to say about arguments no option took.
std::string UnexpectedArgument(const std::string& arg, bool command_expected) {
  if (arg.size() > 1 && arg[0] == '-') return "unknown option '" + OneLine(arg) + "'";
  if (command_expected) return "unknown command '" + OneLine(arg) + "'";
  return "unexpected argument '" + OneLine(arg) + "' (one encyclopedia folder only)";
}

void OpenInDesktop(const fs::path& file, std::ostream& err) {
  if (const std::string problem = OpenInDesktopApplication(file); !problem.empty()) {
    err << "statcrane: --open: " << ReplaceControlCharacters(problem) << "; the workbook is "
        << ReplaceControlCharacters(file.string()) << "\n";
  }
}

void PrintTimings(const RunResult& result, std::ostream& out) {
  for (const auto& [phase, time] : result.timings) {
    char line[128];
    std::snprintf(line, sizeof line, "time %-16s %8.3f s elapsed %8.3f s processor\n",
                  phase.c_str(), time.elapsed, time.processor);
    out << line;
  }
}

}  // namespace

std::string UsageText() {
  return "Usage: statcrane process FOLDER -o OUT.xlsx [options]\n"
         "       statcrane                  (opens the window)\n"
         "\n"
         "Reads the encyclopedia in FOLDER and writes the statistics workbook OUT.xlsx.\n"
         "\n"
         "Options:\n"
         "  -o, --output FILE   the workbook to write (required)\n"
         "  --sheets CHOICE     players-and-teams (default), teams-only or players-only\n"
         "  --force             replace OUT.xlsx when it exists\n"
         "  --index             add a first sheet \"Index\" that links to every player and\n"
         "                      team\n"
         "  --open              open the workbook in the desktop's spreadsheet application\n"
         "  --quiet             leave out the run report\n"
         "  --strict            exit with status 3 when the run had warnings\n"
         "  --threads N         threads that write the workbook (0, the default: one per\n"
         "                      processor)\n"
         "  --timings           print the time each phase took\n"
         "  -h, --help          show this text\n"
         "  --version           show the version\n"
         "Options take their value as --sheets teams-only or --sheets=teams-only.\n"
         "\n"
         "The run report (files read, records skipped, what was written) goes to\n"
         "standard output; warnings (files missing, records skipped, unknown season\n"
         "types) are summed up in one line on standard error.\n"
         "\n"
         "Exit status:\n"
         "  0  the workbook was written\n"
         "  1  the run failed or was refused; the message says why\n"
         "  2  the command line was wrong\n"
         "  3  the workbook was written with warnings, and --strict was given\n";
}

ParsedCommandLine ParseCommandLine(const std::vector<std::string>& args) {
  ParsedCommandLine parsed;
  CommandLine command;
  CLI::App app("StatCrane", "statcrane");
  app.set_help_flag();
  app.allow_extras();
  // "/x" options (on by default on Windows) would take an absolute path for
  // an option; subcommands inherit this.
  app.allow_windows_style_options(false);
  bool help = false;
  bool version = false;
  app.add_flag("-h,--help", help);
  app.add_flag("--version", version);

  CLI::App* process = app.add_subcommand("process");
  process->set_help_flag();
  process->allow_extras();
  std::string folder;
  std::string output;
  std::string sheets;
  process->add_flag("-h,--help", help);
  process->add_option("folder", folder);
  process->add_option("-o,--output", output);
  process->add_option("--sheets", sheets);
  process->add_flag("--force", command.run.overwrite);
  bool index = false;
  process->add_flag("--index", index);
  process->add_flag("--open", command.open);
  process->add_flag("--quiet", command.quiet);
  process->add_flag("--strict", command.strict);
  process->add_option("--threads", command.run.threads)->check(CLI::Range(0, 1024));
  process->add_flag("--timings", command.timings);

  try {
    std::vector<std::string> reversed(args.rbegin(), args.rend());
    app.parse(reversed);
  } catch (const CLI::ParseError& error) {
    // In the parser's own words, which name the option.
    parsed.error = OneLine(error.what());
    return parsed;
  }
  if (help || version) {
    command.action = help ? CommandLine::Action::kHelp : CommandLine::Action::kVersion;
    parsed.command = command;
    return parsed;
  }
  if (!app.remaining().empty()) {
    parsed.error = UnexpectedArgument(app.remaining().front(), !process->parsed());
    return parsed;
  }
  if (!process->parsed()) {
    parsed.error = "no command given (statcrane process FOLDER -o OUT.xlsx)";
    return parsed;
  }
  if (!process->remaining().empty()) {
    parsed.error = UnexpectedArgument(process->remaining().front(), false);
    return parsed;
  }
  if (!sheets.empty() && !ParseSheets(sheets, command.run.sheets)) {
    parsed.error =
        "--sheets takes " + std::string(kSheetChoices) + ", not '" + OneLine(sheets) + "'";
    return parsed;
  }
  if (folder.empty()) {
    parsed.error = "no encyclopedia folder given";
  } else if (output.empty()) {
    parsed.error = "no output file given (-o OUT.xlsx)";
  } else {
    command.action = CommandLine::Action::kProcess;
    command.run.index = index ? IndexChoice::kIndex : IndexChoice::kNone;
    command.run.encyclopedia_folder = PathFromUtf8(folder);
    command.run.output = PathFromUtf8(output);
    parsed.command = command;
  }
  return parsed;
}

std::string CheckBeforeRun(const RunOptions& options) {
  if (std::string problem = CheckEncyclopediaFolder(options.encyclopedia_folder);
      !problem.empty()) {
    return problem;
  }
  return CheckOutputFile(options.output, options.overwrite);
}

TerminalProgress::TerminalProgress(std::ostream& err, std::function<int()> width,
                                   std::chrono::milliseconds interval)
    : err_(err), width_(std::move(width)), interval_(interval) {}

void TerminalProgress::ProgressText(std::string_view text) {
  shown_.Text(text);
  Draw(false);
}

void TerminalProgress::PhaseProgress(std::string_view phase, int64_t done, int64_t total) {
  shown_.Phase(phase, done, total);
  Draw(done == total);
}

void TerminalProgress::Draw(bool force) {
  if (!width_) return;
  const auto now = std::chrono::steady_clock::now();
  if (!force && drawn_ && now - last_ < interval_) return;
  last_ = now;
  // One column short of the width: a line that fills the last column makes
  // some terminals wrap.
  const int columns = std::max(width_(), 2);
  const std::string line =
      CutToWidth(ReplaceControlCharacters(shown_.TerminalLine()), static_cast<size_t>(columns - 1));
  const size_t width = DisplayWidth(line);
  err_ << "\r" << line;
  if (drawn_width_ > width) err_ << std::string(drawn_width_ - width, ' ') << "\r" << line;
  err_ << std::flush;
  drawn_width_ = width;
  drawn_ = true;
}

void TerminalProgress::Clear() {
  if (!drawn_) return;
  err_ << "\r" << std::string(drawn_width_, ' ') << "\r" << std::flush;
  drawn_ = false;
  drawn_width_ = 0;
}

int RunCommand(const CommandLine& command, std::ostream& out, std::ostream& err,
               bool progress_on_terminal) {
  switch (command.action) {
    case CommandLine::Action::kHelp:
      out << UsageText();
      return kExitDone;
    case CommandLine::Action::kVersion:
      out << "statcrane " << STATCRANE_VERSION << "\n";
      return kExitDone;
    case CommandLine::Action::kProcess:
      break;
  }
  if (const std::string problem = CheckBeforeRun(command.run); !problem.empty()) {
    err << "statcrane: " << ReplaceControlCharacters(problem) << "\n";
    return kExitFailed;
  }
  std::function<int()> width;
  if (progress_on_terminal) width = [] { return TerminalWidth(); };
  TerminalProgress progress(err, width);
  const RunResult result = RunProcessing(command.run, progress, nullptr);
  progress.Clear();

  if (!command.quiet) out << ReplaceControlCharacters(result.report.Format(), true);
  if (command.timings) PrintTimings(result, out);
  out << std::flush;
  if (result.error) {
    err << "statcrane: " << ReplaceControlCharacters(result.error->message()) << "\n";
    if (result.saved) {
      err << "statcrane: the workbook is incomplete: "
          << ReplaceControlCharacters(result.report.output_path.empty()
                                          ? command.run.output.string()
                                          : result.report.output_path)
          << "\n";
    } else {
      err << "statcrane: no workbook was written\n";
    }
    return kExitFailed;
  }
  if (!result.completed) {
    err << "statcrane: the run was stopped; no workbook was written\n";
    return kExitFailed;
  }
  const bool warnings = result.report.HasWarnings();
  if (warnings) {
    err << "statcrane: completed with warnings: "
        << ReplaceControlCharacters(result.report.WarningsSummary())
        << (command.quiet ? " (run without --quiet for the report)\n" : " (see the report)\n");
  }
  if (command.open) OpenInDesktop(command.run.output, err);
  return warnings && command.strict ? kExitWithWarnings : kExitDone;
}

int RunCommandLine(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
                   bool progress_on_terminal) {
  const ParsedCommandLine parsed = ParseCommandLine(args);
  if (!parsed.command) {
    err << "statcrane: " << parsed.error << "\nTry 'statcrane --help'\n";
    return kExitUsage;
  }
  return RunCommand(*parsed.command, out, err, progress_on_terminal);
}

int RunCommandLine(int argc, char** argv) {
  return RunCommandLine(CommandLineArguments(argc, argv), StandardOutput(), StandardError(),
                        IsTerminal(StandardStream::kError));
}

}  // namespace statcrane

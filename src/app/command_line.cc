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

// The options that take a value, with what the value is.
struct ValueOption {
  std::string_view short_name;  // "" when none
  std::string_view long_name;
  std::string_view takes;
};
constexpr ValueOption kValueOptions[] = {
    {"-o", "--output", "the workbook to write (-o OUT.xlsx)"},
    {"", "--sheets", "players-and-teams, teams-only or players-only"},
    {"", "--threads", "a whole number from 0 to 1024 (0: one per processor)"},
};

// An option that takes a value given last or before another option:
// "-o needs a value: ...". "" when every one has its value.
std::string MissingValue(const std::vector<std::string>& args) {
  for (size_t i = 0; i < args.size(); ++i) {
    for (const ValueOption& option : kValueOptions) {
      if (args[i] != option.short_name && args[i] != option.long_name) continue;
      const bool last = i + 1 == args.size();
      if (last || (args[i + 1].size() > 1 && args[i + 1][0] == '-')) {
        return args[i] + " needs a value: " + std::string(option.takes);
      }
    }
  }
  return "";
}

// The edits (insertions, deletions, changes) that make `a` into `b`.
size_t EditDistance(std::string_view a, std::string_view b) {
  std::vector<size_t> row(b.size() + 1);
  for (size_t j = 0; j <= b.size(); ++j) row[j] = j;
  for (size_t i = 1; i <= a.size(); ++i) {
    size_t diagonal = row[0];
    row[0] = i;
    for (size_t j = 1; j <= b.size(); ++j) {
      const size_t above = row[j];
      row[j] = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (a[i - 1] == b[j - 1] ? 0 : 1)});
      diagonal = above;
    }
  }
  return row[b.size()];
}

// A first argument that names a folder (or looks like a path): the command
// was left out.
bool LooksLikeAFolder(const std::string& arg) {
  if (arg.find('/') != std::string::npos) return true;
#ifdef _WIN32
  if (arg.find('\\') != std::string::npos || arg.find(':') != std::string::npos) return true;
#endif
  std::error_code error;
  return fs::is_directory(PathFromUtf8(arg), error);
}

// What to say about arguments no option took.
std::string UnexpectedArgument(const std::string& arg, bool command_expected) {
  if (arg.size() > 1 && arg[0] == '-') return "unknown option '" + OneLine(arg) + "'";
  if (command_expected) {
    std::string text = "unknown command '" + OneLine(arg) + "'";
    std::string lower = arg;
    for (char& c : lower) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    if (EditDistance(lower, "process") <= 2) return text + "; did you mean 'process'?";
    if (LooksLikeAFolder(arg)) {
      return text + ": the command comes first (statcrane process " + OneLine(arg) +
             " -o OUT.xlsx)";
    }
    return text + "; the command is 'process'";
  }
  return "unexpected argument '" + OneLine(arg) + "' (one encyclopedia folder only)";
}

// The one value of an option that may be given once; false, with the
// message in `error`, when it was given more than once.
bool OneValue(const std::vector<std::string>& values, std::string_view name, std::string& value,
              std::string& error) {
  if (values.size() > 1) {
    error = std::string(name) + " is given more than once ('" + OneLine(values[0]) + "', '" +
            OneLine(values[1]) + "'); give it once";
    return false;
  }
  if (!values.empty()) value = values.front();
  return true;
}

bool ParseThreads(const std::string& text, int& threads) {
  if (text.empty() || text.size() > 4 ||
      text.find_first_not_of("0123456789") != std::string::npos) {
    return false;
  }
  threads = std::stoi(text);
  return threads <= 1024;
}

// The parser's own errors that the checks above do not catch first (a flag
// given a value, "--force=yes"), in this program's words.
std::string ParserError(const CLI::ParseError& error) {
  std::string text = OneLine(error.what());
  // The option the parser names: its first word that starts with a dash.
  std::string option;
  std::istringstream words(text);
  for (std::string word; option.empty() && words >> word;) {
    while (!word.empty() && (word.back() == ':' || word.back() == ',')) word.pop_back();
    if (word.size() > 1 && word[0] == '-') option = word;
  }
  if (!option.empty()) {
    for (const ValueOption& value : kValueOptions) {
      if (option == value.long_name || option == value.short_name) {
        return option + " takes " + std::string(value.takes);
      }
    }
    return option + " takes no value";
  }
  if (!text.empty() && text[0] >= 'A' && text[0] <= 'Z')
    text[0] = static_cast<char>(text[0] - 'A' + 'a');
  return "the command line cannot be read: " + text;
}

void OpenInDesktop(const fs::path& file, std::ostream& err) {
  if (const std::string problem = OpenInDesktopApplication(file); !problem.empty()) {
    err << "statcrane: --open: " << AfterProgramName(problem) << "; the workbook is "
        << ReplaceControlCharacters(Utf8FromPath(file)) << "\n";
  }
}

// The phases of a run in the user's words.
std::string_view PhaseInWords(std::string_view phase) {
  if (phase == "reading") return "Reading the encyclopedia";
  if (phase == "player walk") return "Player sheets";
  if (phase == "team phase") return "Team sheets";
  if (phase == "leaders") return "Leaders sheets";
  if (phase == "finishing sheets") return "Column widths, empty sheets";
  if (phase == "writing") return "Saving the workbook";
  return phase;
}

void PrintTimings(const RunResult& result, std::ostream& out) {
  char line[160];
  std::snprintf(line, sizeof line, "%-32s %10s %12s\n", "Time taken", "elapsed", "processor");
  out << line;
  StepTime total;
  for (const auto& [phase, time] : result.timings) {
    const std::string words(PhaseInWords(phase));
    std::snprintf(line, sizeof line, "  %-30s %8.3f s %10.3f s\n", words.c_str(), time.elapsed,
                  time.processor);
    out << line;
    total += time;
  }
  std::snprintf(line, sizeof line, "  %-30s %8.3f s %10.3f s\n", "Total", total.elapsed,
                total.processor);
  out << line;
}

}  // namespace

std::string UsageText() {
  return "Usage: statcrane process FOLDER -o OUT.xlsx [options]\n"
         "       statcrane                  (opens the window)\n"
         "\n"
         "Reads the encyclopedia in FOLDER and writes the statistics workbook OUT.xlsx.\n"
         "\n"
         "Options:\n"
         "  -o, --output FILE   the workbook to write (required; its name ends in .xlsx)\n"
         "  --sheets CHOICE     players-and-teams (default), teams-only or players-only\n"
         "  --force             replace OUT.xlsx when it exists (never one of the\n"
         "                      encyclopedia's files)\n"
         "  --index             add a first sheet \"Index\" that links to every player and\n"
         "                      team; the workbook opens on it\n"
         "  --leaders           add the sheets \"Career Leaders\", \"Season Leaders\" and\n"
         "                      \"League Leaders\" (the regular season's top 25 and each\n"
         "                      year's league leaders, each name a link to his block);\n"
         "                      not with --sheets teams-only\n"
         "  --open              open the workbook in the desktop's spreadsheet application\n"
         "  --quiet             leave out the run report\n"
         "  --strict            exit with status 3 when the run had warnings\n"
         "  --threads N         threads that write the workbook (0, the default: one per\n"
         "                      processor)\n"
         "  --timings           print the time each part of the run took, and the total\n"
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
         "  1  the run failed, was refused or found nothing to write; the message says\n"
         "     why\n"
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
  // Values are taken as texts, all of them, and checked here, so that every
  // message is this program's.
  std::vector<std::string> outputs;
  std::vector<std::string> sheets_given;
  std::vector<std::string> threads_given;
  process->add_flag("-h,--help", help);
  process->add_option("folder", folder);
  process->add_option("-o,--output", outputs)->take_all()->allow_extra_args(false);
  process->add_option("--sheets", sheets_given)->take_all()->allow_extra_args(false);
  process->add_flag("--force", command.run.overwrite);
  bool index = false;
  process->add_flag("--index", index);
  bool leaders = false;
  process->add_flag("--leaders", leaders);
  process->add_flag("--open", command.open);
  process->add_flag("--quiet", command.quiet);
  process->add_flag("--strict", command.strict);
  process->add_option("--threads", threads_given)->take_all()->allow_extra_args(false);
  process->add_flag("--timings", command.timings);

  if (std::string missing = MissingValue(args); !missing.empty()) {
    parsed.error = OneLine(missing);
    return parsed;
  }
  try {
    std::vector<std::string> reversed(args.rbegin(), args.rend());
    app.parse(reversed);
  } catch (const CLI::ParseError& error) {
    parsed.error = ParserError(error);
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
  std::string output;
  std::string sheets;
  std::string threads;
  if (!OneValue(outputs, "-o/--output", output, parsed.error) ||
      !OneValue(sheets_given, "--sheets", sheets, parsed.error) ||
      !OneValue(threads_given, "--threads", threads, parsed.error)) {
    return parsed;
  }
  if (!sheets_given.empty() && !ParseSheets(sheets, command.run.sheets)) {
    parsed.error =
        "--sheets takes " + std::string(kSheetChoices) + ", not '" + OneLine(sheets) + "'";
    return parsed;
  }
  if (!threads_given.empty() && !ParseThreads(threads, command.run.threads)) {
    parsed.error = "--threads takes " + std::string(kValueOptions[2].takes) + ", not '" +
                   OneLine(threads) + "'";
    return parsed;
  }
  if (leaders && !PlayersWanted(command.run.sheets)) {
    parsed.error = "--leaders needs the player sheets: not with --sheets teams-only";
    return parsed;
  }
  if (folder.empty()) {
    parsed.error = "no encyclopedia folder given (statcrane process FOLDER -o OUT.xlsx)";
  } else if (outputs.empty()) {
    parsed.error = "no workbook given: -o OUT.xlsx names the workbook to write";
  } else {
    command.action = CommandLine::Action::kProcess;
    command.run.index = index ? IndexChoice::kIndex : IndexChoice::kNone;
    command.run.leaders = leaders ? LeadersChoice::kLeaders : LeadersChoice::kNone;
    command.run.encyclopedia_folder = PathFromUtf8(folder);
    command.run.output = PathFromUtf8(output);
    parsed.command = command;
  }
  return parsed;
}

std::string CheckBeforeRun(const RunOptions& options) {
  // The game's files first: their names do not end in .xlsx either, and
  // that they are the game's is what the user must hear.
  if (std::string problem = CheckNotEncyclopediaFile(options.encyclopedia_folder, options.output);
      !problem.empty()) {
    return problem;
  }
  if (std::string problem = CheckWorkbookName(options.output); !problem.empty()) return problem;
  if (std::string problem = CheckEncyclopediaFolder(options.encyclopedia_folder);
      !problem.empty()) {
    return problem;
  }
  return CheckBeforeReading(options.encyclopedia_folder, options.output, options.overwrite);
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
  SetProgressLineOpen(true);
}

void TerminalProgress::Clear() {
  if (!drawn_) return;
  err_ << "\r" << std::string(drawn_width_, ' ') << "\r" << std::flush;
  SetProgressLineOpen(false);
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
    err << "statcrane: " << AfterProgramName(problem) << "\n";
    return kExitFailed;
  }
  std::function<int()> width;
  if (progress_on_terminal) width = [] { return TerminalWidth(); };
  TerminalProgress progress(err, width);
  const RunResult result = RunProcessing(command.run, progress, nullptr);
  progress.Clear();

  if (!command.quiet) out << ReplaceControlCharacters(ReportText(result), true);
  if (command.timings) PrintTimings(result, out);
  out << std::flush;
  switch (result.outcome) {
    case RunOutcome::kCompleted:
      break;
    case RunOutcome::kStopped:
      err << "statcrane: the run was stopped; no workbook was written\n";
      return kExitFailed;
    case RunOutcome::kNothingToWrite:
      // The message says no workbook was written.
      err << "statcrane: " << AfterProgramName(result.error) << "\n";
      return kExitFailed;
    case RunOutcome::kFailed:
    case RunOutcome::kFailedIncompleteSaved:
    case RunOutcome::kFailedIncompleteNotSaved:
      err << "statcrane: " << AfterProgramName(result.error) << "\n";
      if (!result.output.empty()) {
        err << "statcrane: the workbook is incomplete: "
            << ReplaceControlCharacters(Utf8FromPath(result.output)) << "\n";
      } else if (result.outcome == RunOutcome::kFailedIncompleteNotSaved) {
        err << "statcrane: no workbook was written; what was built could not be saved either: "
            << AfterProgramName(result.not_saved) << "\n";
      } else {
        err << "statcrane: no workbook was written\n";
      }
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
    err << "statcrane: " << AfterProgramName(parsed.error) << "\nTry 'statcrane --help'\n";
    return kExitUsage;
  }
  return RunCommand(*parsed.command, out, err, progress_on_terminal);
}

int RunCommandLine(int argc, char** argv) {
  // Ctrl-C during a run: the progress line is closed and the reason told.
  SetInterruptMessage("statcrane: interrupted; no workbook was written\n");
  EndOnInterrupt();
  return RunCommandLine(CommandLineArguments(argc, argv), StandardOutput(), StandardError(),
                        IsTerminal(StandardStream::kError));
}

}  // namespace statcrane

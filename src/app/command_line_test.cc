#include "app/command_line.h"

#include <gtest/gtest.h>
#ifndef _WIN32
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <algorithm>
#include <cctype>
#include <fstream>
#include <iostream>
#include <map>
#include <sstream>
#include <thread>

#include "app/terminal_text.h"
#include "testing/skip.h"
#include "testing/temp_dir.h"
#include "util/platform_console.h"
#include "util/utf8_path.h"

namespace statcrane {
namespace {

namespace fs = std::filesystem;
using testing::TempDir;

// Options start with a dash on every system: "/x" is a path, also on
// Windows, where the parser would take it for an option by default.
TEST(CommandLineTest, SlashesStartPathsNotOptions) {
  const auto parsed = ParseCommandLine({"process", "/home/me/League", "-o", "/o", "/force"});
  EXPECT_FALSE(parsed.command);
  EXPECT_NE(parsed.error.find("'/force'"), std::string::npos) << parsed.error;
  const auto paths = ParseCommandLine({"process", "/home/me/League", "-o", "/h"});
  ASSERT_TRUE(paths.command) << paths.error;
  EXPECT_EQ(paths.command->run.encyclopedia_folder, "/home/me/League");
  EXPECT_EQ(paths.command->run.output, "/h");
}

TEST(CommandLineTest, ParsesProcessWithValuesApartOrAfterEquals) {
  for (const auto& args : std::vector<std::vector<std::string>>{
           {"process", "enc", "-o", "out.xlsx", "--sheets", "teams-only", "--force", "--timings",
            "--threads", "3", "--quiet", "--strict", "--index"},
           {"process", "--output=out.xlsx", "--index", "--sheets=teams-only", "--threads=3", "enc",
            "--force", "--timings", "--quiet", "--strict"}}) {
    const auto parsed = ParseCommandLine(args);
    ASSERT_TRUE(parsed.command) << parsed.error;
    const CommandLine& command = *parsed.command;
    EXPECT_EQ(command.action, CommandLine::Action::kProcess);
    EXPECT_EQ(command.run.encyclopedia_folder, "enc");
    EXPECT_EQ(command.run.output, "out.xlsx");
    EXPECT_EQ(command.run.sheets, SheetChoice::kTeamsOnly);
    EXPECT_EQ(command.run.threads, 3);
    EXPECT_TRUE(command.run.overwrite && command.timings && command.quiet && command.strict);
    EXPECT_EQ(command.run.index, IndexChoice::kIndex);
    EXPECT_FALSE(command.open);
  }
  const auto plain = ParseCommandLine({"process", "enc", "-o", "x.xlsx"});
  ASSERT_TRUE(plain.command);
  EXPECT_EQ(plain.command->run.sheets, SheetChoice::kPlayersAndTeams);
  EXPECT_EQ(plain.command->run.threads, 0);
  EXPECT_EQ(plain.command->run.index, IndexChoice::kNone);
  EXPECT_EQ(plain.command->run.leaders, LeadersChoice::kNone);
  const auto leaders =
      ParseCommandLine({"process", "enc", "-o", "x.xlsx", "--leaders", "--sheets=players-only"});
  ASSERT_TRUE(leaders.command) << leaders.error;
  EXPECT_EQ(leaders.command->run.leaders, LeadersChoice::kLeaders);
  EXPECT_EQ(ParseCommandLine({"--version"}).command->action, CommandLine::Action::kVersion);
  EXPECT_EQ(ParseCommandLine({"process", "--help"}).command->action, CommandLine::Action::kHelp);
  EXPECT_EQ(ParseCommandLine({"-h"}).command->action, CommandLine::Action::kHelp);
}

TEST(CommandLineTest, UsageErrorsSayWhatIsWrongInOneLine) {
  const std::pair<std::vector<std::string>, std::string> cases[] = {
      {{}, "no command given"},
      {{"convert", "x"}, "unknown command 'convert'"},
      {{"--bogus"}, "unknown option '--bogus'"},
      {{"process", "a", "-o", "x", "--bogus"}, "unknown option '--bogus'"},
      {{"process", "a", "-o", "x", "--bogus=1"}, "unknown option '--bogus=1'"},
      {{"process", "enc"}, "no workbook given: -o OUT.xlsx"},
      {{"process", "-o", "x.xlsx"}, "no encyclopedia folder given"},
      {{"process", "enc", "-o"}, "-o needs a value: the workbook to write"},
      {{"process", "enc", "--output", "--force"}, "--output needs a value"},
      {{"process", "enc", "-o", "x", "--sheets"},
       "--sheets needs a value: players-and-teams, teams-only or players-only"},
      {{"process", "enc", "-o", "x", "--sheets", "all"},
       "--sheets takes players-and-teams, teams-only or players-only, not 'all'"},
      {{"process", "enc", "-o", "x", "--sheets=all"}, "not 'all'"},
      {{"process", "enc", "-o", "x", "--sheets=teams-only", "--sheets=players-only"},
       "--sheets is given more than once ('teams-only', 'players-only'); give it once"},
      {{"process", "enc", "-o", "x.xlsx", "-o", "y.xlsx"},
       "-o/--output is given more than once ('x.xlsx', 'y.xlsx')"},
      {{"process", "a", "b", "-o", "x"}, "unexpected argument 'b'"},
      {{"process", "a", "-o", "x", "--threads", "-1"},
       "--threads needs a value: a whole number from 0 to 1024"},
      {{"process", "a", "-o", "x", "--threads=many"},
       "--threads takes a whole number from 0 to 1024 (0: one per processor), not 'many'"},
      {{"process", "a", "-o", "x", "--threads=1025"}, "not '1025'"},
      {{"process", "a", "-o", "x", "--force=maybe"}, "--force takes no value"},
      {{"proces", "a", "-o", "x"}, "unknown command 'proces'; did you mean 'process'?"},
      {{"Process", "a"}, "did you mean 'process'?"},
      {{"porcess", "a"}, "did you mean 'process'?"},
      {{"samples/league", "-o", "x"},
       "unknown command 'samples/league': the command comes first (statcrane process "
       "samples/league -o OUT.xlsx)"},
      {{"convert"}, "unknown command 'convert'; the command is 'process'"},
      {{"process", "a", "-o", "x", "--leaders", "--sheets", "teams-only"},
       "--leaders needs the player sheets: not with --sheets teams-only"},
  };
  for (const auto& [args, expected] : cases) {
    const auto parsed = ParseCommandLine(args);
    EXPECT_FALSE(parsed.command) << ::testing::PrintToString(args);
    EXPECT_NE(parsed.error.find(expected), std::string::npos)
        << ::testing::PrintToString(args) << ": " << parsed.error;
    EXPECT_EQ(parsed.error.find('\n'), std::string::npos) << parsed.error;
  }
}

TEST(CommandLineTest, UsageErrorIsExitStatusTwoWithAPointerToHelp) {
  std::ostringstream out, err;
  const int status = RunCommandLine({"process", "enc", "--bogus"}, out, err, false);
  EXPECT_EQ(status, kExitUsage);
  EXPECT_EQ(out.str(), "");
  EXPECT_EQ(err.str(), "statcrane: unknown option '--bogus'\nTry 'statcrane --help'\n");

  // The folder given without the command, an existing one by its name alone.
  TempDir dir;
  fs::create_directory(dir / "league");
  const fs::path here = fs::current_path();
  fs::current_path(dir.path());
  err.str("");
  EXPECT_EQ(RunCommandLine({"league"}, out, err, false), kExitUsage);
  fs::current_path(here);
  EXPECT_EQ(err.str(),
            "statcrane: unknown command 'league': the command comes first (statcrane process "
            "league -o OUT.xlsx)\nTry 'statcrane --help'\n");
}

TEST(CommandLineTest, HelpListsTheExitStatuses) {
  const std::string help = UsageText();
  for (const char* text :
       {"--quiet", "--strict", "--threads", "0  the workbook was written", "1  the run failed",
        "2  the command line was wrong", "3  the workbook was written with warnings"}) {
    EXPECT_NE(help.find(text), std::string::npos) << text;
  }
}

TEST(TerminalTextTest, MessagesAfterTheProgramNameStartSmallAndEndWithoutAFullStop) {
  EXPECT_EQ(AfterProgramName("The folder \"x\" does not exist."),
            "the folder \"x\" does not exist");
  EXPECT_EQ(AfterProgramName("A season type..."), "a season type..");
  EXPECT_EQ(AfterProgramName("ENCPLYR.DAT is cut short"), "ENCPLYR.DAT is cut short");
  EXPECT_EQ(AfterProgramName("Cannot read \x1b[2J"), "cannot read ?[2J");
}

TEST(TerminalTextTest, ControlCharactersAreReplaced) {
  EXPECT_EQ(ReplaceControlCharacters("Smith,\x1b]0;owned\x07John\x1b[2J"),
            "Smith,?]0;owned?John?[2J");
  EXPECT_EQ(ReplaceControlCharacters("a\tb\nc\x7f"), "a?b?c?");
  EXPECT_EQ(ReplaceControlCharacters("a\nb\r\n", true), "a\nb?\n");
  // C1 controls (U+009B is a one-character CSI) go; other characters stay.
  EXPECT_EQ(ReplaceControlCharacters("x\xc2\x9b"
                                     "2Jy"),
            "x?2Jy");
  EXPECT_EQ(ReplaceControlCharacters("Mu\xc3\xb1oz \xc2\xa0ok"), "Mu\xc3\xb1oz \xc2\xa0ok");
  // C1 controls as raw bytes (not UTF-8): a terminal in a single-byte
  // character set takes 0x9B for a CSI. Every byte that is not UTF-8 goes;
  // the same bytes inside a valid character stay.
  EXPECT_EQ(ReplaceControlCharacters("a\x9b"
                                     "2Jb\x85\x80\xff"),
            "a?2Jb???");
  EXPECT_EQ(ReplaceControlCharacters("\xe2\x80\x9b \xf0\x9f\x98\x80"),
            "\xe2\x80\x9b \xf0\x9f\x98\x80");                            // U+201B, an emoji
  EXPECT_EQ(ReplaceControlCharacters("\xe2\x80"), "??");                 // cut short
  EXPECT_EQ(ReplaceControlCharacters("\xc0\x9b\xed\xa0\x80"), "?????");  // overlong, surrogate
  EXPECT_EQ(CutToWidth("Mu\xc3\xb1oz", 3), "Mu\xc3\xb1");
  EXPECT_EQ(DisplayWidth("Mu\xc3\xb1oz"), 5u);
}

// What a terminal shows after `written`: the text after the last carriage
// return drawn over the line, column by column.
std::string Screen(const std::string& written) {
  std::string line;
  size_t column = 0;
  for (const char c : written) {
    if (c == '\r') {
      column = 0;
    } else if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) {
      if (column < line.size())
        line[column] = c;
      else
        line += c;
      ++column;
    }
  }
  return line;
}

TEST(TerminalProgressTest, FitsTheWidthNamesThePhaseAndClearsAtTheEnd) {
  std::ostringstream err;
  int width = 60;
  {
    TerminalProgress progress(
        err, [&] { return width; }, std::chrono::milliseconds(0));
    progress.PhaseProgress("reading", 0, 0);
    progress.PhaseProgress("players", 1, 4);
    progress.ProgressText("Featherstonehaugh-Cholmondeley,Bartholomew Maximilian\x1b]0;x\x07");
    progress.PhaseProgress("players", 4, 4);  // a finished phase is always drawn
    EXPECT_EQ(Screen(err.str()).substr(0, 13), "Players 100 %");
    progress.PhaseProgress("writing", 21, 50);
    EXPECT_EQ(Screen(err.str()).find_last_not_of(' ') + 1,
              std::string("Writing workbook 42 %").size())
        << "a shorter line is drawn over the longer one";
    progress.PhaseProgress("unknown phase", 1, 2);  // ignored
    progress.PhaseProgress("writing", 50, 50);
    width = 20;  // the terminal made narrower
    progress.PhaseProgress("writing", 49, 50);
    progress.Clear();
  }
  const std::string written = err.str();
  EXPECT_EQ(written.find('\n'), std::string::npos) << "the line never wraps or breaks";
  EXPECT_EQ(written.find('\x1b'), std::string::npos);
  size_t start = 0;
  for (size_t end; (end = written.find('\r', start)) != std::string::npos; start = end + 1) {
    EXPECT_LE(written.substr(start, end - start).size(), 59u) << written.substr(start, end - start);
  }
  EXPECT_NE(written.find("Players 25 %"), std::string::npos);
  EXPECT_NE(written.find("Writing workbook 100 %"), std::string::npos);
  EXPECT_NE(written.find("\rWriting workbook 98\r"), std::string::npos) << "cut to 19 columns";
  EXPECT_EQ(written.find("unknown"), std::string::npos);
  EXPECT_EQ(Screen(written).find_first_not_of(' '), std::string::npos) << "cleared at the end";
}

fs::path Sample() { return fs::path(STATCRANE_SOURCE_DIR) / "samples" / "sample-encyclopedia"; }

// The sample's files, all or those named, copied into `folder`.
void CopySample(const fs::path& folder, std::vector<std::string> names = {}) {
  for (const auto& entry : fs::directory_iterator(Sample())) {
    const std::string name = entry.path().filename().string();
    if (names.empty() || std::find(names.begin(), names.end(), name) != names.end()) {
      fs::copy_file(entry.path(), folder / name);
    }
  }
}

std::string Contents(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

// Ctrl-C during a run ends the program with 130 and a message; a progress
// line on the terminal is closed first, so that the message has a line of
// its own. In a child process, whose standard error is a pipe.
TEST(InterruptTest, TheProgressLineIsClosedBeforeTheMessage) {
  SKIP_ON_WINDOWS(testing::kNeedsChildProcess);
#ifndef _WIN32
  const auto interrupted = [](bool clear_first, int& status) {
    int fds[2];
    if (pipe(fds) != 0) return std::string("no pipe");
    const pid_t child = fork();
    if (child == 0) {
      dup2(fds[1], STDERR_FILENO);
      signal(SIGINT, SIG_DFL);  // even when the tests were started with it ignored
      SetInterruptMessage("statcrane: interrupted\n");
      EndOnInterrupt();
      TerminalProgress progress(
          std::cerr, [] { return 80; }, std::chrono::milliseconds(0));
      progress.PhaseProgress("writing", 6, 100);
      if (clear_first) progress.Clear();
      raise(SIGINT);
      _exit(0);
    }
    close(fds[1]);
    std::string written;
    char buffer[256];
    for (ssize_t n; (n = read(fds[0], buffer, sizeof buffer)) > 0;) written.append(buffer, n);
    close(fds[0]);
    waitpid(child, &status, 0);
    return written;
  };
  int status = 0;
  EXPECT_EQ(interrupted(false, status), "\rWriting workbook 6 %\nstatcrane: interrupted\n");
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 130) << status;
  const std::string cleared = interrupted(true, status);
  EXPECT_TRUE(cleared.ends_with("\r" + std::string(20, ' ') + "\rstatcrane: interrupted\n"))
      << cleared;
#endif
}

class CommandLineRunTest : public ::testing::Test {
 protected:
  void SetUp() override { CopySample(dir_.path()); }

  int Run(std::vector<std::string> args) {
    const auto parsed = ParseCommandLine(args);
    EXPECT_TRUE(parsed.command) << parsed.error;
    out_.str("");
    err_.str("");
    return RunCommand(*parsed.command, out_, err_, false);
  }
  std::string Folder() const { return dir_.path().string(); }

  TempDir dir_;
  TempDir out_dir_;
  std::ostringstream out_;
  std::ostringstream err_;
};

TEST_F(CommandLineRunTest, RefusesWhatCannotWorkBeforeReading) {
  const std::string out = (out_dir_ / "x.xlsx").string();
  const std::pair<std::vector<std::string>, std::string> cases[] = {
      {{"process", (dir_ / "missing").string(), "-o", out}, "does not exist"},
      {{"process", out_dir_.path().string(), "-o", out}, "encteam.dat"},
      {{"process", Folder(), "-o", (dir_ / "no/such/x.xlsx").string()}, "does not exist"},
      {{"process", Folder(), "-o", out_dir_.path().string()}, "is a folder"},
#ifdef _WIN32
      {{"process", Folder(), "-o", "NUL", "--force"}, "must end in .xlsx"},
      {{"process", Folder(), "-o", (out_dir_ / "CON.xlsx").string(), "--force"}, "device"},
#else
      {{"process", Folder(), "-o", "/proc/x.xlsx", "--force"}, "kernel file system (proc)"},
      {{"process", Folder(), "-o", "/dev/null.xlsx", "--force"}, "kernel file system"},
#endif
      // The workbook's name.
      {{"process", Folder(), "-o", (out_dir_ / "x.csv").string()}, "must end in .xlsx"},
      {{"process", Folder(), "-o", (out_dir_ / "noext").string()},
       "\"" + (out_dir_ / "noext").string() + "\" does not"},
      {{"process", Folder(), "-o", "-"}, "cannot go to standard output"},
      {{"process", Folder(), "-o", (out_dir_ / (std::string(251, 'n') + ".xlsx")).string()},
       "is too long: it has 256 "},
  };
  for (const auto& [args, expected] : cases) {
    EXPECT_EQ(Run(args), kExitFailed) << args[3];
    EXPECT_NE(err_.str().find(expected), std::string::npos) << err_.str();
    EXPECT_EQ(out_.str(), "") << "refused before the run, so no report";
    // One line, in small letters after the program's name, no full stop.
    const std::string err = err_.str();
    EXPECT_TRUE(err.starts_with("statcrane: ") && err.find('\n') == err.size() - 1) << err;
    EXPECT_TRUE(std::islower(static_cast<unsigned char>(err[11])) || err[11] == '"' ||
                err[11] == '-')
        << err;
    EXPECT_FALSE(err.ends_with(".\n")) << err;
  }
  EXPECT_TRUE(fs::is_empty(out_dir_.path()));
  EXPECT_TRUE(Run({"process", Folder(), "-o", (out_dir_ / "Book.XLSX").string()}) == kExitDone)
      << err_.str();
}

// The game's files are never written: not under their names in the
// encyclopedia's folder, in any mix of capitals and whether the file is
// there or not, and not the same file by another name or through a link.
// Refused with or without --force, before anything is read.
TEST_F(CommandLineRunTest, NeverWritesTheEncyclopediasFiles) {
  std::vector<std::string> names;
  for (std::string name : {"ENCTEAM.DAT", "ENCPLYR.DAT", "ENCPLSTATS.DAT", "encleag.dat",
                           "enclgyr.dat", "enctmyr.dat"}) {
    std::string lower = name, upper = name, mixed = name;
    for (size_t i = 0; i < name.size(); ++i) {
      lower[i] = static_cast<char>(std::tolower(name[i]));
      upper[i] = static_cast<char>(std::toupper(name[i]));
      mixed[i] = static_cast<char>(i % 2 ? std::toupper(name[i]) : std::tolower(name[i]));
    }
    names.insert(names.end(), {lower, upper, mixed});
  }
  std::map<std::string, std::string> before;
  for (const auto& entry : fs::directory_iterator(dir_.path())) {
    before[entry.path().filename().string()] = Contents(entry.path());
  }
  const auto check = [&](const fs::path& output) {
    for (const bool force : {false, true}) {
      std::vector<std::string> args = {"process", Folder(), "-o", Utf8FromPath(output)};
      if (force) args.push_back("--force");
      EXPECT_EQ(Run(args), kExitFailed) << output;
      EXPECT_NE(err_.str().find("the game's files are only read, never written"), std::string::npos)
          << err_.str();
      EXPECT_EQ(err_.str().find("--force"), std::string::npos) << err_.str();
      EXPECT_EQ(out_.str(), "") << "refused before reading";
    }
  };
  for (const std::string& name : names) check(dir_ / name);
  // Another way to the same folder.
  fs::create_directory(dir_ / "sub");
  check(dir_ / "sub" / ".." / "encteam.dat");
#ifndef _WIN32
  // The same file through a link or under another name.
  fs::create_symlink(dir_ / "ENCTEAM.DAT", out_dir_ / "teams.xlsx");
  check(out_dir_ / "teams.xlsx");
  fs::create_hard_link(dir_ / "ENCPLYR.DAT", out_dir_ / "players.xlsx");
  check(out_dir_ / "players.xlsx");
  fs::create_directory_symlink(dir_.path(), out_dir_ / "league");
  check(out_dir_ / "league" / "EncTmYr.Dat");
#endif
  fs::remove(dir_ / "sub");
  std::map<std::string, std::string> after;
  for (const auto& entry : fs::directory_iterator(dir_.path())) {
    after[entry.path().filename().string()] = Contents(entry.path());
  }
  EXPECT_TRUE(before == after) << "the encyclopedia is as it was";

  // The run the window starts refuses the same.
  RunOptions options;
  options.encyclopedia_folder = dir_.path();
  options.output = dir_ / "EncPlStats.dat";
  options.overwrite = true;
  RunObserver observer;
  const RunResult result = RunProcessing(options, observer, nullptr);
  ASSERT_FALSE(result.error.empty());
  EXPECT_NE(result.error.find("only read"), std::string::npos);
  EXPECT_TRUE(result.report.files.empty()) << "nothing was read";
  EXPECT_TRUE(result.output.empty());
}

// A run that finds no player and no team writes no workbook and fails.
TEST_F(CommandLineRunTest, NothingToWriteIsAFailureWithoutAWorkbook) {
  TempDir bare;
  CopySample(bare.path(), {"ENCTEAM.DAT", "ENCPLYR.DAT"});
  const fs::path out = out_dir_ / "empty.xlsx";
  for (const char* sheets : {"players-and-teams", "teams-only", "players-only"}) {
    EXPECT_EQ(Run({"process", bare.path().string(), "-o", out.string(), "--sheets", sheets}),
              kExitFailed);
    EXPECT_TRUE(err_.str().starts_with("statcrane: nothing to write: ")) << err_.str();
    EXPECT_NE(err_.str().find("no workbook was written"), std::string::npos) << err_.str();
    EXPECT_NE(out_.str().find("Players written: 0"), std::string::npos) << "the report tells";
  }
  EXPECT_EQ(err_.str(),
            "statcrane: nothing to write: no player of the encyclopedia has a statistics line "
            "(1 file missing: ENCPLSTATS.DAT); no workbook was written\n");
  EXPECT_TRUE(fs::is_empty(out_dir_.path()));
}

// --open asks the desktop which application opens .xlsx files and says so
// when there is none. Fake desktop programs on PATH stand for the real ones.
TEST_F(CommandLineRunTest, OpenSaysWhenNoApplicationOpensWorkbooks) {
  SKIP_ON_WINDOWS("the desktop's programs are found on PATH");
#ifndef _WIN32
  TempDir bin;
  const auto program = [&](const char* name, const std::string& body) {
    std::ofstream(bin / name) << "#!/bin/sh\n" << body << "\n";
    fs::permissions(bin / name, fs::perms::owner_all);
  };
  program("xdg-mime", "exit 0");  // knows no application
  program("xdg-open", "/usr/bin/touch \"$1.opened\"");
  const std::string path = std::getenv("PATH");
  setenv("PATH", bin.path().c_str(), 1);
  const fs::path out = out_dir_ / "open.xlsx";
  EXPECT_EQ(Run({"process", Folder(), "-o", out.string(), "--open", "--quiet"}), kExitDone);
  EXPECT_EQ(err_.str(),
            "statcrane: --open: no application is set to open .xlsx files; the "
            "workbook is " +
                out.string() + "\n");

  program("xdg-mime", "echo calc.desktop");
  EXPECT_EQ(Run({"process", Folder(), "-o", out.string(), "--open", "--quiet", "--force"}),
            kExitDone);
  setenv("PATH", path.c_str(), 1);
  EXPECT_EQ(err_.str(), "");
  for (int i = 0; i < 500 && !fs::exists(out.string() + ".opened"); ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  EXPECT_TRUE(fs::exists(out.string() + ".opened"));
#endif
}

TEST_F(CommandLineRunTest, TimingsInWordsWithATotal) {
  EXPECT_EQ(
      Run({"process", Folder(), "-o", (out_dir_ / "t.xlsx").string(), "--timings", "--quiet"}),
      kExitDone);
  const std::string out = out_.str();
  for (const char* line : {"Time taken", "  Reading the encyclopedia", "  Player sheets",
                           "  Team sheets", "  Saving the workbook", "  Total"}) {
    EXPECT_NE(out.find(line), std::string::npos) << line << " in\n" << out;
  }
  EXPECT_EQ(out.find("walk"), std::string::npos) << out;
}

TEST_F(CommandLineRunTest, NeverReplacesAnExistingFileWithoutForce) {
  const auto out = out_dir_ / "x.xlsx";
  { std::ofstream(out) << "mine"; }
  EXPECT_EQ(Run({"process", Folder(), "-o", out.string()}), kExitFailed);
  EXPECT_NE(err_.str().find("--force"), std::string::npos);
  {
    // Closed before the file is replaced: Windows replaces no open file.
    std::ifstream in(out);
    std::string content;
    in >> content;
    EXPECT_EQ(content, "mine");
  }

  EXPECT_EQ(Run({"process", Folder(), "-o", out.string(), "--force", "--sheets", "teams-only"}),
            kExitDone)
      << err_.str();
  EXPECT_GT(fs::file_size(out), 1000u);
}

TEST_F(CommandLineRunTest, WarningsAreSummedUpOnStderrAndStrictMakesThemStatusThree) {
  // The team files without the league files: two files are missing.
  TempDir teams;
  CopySample(teams.path(), {"ENCTEAM.DAT", "enctmyr.dat"});
  const auto out = out_dir_ / "teams.xlsx";
  EXPECT_EQ(Run({"process", teams.path().string(), "-o", out.string(), "--sheets", "teams-only"}),
            kExitDone)
      << err_.str();
  EXPECT_TRUE(fs::exists(out));
  EXPECT_EQ(err_.str(), "statcrane: completed with warnings: 2 files missing (see the report)\n");
  EXPECT_NE(out_.str().find("Workbook: " + out.string()), std::string::npos) << out_.str();
  EXPECT_NE(out_.str().find("enclgyr.dat"), std::string::npos);

  EXPECT_EQ(Run({"process", teams.path().string(), "-o", out.string(), "--force",
                 "--sheets=teams-only", "--strict", "--quiet"}),
            kExitWithWarnings);
  EXPECT_EQ(out_.str(), "") << "--quiet drops the report";
  EXPECT_NE(err_.str().find("2 files missing"), std::string::npos);
}

// Folders and names in any script, with blanks, up to 240 characters: the
// arguments arrive as UTF-8 on every system and reach the files unchanged.
TEST_F(CommandLineRunTest, FoldersAndNamesInAnyScript) {
  const fs::path league = dir_.path() / PathFromUtf8("Лига € é");
  fs::create_directory(league);
  for (const auto& entry :
       fs::directory_iterator(fs::path(STATCRANE_SOURCE_DIR) / "samples" / "sample-encyclopedia")) {
    fs::copy_file(entry.path(), league / entry.path().filename());
  }
  const fs::path out_folder = out_dir_.path() / PathFromUtf8("Sortie été");
  fs::create_directory(out_folder);
  for (const std::string& name :
       {std::string("Ligue € été.xlsx"), std::string(235, 'n') + ".xlsx"}) {
    const fs::path out = out_folder / PathFromUtf8(name);
    EXPECT_EQ(Run({"process", Utf8FromPath(league), "-o", Utf8FromPath(out), "--quiet"}), kExitDone)
        << err_.str();
    EXPECT_TRUE(fs::is_regular_file(out)) << name;
    EXPECT_EQ(Run({"process", Utf8FromPath(league), "-o", Utf8FromPath(out)}), kExitFailed);
    EXPECT_NE(err_.str().find(Utf8FromPath(out)), std::string::npos) << err_.str();
  }
  EXPECT_EQ(std::distance(fs::directory_iterator(out_folder), fs::directory_iterator()), 2);
}

TEST_F(CommandLineRunTest, TextsFromTheFolderReachTheTerminalWithoutControlCharacters) {
  SKIP_ON_WINDOWS("names on Windows cannot hold control characters");
  TempDir odd;
  const fs::path folder = odd / "league\x1b]0;owned\x07\x9b";
  fs::create_directory(folder);
  CopySample(folder);
  const fs::path out = out_dir_ / "book\x1b[2J.xlsx";
  EXPECT_EQ(Run({"process", folder.string(), "-o", out.string(), "--sheets", "teams-only"}),
            kExitDone);
  EXPECT_TRUE(fs::exists(out));
  EXPECT_EQ(out_.str().find('\x1b'), std::string::npos) << out_.str();
  EXPECT_NE(out_.str().find("book?[2J.xlsx"), std::string::npos) << out_.str();
  EXPECT_EQ(Run({"process", (odd / "gone\x1b[2J\x9b\xc2\x9b\x7f").string(), "-o", out.string()}),
            kExitFailed);
  for (const char control : {'\x1b', '\x9b', '\x7f'}) {
    EXPECT_EQ(err_.str().find(control), std::string::npos) << err_.str();
  }
  // A usage error names the argument the same way.
  std::ostringstream usage_out, usage_err;
  EXPECT_EQ(RunCommandLine({"gone\x9b[2J", "-o", "x.xlsx"}, usage_out, usage_err, false),
            kExitUsage);
  EXPECT_EQ(usage_err.str().find('\x9b'), std::string::npos) << usage_err.str();
}

}  // namespace
}  // namespace statcrane

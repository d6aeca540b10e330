#include "app/command_line.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "testing/temp_dir.h"

namespace statcrane {
namespace {

using testing::TempDir;

TEST(CommandLineTest, ParsesProcess) {
  const auto parsed = ParseCommandLine(
      {"process", "enc", "-o", "out.xlsx", "--sheets", "teams-only", "--force", "--timings"});
  ASSERT_TRUE(parsed.command) << parsed.error;
  EXPECT_EQ(parsed.command->action, CommandLine::Action::kProcess);
  EXPECT_EQ(parsed.command->run.EncyclopediaFolder, "enc");
  EXPECT_EQ(parsed.command->run.output, "out.xlsx");
  EXPECT_EQ(parsed.command->run.sheets, SheetChoice::kTeamsOnly);
  EXPECT_TRUE(parsed.command->run.overwrite);
  EXPECT_TRUE(parsed.command->timings);
  EXPECT_FALSE(parsed.command->open);
}

TEST(CommandLineTest, RejectsBadArguments) {
  EXPECT_FALSE(ParseCommandLine({}).command);
  EXPECT_FALSE(ParseCommandLine({"convert", "x"}).command);
  EXPECT_FALSE(ParseCommandLine({"process", "enc"}).command);           // no -o
  EXPECT_FALSE(ParseCommandLine({"process", "-o", "x.xlsx"}).command);  // no folder
  EXPECT_FALSE(ParseCommandLine({"process", "enc", "-o"}).command);
  EXPECT_FALSE(ParseCommandLine({"process", "enc", "-o", "x", "--sheets", "all"}).command);
  EXPECT_FALSE(ParseCommandLine({"process", "a", "b", "-o", "x"}).command);
  EXPECT_FALSE(ParseCommandLine({"process", "a", "-o", "x", "--fast"}).command);
  EXPECT_EQ(ParseCommandLine({"--version"}).command->action, CommandLine::Action::kVersion);
  EXPECT_EQ(ParseCommandLine({"process", "--help"}).command->action, CommandLine::Action::kHelp);
}

class CommandLineRunTest : public ::testing::Test {
 protected:
  void SetUp() override { dir_.WriteFile("EncTeam.dat", {}); }

  int Run(std::vector<std::string> args) {
    const auto parsed = ParseCommandLine(args);
    EXPECT_TRUE(parsed.command) << parsed.error;
    out_.str("");
    err_.str("");
    return RunCommand(*parsed.command, out_, err_, false);
  }

  TempDir dir_;
  TempDir out_dir_;
  std::ostringstream out_;
  std::ostringstream err_;
};

TEST_F(CommandLineRunTest, RefusesWhatCannotWork) {
  const std::string out = (out_dir_ / "x.xlsx").string();
  EXPECT_EQ(Run({"process", (dir_ / "missing").string(), "-o", out}), 1);
  EXPECT_NE(err_.str().find("does not exist"), std::string::npos);

  TempDir empty;
  EXPECT_EQ(Run({"process", empty.path().string(), "-o", out}), 1);
  EXPECT_NE(err_.str().find("encteam.dat"), std::string::npos);

  EXPECT_EQ(Run({"process", dir_.path().string(), "-o", (dir_ / "no/such/x.xlsx").string()}), 1);
  EXPECT_NE(err_.str().find("does not exist"), std::string::npos);

  EXPECT_EQ(Run({"process", dir_.path().string(), "-o", out_dir_.path().string()}), 1);
  EXPECT_NE(err_.str().find("is a folder"), std::string::npos);
}

TEST_F(CommandLineRunTest, NeverReplacesAnExistingFileWithoutForce) {
  const auto out = out_dir_ / "x.xlsx";
  { std::ofstream(out) << "mine"; }
  EXPECT_EQ(Run({"process", dir_.path().string(), "-o", out.string()}), 1);
  EXPECT_NE(err_.str().find("--force"), std::string::npos);
  std::ifstream in(out);
  std::string content;
  in >> content;
  EXPECT_EQ(content, "mine");

  EXPECT_EQ(Run({"process", dir_.path().string(), "-o", out.string(), "--force", "--sheets",
                 "teams-only"}),
            0)
      << err_.str();
  EXPECT_GT(std::filesystem::file_size(out), 1000u);
}

TEST_F(CommandLineRunTest, WritesTheWorkbookAndTheReport) {
  const auto out = out_dir_ / "teams.xlsx";
  EXPECT_EQ(Run({"process", dir_.path().string(), "-o", out.string(), "--sheets", "teams-only",
                 "--timings"}),
            0)
      << err_.str();
  EXPECT_TRUE(std::filesystem::exists(out));
  EXPECT_NE(out_.str().find("workbook: " + out.string()), std::string::npos);
  EXPECT_NE(out_.str().find("time writing"), std::string::npos);
}

}  // namespace
}  // namespace statcrane

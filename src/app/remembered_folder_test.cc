#include "app/remembered_folder.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "testing/temp_dir.h"
#include "util/error.h"

namespace statcrane {
namespace {

namespace fs = std::filesystem;
using testing::TempDir;

std::string FileBytes(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

void WriteText(const fs::path& file, std::string_view text) {
  std::ofstream(file, std::ios::binary) << text;
}

TEST(RememberedValueTest, WritesTheFolderInQuotesFollowedByCrLf) {
  EXPECT_EQ(FormatRememberedValue("/games/My League/enc"), "\"/games/My League/enc\"\r\n");
  EXPECT_EQ(FormatRememberedValue(fs::path(u8"/ligue/\u00e9t\u00e9")),
            "\"/ligue/\xc3\xa9t\xc3\xa9\"\r\n");
}

TEST(RememberedValueTest, ReadsTheTextBetweenTheQuotesAfterLeadingBlanks) {
  EXPECT_EQ(ParseRememberedValue("\"/games/enc\"\r\n"), fs::path("/games/enc"));
  EXPECT_EQ(ParseRememberedValue("  \t\"/a b/c\"  junk\r\n"), fs::path("/a b/c"));
  EXPECT_EQ(ParseRememberedValue("\r\n\"/after/blank/line\""), fs::path("/after/blank/line"));
  EXPECT_EQ(ParseRememberedValue("\"/no/closing/quote"), fs::path("/no/closing/quote"));
  EXPECT_EQ(ParseRememberedValue("/unquoted/folder  \r\nsecond line"),
            fs::path("/unquoted/folder"));
  EXPECT_EQ(ParseRememberedValue(""), std::nullopt);
  EXPECT_EQ(ParseRememberedValue("   \r\n"), std::nullopt);
  EXPECT_EQ(ParseRememberedValue("\"\"\r\n"), std::nullopt);
  const fs::path odd(u8"/ligue/\u00e9t\u00e9, 2011");
  EXPECT_EQ(ParseRememberedValue(FormatRememberedValue(odd)), odd);
}

TEST(RememberedFolderFileTest, FirstStartCreatesTheFileHoldingTheProgramFolder) {
  TempDir dir;
  const fs::path program = dir / "prog";
  fs::create_directories(program);
  RememberedFolderFile first(program, dir / "config");
  EXPECT_EQ(first.read_path(), std::nullopt);
  EXPECT_EQ(first.data_folder(), program / "data");
  EXPECT_EQ(FileBytes(program / "data" / "STATCRANE.txt"), "\"" + program.string() + "\"\r\n");
  EXPECT_FALSE(fs::exists(dir / "config"));

  // The next start reads the program folder back; after a run, the run's folder.
  RememberedFolderFile second(program, dir / "config");
  EXPECT_EQ(second.read_path(), program);
  second.Save(dir / "league one");
  EXPECT_EQ(FileBytes(program / "data" / "STATCRANE.txt"),
            "\"" + (dir / "league one").string() + "\"\r\n");
  RememberedFolderFile third(program, dir / "config");
  EXPECT_EQ(third.read_path(), dir / "league one");
}

TEST(RememberedFolderFileTest, UnwritableProgramFolderFallsBackToTheConfigurationFolder) {
  TempDir dir;
  const fs::path program = dir / "prog";
  fs::create_directories(program);
  // A plain file named "data" keeps the data folder from being created, as a
  // read-only installation folder would (tests may run with every permission).
  WriteText(program / "data", "not a folder");
  RememberedFolderFile first(program, dir / "config" / "StatCrane");
  EXPECT_EQ(first.read_path(), std::nullopt);
  EXPECT_EQ(first.data_folder(), dir / "config" / "StatCrane");
  EXPECT_EQ(FileBytes(dir / "config" / "StatCrane" / "STATCRANE.txt"),
            "\"" + program.string() + "\"\r\n");
  first.Save(dir / "enc");

  RememberedFolderFile second(program, dir / "config" / "StatCrane");
  EXPECT_EQ(second.read_path(), dir / "enc");
}

TEST(RememberedFolderFileTest, NowhereToWriteIsPathFileAccessError) {
  TempDir dir;
  WriteText(dir / "prog", "a file, not a folder");
  WriteText(dir / "config", "a file, not a folder");
  RememberedFolderFile file(dir / "prog", dir / "config");
  try {
    file.read_path();
    FAIL() << "expected an error";
  } catch (const StatCraneError& error) {
    EXPECT_NE(error.message().find("STATCRANE.txt"), std::string::npos);
  }
}

TEST(RememberedFolderFileTest, OutputFolderIsKeptBesideTheRememberedFolder) {
  TempDir dir;
  RememberedFolderFile file(dir.path(), dir / "config");
  file.read_path();
  EXPECT_EQ(file.ReadOutputFolder(), std::nullopt);
  file.SaveOutputFolder(dir / "Workbooks");
  EXPECT_EQ(FileBytes(dir / "data" / "OUTPUT.txt"), "\"" + (dir / "Workbooks").string() + "\"\r\n");
  RememberedFolderFile again(dir.path(), dir / "config");
  again.read_path();
  EXPECT_EQ(again.ReadOutputFolder(), dir / "Workbooks");
  // Saving the encyclopedia folder leaves the output folder alone.
  again.Save(dir / "enc");
  EXPECT_EQ(again.ReadOutputFolder(), dir / "Workbooks");
}

}  // namespace
}  // namespace statcrane

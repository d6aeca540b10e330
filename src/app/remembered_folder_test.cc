#include "app/remembered_folder.h"

#include <gtest/gtest.h>
#ifndef _WIN32
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <fstream>
#include <functional>
#include <iterator>
#include <thread>

#include "testing/skip.h"
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
  EXPECT_EQ(first.ReadFolder(), std::nullopt);
  EXPECT_EQ(first.data_folder(), program / "data");
  EXPECT_EQ(FileBytes(program / "data" / "STATCRANE.txt"), "\"" + program.string() + "\"\r\n");
  EXPECT_FALSE(fs::exists(dir / "config"));

  // The next start reads the program folder back; after a run, the run's folder.
  RememberedFolderFile second(program, dir / "config");
  EXPECT_EQ(second.ReadFolder(), program);
  second.Save(dir / "league one");
  EXPECT_EQ(FileBytes(program / "data" / "STATCRANE.txt"),
            "\"" + (dir / "league one").string() + "\"\r\n");
  RememberedFolderFile third(program, dir / "config");
  EXPECT_EQ(third.ReadFolder(), dir / "league one");
}

TEST(RememberedFolderFileTest, UnwritableProgramFolderFallsBackToTheConfigurationFolder) {
  TempDir dir;
  const fs::path program = dir / "prog";
  fs::create_directories(program);
  // A plain file named "data" keeps the data folder from being created, as a
  // read-only installation folder would (tests may run with every permission).
  WriteText(program / "data", "not a folder");
  RememberedFolderFile first(program, dir / "config" / "StatCrane");
  EXPECT_EQ(first.ReadFolder(), std::nullopt);
  EXPECT_EQ(first.data_folder(), dir / "config" / "StatCrane");
  EXPECT_EQ(FileBytes(dir / "config" / "StatCrane" / "STATCRANE.txt"),
            "\"" + program.string() + "\"\r\n");
  first.Save(dir / "enc");

  RememberedFolderFile second(program, dir / "config" / "StatCrane");
  EXPECT_EQ(second.ReadFolder(), dir / "enc");
}

TEST(RememberedFolderFileTest, AnInstalledProgramKeepsItsSettingsInTheConfigurationFolder) {
  TempDir dir;
  RememberedFolderFile first("", dir / "config");
  EXPECT_EQ(first.ReadFolder(), std::nullopt);
  EXPECT_EQ(first.data_folder(), dir / "config");
  EXPECT_EQ(FileBytes(dir / "config" / "STATCRANE.txt"), "\"\"\r\n");
  first.Save(dir / "enc");
  RememberedFolderFile second("", dir / "config");
  EXPECT_EQ(second.ReadFolder(), dir / "enc");
  EXPECT_FALSE(fs::exists("data")) << "nothing beside the current folder";
}

TEST(RememberedFolderFileTest, NowhereToWriteIsAProblemToTellNotAnError) {
  TempDir dir;
  WriteText(dir / "prog", "a file, not a folder");
  WriteText(dir / "config", "a file, not a folder");
  RememberedFolderFile file(dir / "prog", dir / "config");
  EXPECT_EQ(file.ReadFolder(), std::nullopt);
  EXPECT_NE(file.problem().find("STATCRANE.txt"), std::string::npos) << file.problem();
  EXPECT_EQ(file.ReadOutputFolder(), std::nullopt);
  EXPECT_THROW(file.Save(dir / "enc"), StatCraneError);
}

#ifndef _WIN32
// Runs `body` in a child process that must end within a few seconds: a read
// that blocks or never ends fails the test instead of hanging it.
void InAChildWithinSeconds(const std::function<bool()>& body) {
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) _exit(body() ? 0 : 1);
  int status = 0;
  for (int waited = 0; waited < 200; ++waited) {
    if (waitpid(child, &status, WNOHANG) == child) {
      ASSERT_TRUE(WIFEXITED(status)) << "ended by signal " << WTERMSIG(status);
      EXPECT_EQ(WEXITSTATUS(status), 0);
      return;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  kill(child, SIGKILL);
  waitpid(child, &status, 0);
  FAIL() << "still reading after 10 s";
}
#endif

TEST(RememberedFolderFileTest, OnlyASmallRegularFileIsRead) {
  TempDir dir;
  const fs::path data = dir / "prog" / "data";
  const fs::path file = data / "STATCRANE.txt";
#ifndef _WIN32
  // Each entry that is no settings file is passed over for the fallback
  // folder, where a first start begins; a large regular file is ignored.
  const std::pair<std::string, std::function<void()>> cases[] = {
      {"a folder", [&] { fs::create_directories(file); }},
      {"a pipe", [&] { ASSERT_EQ(mkfifo(file.c_str(), 0600), 0); }},
      {"a link to an endless device", [&] { fs::create_symlink("/dev/zero", file); }},
      {"a huge file", [&] { WriteText(file, "\"/enc\"\r\n" + std::string(1 << 20, ' ')); }},
  };
  for (const auto& [what, make] : cases) {
    SCOPED_TRACE(what);
    fs::remove_all(dir / "prog");
    fs::remove_all(dir / "config");
    fs::create_directories(data);
    make();
    InAChildWithinSeconds([&] {
      RememberedFolderFile remembered(dir / "prog", dir / "config");
      return !remembered.ReadFolder() && remembered.problem().empty() &&
             remembered.ReadOutputFolder() == std::nullopt;
    });
  }
#endif
  fs::create_directories(data);
  EXPECT_EQ(ReadSmallRegularFile(file, 100), std::nullopt);
  WriteText(file, "0123456789");
  EXPECT_EQ(ReadSmallRegularFile(file, 10), "0123456789");
  EXPECT_EQ(ReadSmallRegularFile(file, 9), std::nullopt);
  EXPECT_EQ(ReadSmallRegularFile(dir / "none", 10), std::nullopt);
}

TEST(RememberedSettingsTest, FurtherSettingsFollowTheFolderLine) {
  RememberedSettings settings;
  settings.folder = "/games/enc";
  settings.Set("workbook-folder", "/home/me/Workbooks");
  settings.Set("player-index", "1");
  settings.Set("workbook-folder", "/srv/books");
  const std::string text = FormatRememberedSettings(settings);
  EXPECT_EQ(text, "\"/games/enc\"\r\nworkbook-folder \"/srv/books\"\r\nplayer-index \"1\"\r\n");
  // The first line alone is what earlier versions read and write.
  EXPECT_EQ(ParseRememberedValue(text), fs::path("/games/enc"));
  const RememberedSettings back = ParseRememberedSettings(text);
  EXPECT_EQ(back.folder, fs::path("/games/enc"));
  EXPECT_EQ(back.values, settings.values);

  const RememberedSettings old = ParseRememberedSettings("  \"/old/enc\"\r\n");
  EXPECT_EQ(old.folder, fs::path("/old/enc"));
  EXPECT_TRUE(old.values.empty());
  const RememberedSettings odd =
      ParseRememberedSettings("\"/enc\"\nnot a setting\nx \"open\nname \"v\"\n");
  EXPECT_EQ(odd.Get("name"), "v");
  EXPECT_EQ(odd.values.size(), 1u);
}

// A folder named with a line break once put a second, forged setting
// ("workbook-folder ...") into the file; quotes and line breaks are encoded.
TEST(RememberedSettingsTest, ValuesWithLineBreaksOrQuotesReadBackAsOneValue) {
  TempDir dir;
  const fs::path forged = "/tmp/x\r\nworkbook-folder \"/tmp/evil\"\r\n";
  RememberedFolderFile file(dir.path(), dir / "config");
  file.ReadFolder();
  file.Save(forged);
  file.SaveSetting("workbook-folder", "/books/\"50%\" of\ta\nleague");
  const std::string bytes = FileBytes(dir / "data" / "STATCRANE.txt");
  EXPECT_EQ(bytes,
            "\"/tmp/x%0D%0Aworkbook-folder %22/tmp/evil%22%0D%0A\"\r\n"
            "workbook-folder \"/books/%2250%25%22 of%09a%0Aleague\"\r\n");
  RememberedFolderFile again(dir.path(), dir / "config");
  EXPECT_EQ(again.ReadFolder(), forged);
  EXPECT_EQ(again.ReadOutputFolder(), fs::path("/books/\"50%\" of\ta\nleague"));
  // Values of earlier versions: a '%' without two hex digits is itself.
  EXPECT_EQ(ParseRememberedValue("\"/a/100% sure/%zz%4\"\r\n"), fs::path("/a/100% sure/%zz%4"));
  EXPECT_EQ(ParseRememberedSettings("\"/e\"\r\nname \"50%\"\r\n").Get("name"), "50%");
}

TEST(RememberedFolderFileTest, SavingTheFolderKeepsSettingsItDoesNotKnow) {
  TempDir dir;
  fs::create_directories(dir / "data");
  WriteText(dir / "data" / "STATCRANE.txt", "\"/enc\"\r\nfuture-option \"yes\"\r\n");
  RememberedFolderFile file(dir.path(), dir / "config");
  EXPECT_EQ(file.ReadFolder(), fs::path("/enc"));
  file.Save("/other");
  file.SaveSetting("player-index", "1");
  EXPECT_EQ(FileBytes(dir / "data" / "STATCRANE.txt"),
            "\"/other\"\r\nfuture-option \"yes\"\r\nplayer-index \"1\"\r\n");
}

TEST(RememberedFolderFileTest, OutputFolderIsKeptWithTheRememberedFolder) {
  TempDir dir;
  RememberedFolderFile file(dir.path(), dir / "config");
  file.ReadFolder();
  EXPECT_EQ(file.ReadOutputFolder(), std::nullopt);
  // An earlier version's OUTPUT.txt is read while the settings have none.
  WriteText(dir / "data" / "OUTPUT.txt", "\"/old/books\"\r\n");
  EXPECT_EQ(file.ReadOutputFolder(), fs::path("/old/books"));
  file.SaveOutputFolder(dir / "Workbooks");
  RememberedFolderFile again(dir.path(), dir / "config");
  again.ReadFolder();
  EXPECT_EQ(again.ReadOutputFolder(), dir / "Workbooks");
  // Saving the encyclopedia folder leaves the output folder alone.
  again.Save(dir / "enc");
  EXPECT_EQ(again.ReadOutputFolder(), dir / "Workbooks");
}

}  // namespace
}  // namespace statcrane

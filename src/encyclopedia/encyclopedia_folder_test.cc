#include "encyclopedia/encyclopedia_folder.h"

#include <gtest/gtest.h>

#include "testing/skip.h"
#include "testing/temp_dir.h"
#include "util/skip_report.h"

namespace statcrane {
namespace {

using testing::TempDir;

TEST(EncyclopediaFolderTest, FindsFilesWithoutRegardToCase) {
  TempDir dir;
  dir.WriteFile("encteam.dat", {});
  dir.WriteFile("EncPlStats.Dat", {});
  const EncyclopediaFolder folder(dir.path());
  EXPECT_EQ(folder.Find(kTeamFile), dir / "encteam.dat");
  EXPECT_EQ(folder.Find(kPlayerStatsFile), dir / "EncPlStats.Dat");
  EXPECT_EQ(folder.Find(kLeagueFile), std::nullopt);
  EXPECT_EQ(folder.Find("encteam.da"), std::nullopt);
  EXPECT_TRUE(folder.HasTeamFile());
}

TEST(EncyclopediaFolderTest, WithSeveralSpellingsTheExactOneWinsElseTheFirstInByteOrder) {
  SKIP_ON_WINDOWS("a folder on Windows cannot hold names that differ only in capitals");
  TempDir dir;
  dir.WriteFile("encteam.dat", {});
  dir.WriteFile("ENCTEAM.DAT", {});
  dir.WriteFile("EncTeam.dat", {});
  const EncyclopediaFolder folder(dir.path());
  SkipReport report;
  EXPECT_EQ(folder.Find(kTeamFile, &report), dir / "ENCTEAM.DAT");
  ASSERT_EQ(report.files[std::string(kTeamFile)].notes.size(), 1u);
  EXPECT_EQ(report.files[std::string(kTeamFile)].notes[0],
            "several files match this name (ENCTEAM.DAT, EncTeam.dat, encteam.dat); "
            "read ENCTEAM.DAT");

  SkipReport other;
  EXPECT_EQ(folder.Find("Encteam.Dat", &other), dir / "ENCTEAM.DAT");
  EXPECT_EQ(other.files["Encteam.Dat"].notes.size(), 1u);
  // Without a reporter the choice is the same.
  EXPECT_EQ(folder.Find("Encteam.Dat"), dir / "ENCTEAM.DAT");
}

TEST(EncyclopediaFolderTest, AFolderThatCannotBeListedHasNoFiles) {
  TempDir dir;
  EXPECT_EQ(EncyclopediaFolder(dir / "missing").Find(kTeamFile), std::nullopt);
  dir.WriteFile("plain-file", {});
  EXPECT_FALSE(EncyclopediaFolder(dir / "plain-file").HasTeamFile());
  EXPECT_FALSE(EncyclopediaFolder("").HasTeamFile());
}

}  // namespace
}  // namespace statcrane

// The output file on both systems: names in any script, what is replaced
// and what never is, what a killed program leaves and who removes it.
#include "util/platform_files.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include "testing/skip.h"
#include "testing/temp_dir.h"
#include "util/error.h"
#include "util/utf8_path.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace statcrane {
namespace {

namespace fs = std::filesystem;
using testing::TempDir;

std::string Contents(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

std::vector<std::string> Entries(const fs::path& folder) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder)) {
    names.push_back(Utf8FromPath(entry.path().filename()));
  }
  std::sort(names.begin(), names.end());
  return names;
}

std::string MessageOf(const std::function<void()>& action) {
  try {
    action();
  } catch (const StatCraneError& error) {
    return error.message();
  }
  return "";
}

TEST(OutputFileTest, NamesInAnyScriptAndOfAnyLength) {
  TempDir dir;
  const std::string long_name = std::string(235, 'n') + ".xlsx";  // 240 characters
  for (const char* folder : {"Лига €", "Sortie été", "with a space"}) {
    for (const std::string& name : {std::string("Ligue € été.xlsx"), long_name}) {
      const fs::path target = dir.path() / PathFromUtf8(folder) / PathFromUtf8(name);
      fs::create_directories(target.parent_path());
      WriteWholeFile(target, "content of " + name, false, "the workbook");
      EXPECT_EQ(Contents(target), "content of " + name) << Utf8FromPath(target);
    }
    EXPECT_EQ(Entries(dir.path() / PathFromUtf8(folder)),
              (std::vector<std::string>{"Ligue € été.xlsx", long_name}));
  }
}

TEST(OutputFileTest, ReplacesOnlyWhenToldAndNeverWhatIsNoFile) {
  TempDir dir;
  const fs::path target = dir / "book.xlsx";
  { std::ofstream(target) << "the user's own"; }
  const std::string exists =
      MessageOf([&] { WriteWholeFile(target, "new", false, "the workbook"); });
  EXPECT_NE(exists.find("already exists"), std::string::npos) << exists;
  EXPECT_EQ(Contents(target), "the user's own");
  WriteWholeFile(target, "new", true, "the workbook");
  EXPECT_EQ(Contents(target), "new");

  fs::create_directory(dir / "folder.xlsx");
  const std::string folder =
      MessageOf([&] { WriteWholeFile(dir / "folder.xlsx", "x", true, "the settings"); });
  EXPECT_NE(folder.find("cannot save the settings as"), std::string::npos) << folder;
  EXPECT_NE(folder.find("a folder"), std::string::npos) << folder;
  EXPECT_EQ(ReplaceRefusal(dir / "folder.xlsx"), folder.substr(folder.rfind(": ") + 2));
  EXPECT_EQ(ReplaceRefusal(target), "");
  EXPECT_EQ(ReplaceRefusal(dir / "new.xlsx"), "");
  EXPECT_EQ(Entries(dir.path()), (std::vector<std::string>{"book.xlsx", "folder.xlsx"}));

  EXPECT_FALSE(TryCreatingFileIn(dir.path()));
  EXPECT_TRUE(TryCreatingFileIn(dir / "missing"));
  EXPECT_EQ(Entries(dir.path()), (std::vector<std::string>{"book.xlsx", "folder.xlsx"}));
}

#ifdef _WIN32
// Device names exist in every folder; the device namespace holds no files.
TEST(OutputFileTest, WindowsDevicesAreNeverWritten) {
  TempDir dir;
  for (const fs::path& target :
       {dir / "CON", dir / "nul.xlsx", dir / "Com1.xlsx", dir / "LPT9", dir / "conout$",
        fs::path("\\\\.\\PhysicalDrive0"), fs::path("\\\\.\\C:")}) {
    SCOPED_TRACE(Utf8FromPath(target));
    EXPECT_NE(ReplaceRefusal(target), "");
    EXPECT_THROW(WriteWholeFile(target, "x", true, "the workbook"), StatCraneError);
  }
  EXPECT_EQ(ReplaceRefusal(dir / "CONTRACT.xlsx"), "");
  EXPECT_TRUE(Entries(dir.path()).empty());
}

// A replaced workbook keeps its attributes.
TEST(OutputFileTest, AReplacedFileKeepsItsAttributes) {
  TempDir dir;
  const fs::path target = dir / "book.xlsx";
  { std::ofstream(target) << "old"; }
  ASSERT_TRUE(::SetFileAttributesW(target.c_str(), FILE_ATTRIBUTE_HIDDEN));
  WriteWholeFile(target, "new", true, "the workbook");
  EXPECT_EQ(Contents(target), "new");
  EXPECT_NE(::GetFileAttributesW(target.c_str()) & FILE_ATTRIBUTE_HIDDEN, 0u);
}
#endif

}  // namespace
}  // namespace statcrane

#include "util/platform_read.h"

#include <gtest/gtest.h>
#ifndef _WIN32
#include <sys/stat.h>
#endif

#include <filesystem>
#include <system_error>
#include <vector>

#include "testing/temp_dir.h"

namespace statcrane {
namespace {

using testing::TempDir;

std::vector<uint8_t> Numbered(size_t length) {
  std::vector<uint8_t> bytes(length);
  for (size_t i = 0; i < length; ++i) bytes[i] = static_cast<uint8_t>(i * 7 % 253);
  return bytes;
}

std::vector<uint8_t> Copy(const FileBytes& bytes) {
  return std::vector<uint8_t>(bytes.bytes().begin(), bytes.bytes().end());
}

TEST(ReadOnlyFileTest, MappedAndReadBytesAreTheFilesBytes) {
  TempDir dir;
  const std::vector<uint8_t> content = Numbered(3 * 4096 + 123);
  dir.WriteFile("data", content);
  const ReadOnlyFile file(dir / "data");
  EXPECT_EQ(file.kind(), FileKind::kRegular);
  EXPECT_EQ(file.size(), content.size());

  const FileBytes mapped = file.ReadAll(content.size());
  EXPECT_TRUE(mapped.mapped());
  EXPECT_EQ(Copy(mapped), content);
  // Memory given back is read again from the file.
  mapped.Forget(0, content.size());
  mapped.Forget(4000, 5000);
  mapped.Forget(content.size() - 1, 100);
  EXPECT_EQ(Copy(mapped), content);
  const FileBytes read = file.ReadAll(content.size(), ReadMethod::kRead);
  EXPECT_FALSE(read.mapped());
  EXPECT_EQ(Copy(read), content);
  // A part, as a reader of whole records asks for.
  EXPECT_EQ(Copy(file.ReadAll(100, ReadMethod::kRead)),
            std::vector<uint8_t>(content.begin(), content.begin() + 100));
  EXPECT_TRUE(file.ReadAll(0).bytes().empty());

  // Moving hands the bytes over.
  FileBytes moved = FileBytes::CopyOf(content);
  FileBytes target = std::move(moved);
  EXPECT_EQ(Copy(target), content);
  target = file.ReadAll(10);
  EXPECT_EQ(Copy(target), std::vector<uint8_t>(content.begin(), content.begin() + 10));
}

TEST(ReadOnlyFileTest, FoldersPipesAndMissingFilesAreToldApart) {
  TempDir dir;
  std::filesystem::create_directory(dir / "folder");
  EXPECT_EQ(ReadOnlyFile(dir / "folder").kind(), FileKind::kFolder);
#ifdef _WIN32
  EXPECT_EQ(ReadOnlyFile("NUL").kind(), FileKind::kOther);
#else
  ASSERT_EQ(mkfifo((dir / "pipe").c_str(), 0600), 0);
  EXPECT_EQ(ReadOnlyFile(dir / "pipe").kind(), FileKind::kOther);  // the open did not block
#endif
  try {
    ReadOnlyFile missing(dir / "missing");
    ADD_FAILURE() << "opened a missing file";
  } catch (const std::system_error& e) {
    EXPECT_EQ(e.code(), std::errc::no_such_file_or_directory);
  }
}

// Another program cuts a mapped file short: reading its lost bytes does not
// crash the program; they read as zeros and the bytes are marked. Windows
// refuses to cut a mapped file short.
TEST(ReadOnlyFileTest, AMappedFileCutShortReadsAsZerosAndIsMarked) {
  TempDir dir;
  const std::vector<uint8_t> content(5 * 4096, 0x5A);
  dir.WriteFile("data", content);
  const FileBytes bytes = ReadOnlyFile(dir / "data").ReadAll(content.size());
  ASSERT_TRUE(bytes.mapped());
  EXPECT_EQ(bytes.bytes()[0], 0x5A);
  EXPECT_FALSE(bytes.cut_short());

  std::error_code refused;
  std::filesystem::resize_file(dir / "data", 4096, refused);
#ifdef _WIN32
  EXPECT_TRUE(refused);
  EXPECT_EQ(Copy(bytes), content);
  return;
#endif
  ASSERT_FALSE(refused) << refused.message();
  const volatile uint8_t* data = bytes.bytes().data();
  EXPECT_EQ(data[4 * 4096 + 1], 0);
  EXPECT_TRUE(bytes.cut_short());
  EXPECT_EQ(data[2 * 4096], 0);  // every lost page
  EXPECT_EQ(data[10], 0x5A);     // what the file still holds

  // The next mapping starts unmarked.
  dir.WriteFile("other", content);
  EXPECT_FALSE(ReadOnlyFile(dir / "other").ReadAll(content.size()).cut_short());
}

// A file read into a buffer that became shorter meanwhile gives what it holds.
TEST(ReadOnlyFileTest, AFileCutShortBeforeItIsReadGivesFewerBytes) {
  TempDir dir;
  dir.WriteFile("data", Numbered(10000));
  const ReadOnlyFile file(dir / "data");
  std::filesystem::resize_file(dir / "data", 3000);
  EXPECT_EQ(file.ReadAll(10000, ReadMethod::kRead).bytes().size(), 3000u);
}

}  // namespace
}  // namespace statcrane

#include "util/platform_errors.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>

namespace statcrane {
namespace {

// One wording whichever way the failure arrives: an errno value, an error
// code of the C++ library, or the last system error.
TEST(FailureReasonTest, OneWordingForEveryKindOfCode) {
  EXPECT_EQ(FailureReason(ENOSPC), "the disk is full");
  EXPECT_EQ(FailureReason(std::make_error_code(std::errc::no_space_on_device)), "the disk is full");
  EXPECT_EQ(FailureReason(EACCES), FailureReason(EPERM));
  EXPECT_EQ(FailureReason(EROFS), "the disk is read-only");

  std::error_code missing;
  [[maybe_unused]] const auto size = std::filesystem::file_size("/no/such/file/here", missing);
  ASSERT_TRUE(missing);
  EXPECT_EQ(FailureReason(missing), "the file or folder does not exist");

  // Codes without a wording of their own read as the system words them,
  // starting in lower case like the others.
  const std::string other = FailureReason(ENOEXEC);
  ASSERT_FALSE(other.empty());
  EXPECT_TRUE(other[0] < 'A' || other[0] > 'Z') << other;
}

}  // namespace
}  // namespace statcrane

#include "workbook/lxw_stdio.h"

#include <gtest/gtest.h>
#include <stdio.h>

#include <cerrno>

// What libxlsxwriter's fprintf calls are compiled to.
extern "C" int __fprintf_chk(FILE* stream, int flag, const char* format, ...);

namespace statcrane {
namespace {

// /dev/full takes no byte: every flush fails with ENOSPC.
class DevFull : public ::testing::Test {
 protected:
  void SetUp() override {
    full_ = fopen("/dev/full", "w");
    if (full_ == nullptr) GTEST_SKIP() << "no /dev/full";
  }
  void TearDown() override {
    if (full_ != nullptr) fclose(full_);
  }
  FILE* full_ = nullptr;
};

TEST_F(DevFull, AWatchNotesWritesThatFailOnlyWhenFlushed) {
  StdioWatch watch;
  EXPECT_EQ(fputs("buffered", full_), 1);  // still in the buffer: no failure yet
  EXPECT_EQ(watch.first_error(), 0);
  rewind(full_);  // flushes, and would forget the error by itself
  EXPECT_EQ(watch.first_error(), ENOSPC);
}

TEST_F(DevFull, EachKindOfWriteIsWatched) {
  setvbuf(full_, nullptr, _IONBF, 0);
  for (int kind = 0; kind < 4; ++kind) {
    StdioWatch watch;
    switch (kind) {
      case 0:
        fwrite("abc", 1, 3, full_);
        break;
      case 1:
        fputs("abc", full_);
        break;
      case 2:
        fputc('a', full_);
        break;
      case 3:
        __fprintf_chk(full_, 1, "%d", 42);
        break;
    }
    EXPECT_EQ(watch.first_error(), ENOSPC) << kind;
  }
}

TEST(LxwStdio, NumberCellsAreWrittenToReadBackExactly) {
  char buffer[256] = {};
  FILE* memory = fmemopen(buffer, sizeof buffer - 1, "w");
  ASSERT_NE(memory, nullptr);
  // "%.16G" would print 0.001000000047497451, another double.
  double widened = static_cast<double>(0.001f);
  __fprintf_chk(memory, 1, "<c r=\"%s\" s=\"%d\"><v>%.16G</v></c>", "E7", 3, widened);
  __fprintf_chk(memory, 1, "<c r=\"%s\"><v>%.16G</v></c>", "A1", 1987.0);
  __fprintf_chk(memory, 1, "[%.16G]", widened);  // any other output is left alone
  fclose(memory);
  EXPECT_STREQ(buffer,
               "<c r=\"E7\" s=\"3\"><v>0.0010000000474974513</v></c>"
               "<c r=\"A1\"><v>1987</v></c>[0.001000000047497451]");
}

TEST_F(DevFull, WithoutAWatchStdioBehavesAsUsual) {
  {
    StdioWatch outer;
    {
      StdioWatch inner;
      fputs("x", full_);
      EXPECT_EQ(fflush(full_), EOF);
      EXPECT_EQ(inner.first_error(), ENOSPC);
    }
    EXPECT_EQ(outer.first_error(), 0);  // the inner watch had it
  }
  clearerr(full_);
  fputs("x", full_);
  EXPECT_EQ(fflush(full_), EOF);
  EXPECT_EQ(errno, ENOSPC);
}

}  // namespace
}  // namespace statcrane

// What the .xlsx writer adds to the C library's stdio for libxlsxwriter,
// whose file output goes through it:
//
// - Exact numbers. libxlsxwriter prints number cells with "%.16G", which does
//   not always give back the same double: a float widened to double (0.333f
//   is 0.33300000429153442) comes back one unit in the last place off about
//   one time in four. Its number-cell output is printed instead with the
//   shortest text that reads back as the same double, as spreadsheet
//   applications write it.
// - Failed writes noticed. libxlsxwriter streams sheets through scratch files
//   and does not check those writes: on a full disk it packs cut-off parts
//   into a file it reports as written. While a StdioWatch lives on a thread,
//   every failing stdio write or flush on that thread is remembered.
//
// Both work by defining the stdio functions libxlsxwriter calls (fwrite,
// fputs, fputc, fflush, fseek, rewind, fclose and the fortified fprintf) in
// the program itself, which the dynamic linker then prefers for every
// caller; each one does the C library's work through the next definition of
// the same symbol and adds the above only for libxlsxwriter's number cells
// and only on a watched thread. Every other caller gets the C library's
// behaviour unchanged.
#pragma once

namespace statcrane {

class StdioWatch {
 public:
  StdioWatch();
  ~StdioWatch();
  StdioWatch(const StdioWatch&) = delete;
  StdioWatch& operator=(const StdioWatch&) = delete;

  // errno of the first failed write or flush since the watch began; 0 if none.
  int first_error() const { return error_; }

 private:
  int error_ = 0;
  int* outer_ = nullptr;
};

}  // namespace statcrane

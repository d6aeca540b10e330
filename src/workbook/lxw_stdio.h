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
// - Reads watched. libxlsxwriter packs the finished parts by reading its
//   scratch files back in a loop that ends when a read returns nothing. A
//   watch given a ReadWatcher tells it about every read on its thread, and
//   once the watcher says stop, reads return nothing: packing then finishes
//   at once, with cut-off parts (the caller throws the file away).
//
// All this works by defining the stdio functions libxlsxwriter calls (fwrite,
// fread, fputs, fputc, fflush, fseek, rewind, fclose and the fortified fprintf) in
// the program itself, which the dynamic linker then prefers for every
// caller; each one does the C library's work through the next definition of
// the same symbol and adds the above only for libxlsxwriter's number cells
// and only on a watched thread. Every other caller gets the C library's
// behaviour unchanged.
#pragma once

#include <cstddef>

namespace statcrane {

class ReadWatcher {
 public:
  virtual ~ReadWatcher() = default;
  // Called before each read on the watched thread with the bytes read so
  // far; false cuts this read and every later one short.
  virtual bool KeepReading(size_t bytes_read) = 0;
};

class StdioWatch {
 public:
  // `reads` may be null; it must outlive the watch.
  explicit StdioWatch(ReadWatcher* reads = nullptr);
  ~StdioWatch();
  StdioWatch(const StdioWatch&) = delete;
  StdioWatch& operator=(const StdioWatch&) = delete;

  // errno of the first failed write or flush since the watch began; 0 if none.
  int first_error() const { return error_; }
  // True once the read watcher said stop.
  bool reads_cut() const { return reads_cut_; }

  // For the stdio functions: a failed write or flush (its errno).
  void NoteFailure(int error);
  // Whether a read of the calling thread goes ahead; counts its bytes.
  bool BeforeRead();
  void AfterRead(size_t bytes) { bytes_read_ += bytes; }

 private:
  int error_ = 0;
  ReadWatcher* reads_ = nullptr;
  size_t bytes_read_ = 0;
  bool reads_cut_ = false;
  StdioWatch* outer_ = nullptr;
};

}  // namespace statcrane

// An error that stops a processing run: a number and a description, shown
// to the user by both front-ends.
#pragma once

#include <stdexcept>
#include <string>

namespace statcrane {

// Error numbers, chosen to match what users of the game's tools know.
enum ErrorNumber : int {
  kErrSubscriptOutOfRange = 9,    // a sheet or table entry that does not exist
  kErrFileNotFound = 53,
  kErrDiskFull = 61,
  kErrPermissionDenied = 70,
  kErrPathFileAccess = 75,        // a file or folder that cannot be read or written
  kErrApplicationDefined = 1004,  // a workbook operation that cannot be done
};

class StatCraneError : public std::runtime_error {
 public:
  StatCraneError(int number, const std::string& description)
      : std::runtime_error(description), number_(number) {}
  int number() const { return number_; }
  std::string description() const { return what(); }

 private:
  int number_;
};

// Thrown when the user stopped the run (closing the window); no workbook is
// written for a stopped run.
class RunStopped : public std::exception {
 public:
  const char* what() const noexcept override { return "run stopped"; }
};

}  // namespace statcrane

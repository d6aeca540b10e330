// An error that stops a processing run: a message in words that names the
// file, sheet, player or record concerned, shown to the user by both
// front-ends.
#pragma once

#include <stdexcept>
#include <string>

namespace statcrane {

class StatCraneError : public std::runtime_error {
 public:
  explicit StatCraneError(const std::string& message) : std::runtime_error(message) {}
  std::string message() const { return what(); }
};

// Thrown when the user stopped the run (closing the window); no workbook is
// written for a stopped run.
class RunStopped : public std::exception {
 public:
  const char* what() const noexcept override { return "run stopped"; }
};

}  // namespace statcrane

// A write to a player sheet that failed, naming the sheet.
#pragma once

#include <string>

#include "util/error.h"
#include "workbook/workbook.h"

namespace statcrane {

class SheetWriteError : public StatCraneError {
 public:
  SheetWriteError(const Worksheet& sheet, const StatCraneError& cause)
      : StatCraneError("on the sheet \"" + sheet.name() + "\": " + cause.message()),
        sheet_name_(sheet.name()),
        cause_(cause.message()) {}

  const std::string& sheet_name() const { return sheet_name_; }
  // What went wrong there ("row 1,048,577 is past the last row ...").
  const std::string& cause() const { return cause_; }

 private:
  std::string sheet_name_;
  std::string cause_;
};

}  // namespace statcrane

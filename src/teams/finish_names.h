// FinishNames: the finishing place of a team in its group as an ordinal text.
#pragma once

#include <string>

namespace statcrane {

// "1st", "2nd", "3rd", "4th" ... "12th", and on: "13th", "21st", "22nd",
// "23rd", "111th".
std::string FinishName(int position);

}  // namespace statcrane

#include "teams/finish_names.h"

namespace statcrane {

std::string FinishName(int position) {
  const char* suffix = "th";
  const int last_two = position % 100;
  if (last_two < 11 || last_two > 13) {
    switch (position % 10) {
      case 1:
        suffix = "st";
        break;
      case 2:
        suffix = "nd";
        break;
      case 3:
        suffix = "rd";
        break;
      default:
        break;
    }
  }
  return std::to_string(position) + suffix;
}

}  // namespace statcrane

// The names of the sheets the team phase writes.
#pragma once

#include <string_view>

namespace statcrane {

inline constexpr std::string_view kTeamRecords = "Team Records";
inline constexpr std::string_view kTeamRegTotals = "TeamRegTotals";
inline constexpr std::string_view kTeamDCSTotals = "TeamDCSTotals";
inline constexpr std::string_view kTeamLCSTotals = "TeamLCSTotals";
inline constexpr std::string_view kTeamWSTotals = "TeamWSTotals";

}  // namespace statcrane

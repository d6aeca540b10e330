// An encyclopedia folder and the data files in it, matched by name without
// regard to case.
#pragma once

#include <filesystem>
#include <optional>
#include <string_view>

#include "util/skip_report.h"

namespace statcrane {

inline constexpr std::string_view kTeamFile = "ENCTEAM.DAT";
inline constexpr std::string_view kPlayerFile = "ENCPLYR.DAT";
inline constexpr std::string_view kPlayerStatsFile = "ENCPLSTATS.DAT";
inline constexpr std::string_view kLeagueFile = "encleag.dat";
inline constexpr std::string_view kLeagueYearFile = "enclgyr.dat";
inline constexpr std::string_view kTeamYearFile = "enctmyr.dat";

// True when `name` is one of the six data files' names in any mix of
// capitals ("EncTeam.DAT").
bool IsDataFileName(std::string_view name);

class EncyclopediaFolder {
 public:
  explicit EncyclopediaFolder(std::filesystem::path folder) : folder_(std::move(folder)) {}
  const std::filesystem::path& path() const { return folder_; }

  // The entry of the folder named `name` without regard to case. With
  // several, the one spelled exactly as `name` wins, otherwise the first in
  // byte order; the reporter, when given, is told which was read. nullopt
  // when there is none (or the folder cannot be listed).
  std::optional<std::filesystem::path> Find(std::string_view name,
                                            SkipReporter* reporter = nullptr) const;

  // True when the folder holds encteam.dat in any spelling.
  bool HasTeamFile() const { return Find(kTeamFile).has_value(); }

 private:
  std::filesystem::path folder_;
};

}  // namespace statcrane

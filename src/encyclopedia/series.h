// The regular season and the three post-season series: a statistics
// line's season type names one, a player's block and a team's block show
// their lines by them.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>

namespace statcrane {

// In the order the sheets show them.
enum class Series : uint8_t {
  kRegularSeason,
  kDivisionSeries,
  kLeagueChampionshipSeries,
  kWorldSeries
};
inline constexpr size_t kNumSeries = 4;
inline constexpr std::array<Series, kNumSeries> kAllSeries = {
    Series::kRegularSeason, Series::kDivisionSeries, Series::kLeagueChampionshipSeries,
    Series::kWorldSeries};
inline constexpr std::array<Series, 3> kPostSeasonSeries = {
    Series::kDivisionSeries, Series::kLeagueChampionshipSeries, Series::kWorldSeries};

// The place of a post-season series in kPostSeasonSeries (division series
// 0). REQUIRES: `series` is not the regular season.
constexpr size_t PostSeasonIndex(Series series) { return static_cast<size_t>(series) - 1; }

// The series of a season type: 2 regular season, 5 division series, 6
// league championship series, 7 world series; none for any other type.
inline std::optional<Series> SeriesOfSeasonType(int season_type) {
  switch (season_type) {
    case 2:
      return Series::kRegularSeason;
    case 5:
      return Series::kDivisionSeries;
    case 6:
      return Series::kLeagueChampionshipSeries;
    case 7:
      return Series::kWorldSeries;
    default:
      return std::nullopt;
  }
}

}  // namespace statcrane

// Which letter sheet a player's block goes to.
#pragma once

#include <array>
#include <string_view>

namespace statcrane {

class Worksheet;

// Letter sheets: one per initial "A" to "Z" at 0 to 25, then one for names
// that do not begin with a letter at 26.
inline constexpr int kLetterSheetCount = 27;
inline constexpr int kOtherInitial = 26;

// The letter sheet of a display name: its first character with case and
// accents folded as the player order folds them ("smith" and "Smith" go to
// "S", "Álvarez" to "A", "Ñúñez" to "N"); kOtherInitial for a digit, a sign,
// or an empty last name.
int LetterSheetIndex(std::string_view display_name);

// The sheets the player phase writes to.
struct PlayerSheets {
  std::array<Worksheet*, kLetterSheetCount> letters{};
  // One per section: regular season, division series, league championship
  // series, world series.
  std::array<Worksheet*, 4> hitting_summaries{};
  std::array<Worksheet*, 4> pitching_summaries{};
};

}  // namespace statcrane

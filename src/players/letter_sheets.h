// Which letter sheet a player's block goes to.
#pragma once

#include <string>
#include <string_view>

namespace statcrane {

// The sheet for names that do not begin with a letter; placed after "Z".
inline constexpr std::string_view kOtherInitialSheet = "#";
// "A" to "Z", then "#".
inline constexpr int kLetterSheetCount = 27;

// The sheet of a display name: its first character with case and accents
// folded as the player order folds them ("smith" and "Smith" go to "S", "Álvarez"
// to "A", "Ñúñez" to "N"); "#" for a digit, a sign, or an empty last name.
std::string LetterSheetFor(std::string_view display_name);

// 0 to 25 for "A" to "Z", 26 for "#"; -1 for any other name.
int LetterSheetPosition(std::string_view sheet);

}  // namespace statcrane

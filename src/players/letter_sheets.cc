#include "players/letter_sheets.h"

#include "util/sorted_work_list.h"
#include "util/text_decoding.h"

namespace statcrane {

std::string LetterSheetFor(std::string_view display_name) {
  // The collation folds a letter to lower case and an accented letter to its
  // base letter(s), so the first byte of the folded initial names the sheet.
  const std::string folded = ListCollationKey(FirstCharacter(display_name));
  if (!folded.empty() && folded[0] >= 'a' && folded[0] <= 'z') {
    return std::string(1, static_cast<char>(folded[0] - 'a' + 'A'));
  }
  return std::string(kOtherInitialSheet);
}

int LetterSheetPosition(std::string_view sheet) {
  if (sheet.size() == 1 && sheet[0] >= 'A' && sheet[0] <= 'Z') return sheet[0] - 'A';
  if (sheet == kOtherInitialSheet) return 26;
  return -1;
}

}  // namespace statcrane

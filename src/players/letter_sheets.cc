#include "players/letter_sheets.h"

#include <string>

#include "util/sorted_work_list.h"
#include "util/text_decoding.h"

namespace statcrane {

int LetterSheetIndex(std::string_view display_name) {
  // The collation folds a letter to lower case and an accented letter to its
  // base letter(s), so the first byte of the folded initial names the sheet.
  const std::string folded = ListCollationKey(FirstCharacter(display_name));
  if (!folded.empty() && folded[0] >= 'a' && folded[0] <= 'z') return folded[0] - 'a';
  return kOtherInitial;
}

}  // namespace statcrane

// What the front-ends show of a run's progress: the phase in words, how far
// it is, and for the players the name being written ("Players: Smith,John",
// "Writing workbook 42 %"). Both the window and the command line feed it the
// run's progress calls and show one of its lines.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace statcrane {

class ProgressShown {
 public:
  // A text of the run: a player's name during the player phase, otherwise a
  // message shown as it is ("TEAMS COMPLETED", "Processing Completed").
  void Text(std::string_view text);
  // A position within a phase. Phases this program does not know are ignored.
  void Phase(std::string_view phase, int64_t done, int64_t total);

  // The phase in words ("Reading", "Players", "Teams", "Writing workbook"),
  // or the last message.
  const std::string& label() const { return label_; }
  // 0 to 100 within the phase; -1 when the phase has no measure.
  int percent() const { return percent_; }

  // "Players: Smith,John", "Teams 40 %", "Writing workbook 42 %": for the
  // window, whose bar shows the players' percentage.
  std::string WindowLine() const;
  // "Players 42 %: Smith,John", "Writing workbook 42 %": for a terminal.
  std::string TerminalLine() const;

 private:
  std::string phase_;
  std::string label_;
  std::string detail_;
  int percent_ = -1;
};

}  // namespace statcrane

// A whole run on a small folder: the input is cut into the six files (see
// fuzz::Split); the options byte chooses the sheets. The run writes its
// workbook into the scratch folder.
#include <cstddef>
#include <cstdint>
#include <string>

#include "app/processing_run.h"
#include "encyclopedia/encyclopedia_folder.h"
#include "encyclopedia/record_layouts.h"
#include "fuzz/fuzz_support.h"

using namespace statcrane;

namespace {

constexpr size_t kRecordLength[6] = {TeamRecord::kSize,        PlayerRecord::kSize,
                                     PlayerStatsRecord::kSize, LeagueRecord::kSize,
                                     LeagueYearRecord::kSize,  TeamYearRecord::kSize};

// A message that comes from the library rather than from the program: data
// reached a check the program should have made itself.
bool LooksLikeLibraryMessage(const std::string& text) {
  for (const char* marker : {"vector", "basic_string", "_M_", "std::", "stoi", "stol", "bad_",
                             "map::at", "out_of_range", "invalid_argument", "span"}) {
    if (text.find(marker) != std::string::npos) return true;
  }
  return text.empty();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const fuzz::SplitInput input = fuzz::Split(std::span<const uint8_t>(data, size));
  fuzz::NamedBytes files[6];
  for (size_t i = 0; i < 6; ++i) files[i] = {fuzz::kFileNames[i], input.files[i]};
  RunOptions options;
  options.encyclopedia_folder = fuzz::WriteFolder("run", files);
  options.sheets = static_cast<SheetChoice>(input.options % 3);
  options.output = fuzz::ScratchFolder() / "run.xlsx";
  options.overwrite = true;
  RunObserver observer;
  const RunResult result = RunProcessing(options, observer, nullptr);

  if (!result.error.empty()) {
    if (LooksLikeLibraryMessage(result.error)) {
      fuzz::Finding("the run stopped with an unclear message: " + result.error);
    }
    if (result.output.empty()) fuzz::Finding("the run failed and saved nothing: " + result.error);
  } else if (result.outcome != RunOutcome::kCompleted) {
    fuzz::Finding("the run neither completed nor failed");
  }
  // The report names every file the run read.
  const bool players = PlayersWanted(options.sheets);
  const bool teams = TeamsWanted(options.sheets);
  for (size_t i = 0; i < 6 && result.error.empty(); ++i) {
    const bool read = i == 0 || (i <= 2 ? players : teams);
    if (!read) continue;
    fuzz::CheckFileReport(result.report, fuzz::kFileNames[i],
                          input.files[i] ? input.files[i]->size() : 0, kRecordLength[i],
                          !input.files[i].has_value());
  }
  return 0;
}

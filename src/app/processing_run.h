// One processing run: an encyclopedia folder in, one workbook file out.
//
// The run owns the frame: the order of the phases, which sheets each choice
// creates and removes, the time stamps and progress texts. It knows no
// front-end: the window and the command line watch it through RunObserver.
#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "app/run_report.h"
#include "app/sheet_layout.h"
#include "util/progress.h"
#include "util/step_clock.h"
#include "workbook/xlsx_writer.h"

namespace statcrane {

enum class ViewingChoice { kViewWhileProcessing, kViewAfterCompleted };

struct RunOptions {
  std::filesystem::path encyclopedia_folder;
  SheetChoice sheets = SheetChoice::kPlayersAndTeams;
  // A first sheet "Index" with a link to every player and team.
  IndexChoice index = IndexChoice::kNone;
  // "Career Leaders", "Season Leaders" and "League Leaders" after "Index"
  // (none when only team sheets are wanted).
  LeadersChoice leaders = LeadersChoice::kNone;
  ViewingChoice viewing = ViewingChoice::kViewWhileProcessing;
  // The workbook file to write; an existing file is replaced only when
  // `overwrite` is set.
  std::filesystem::path output;
  bool overwrite = false;
  int threads = 0;  // 0: as many as the machine has
  // The package writer's (benchmarks compare levels).
  int compression_level = kDefaultCompressionLevel;
};

class RunObserver : public ProgressObserver {
 public:
  virtual void StartTime(std::string_view /*stamp*/) {}  // "Processing Started"
  virtual void EndTime(std::string_view /*stamp*/) {}    // "Processing Ended"
  // The chosen viewing option took effect (at the start for "View While
  // Processing", after the sheets for "View After Completed"). The front-ends
  // show the workbook once it is written and need not watch this.
  virtual void ViewingTookEffect() {}
  // Every sheet is complete and the workbook is about to be written; the
  // reference is valid during the call only. For tools that compare a
  // written file with the model it came from.
  virtual void WorkbookComplete(const Workbook& /*workbook*/) {}
};

// Where the folder of a successful run is remembered for the next start.
class RememberedFolder {
 public:
  virtual ~RememberedFolder() = default;
  virtual void Save(const std::filesystem::path& folder) = 0;
};

// How a run ended.
enum class RunOutcome : uint8_t {
  kCompleted,  // every step ran and the workbook was written
  kStopped,    // the user stopped the run
  // The run found no player and no team to write, so it wrote no workbook
  // (`error` says "nothing to write: ...").
  kNothingToWrite,
  // `error` ended the run: the output was refused, a step or the writing of
  // the workbook failed. Nothing was written, unless the error came after
  // the workbook was (then `output` names it).
  kFailed,
  // `error` ended the run, and what it had built is saved as an incomplete
  // workbook ("NAME (incomplete).xlsx").
  kFailedIncompleteSaved,
  // `error` ended the run, and what it had built could not be saved either
  // (`not_saved` says why).
  kFailedIncompleteNotSaved,
};

struct RunResult {
  RunOutcome outcome = RunOutcome::kFailed;
  // What ended the run; "" when it completed or was stopped.
  std::string error;
  // Why the incomplete workbook could not be saved
  // (kFailedIncompleteNotSaved).
  std::string not_saved;
  // The workbook file written, complete or not: the requested file, or
  // "NAME (incomplete).xlsx" beside it; empty when none was written (a run
  // stopped or failed after writing it names it all the same).
  std::filesystem::path output;
  RunReport report;
  // The time of each phase that ran, in run order: "reading" (the team table
  // and the player files), "player walk", "team phase" (with its league and
  // team-year files), "leaders" (when asked for), "finishing sheets" (fitting columns, removing
  // empty summary sheets) and "writing" (the .xlsx file).
  std::vector<std::pair<std::string, StepTime>> timings;
  // Cells in the written workbook.
  int64_t cells_written = 0;
  // Where the writing went (sheet parts, compression, the file, each thread).
  XlsxWriteStats write_stats;
};

// The document's title: "Statistics of " and the name of the encyclopedia
// folder (its last part).
std::string WorkbookTitle(const std::filesystem::path& encyclopedia_folder);

// REQUIRES: called inside a catch block. Records the exception being handled
// in `result`: a stop as kStopped, anything else as kFailed with the error
// in words.
void RecordRunException(RunResult& result);

// The run report as text, with where the workbook went ("Workbook: ..." or
// "Incomplete workbook saved: ...") when one was written.
std::string ReportText(const RunResult& result);

// Runs every step. First, before anything is read, the checks of
// CheckBeforeReading (output_check.h): a refused output is an error, and
// nothing is read or written. A run that finds no player and no team to
// write writes no workbook and ends with the error "nothing to write: ...".
// Errors never escape: a failed step ends the run, and the
// workbook built so far is saved beside the requested file as
// "NAME (incomplete).xlsx" ("NAME (incomplete 2).xlsx", ... when that name is
// taken; nothing is ever replaced for it; NAME is shortened when the whole
// would be longer than the system's names may be) and reported incomplete
// (`output` says where). A file under the requested name is never touched
// by a failed run. When writing the workbook itself fails, nothing is saved; when the incomplete
// workbook cannot be saved, `not_saved` says why. A stopped run writes nothing.
// `remembered` may be null (the command line remembers nothing).
RunResult RunProcessing(const RunOptions& options, RunObserver& observer,
                        RememberedFolder* remembered);

}  // namespace statcrane

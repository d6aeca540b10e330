// The window's behaviour, once, for both windows (the Qt window on Linux,
// the native window on Windows): what the window shows (WindowState), what
// each of the user's actions does, how a run is started, watched and told,
// and what is remembered. A window draws the state and forwards the user's
// actions; everything it must do for the model goes through WindowHost.
//
// The rules:
// - The encyclopedia folder is chosen in the path field (checked as it is
//   typed, after a short pause), with "Browse...", or in the drive and folder
//   lists. The line under the path says why Process cannot run, or which
//   encyclopedia files are missing.
// - Return (anywhere in the window) and Process check the typed path first,
//   then run only a folder that passed. During a run Process is Stop.
// - Each run writes a new workbook into the workbook folder and never
//   replaces a file. It goes on a thread of its own; its progress reaches
//   the window through PostToWindow, at most one delivery waiting at a time.
// - A run ends with the status line and, for an error or warnings, one
//   message box; the workbook (completed, "View After Completed") is opened
//   before that box. Outcomes never interrupt a box or dialog already open:
//   they wait until it is closed.
// - Closing during a run asks first; the answer comes before anything else
//   is shown. Once the window closes the program always ends: at once when
//   idle, when the run has stopped otherwise (a run stopped this way leaves
//   no workbook), or after kStopGrace without it.
// - A completed run remembers its folder with the sheets, index, leaders and viewing
//   choices; the workbook folder is remembered when chosen. A remembered
//   folder that is gone is named in the status line.
#pragma once

#include <chrono>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "app/processing_run.h"
#include "app/progress_text.h"
#include "app/remembered_folder.h"
#include "app/window_host.h"

namespace statcrane {

using RunFunction = std::function<RunResult(const RunOptions&, RunObserver&, RememberedFolder*)>;

// Whether the written workbook is opened. (A workbook is written whole at
// the end of a run, so there is nothing to view while processing.)
enum class WorkbookViewing { kViewAfterCompleted, kDontOpen };

enum class RunPhase { kIdle, kRunning, kStopping };

// The places the model takes from its surroundings; tests point them all
// into a temporary folder.
struct WindowSetup {
  std::filesystem::path program_folder;    // "data/STATCRANE.txt" lives here (empty: installed)
  std::filesystem::path config_folder;     // ... or here
  std::filesystem::path start_folder;      // shown on first start (the current folder)
  std::filesystem::path home_folder;       // shown when the remembered folder is gone
  std::filesystem::path documents_folder;  // the workbook folder until the user picks another
  RunFunction run;                         // RunProcessing when empty
};

// The real places, for both windows: the program's folder (none for an
// installed program, in a "bin" folder or with the Windows installer's
// uninstaller beside it, which keeps its settings in the user's settings
// folder only), the user's settings, current, home and
// documents folders, and the real run.
WindowSetup DesktopWindowSetup();

// What the window shows. Texts are UTF-8; paths for display use the
// system's separators.
struct WindowState {
  std::string path_text;               // the path field
  std::filesystem::path shown_folder;  // the folder the drive and folder lists show
  std::filesystem::path folder;        // the folder a run would read (also a typed one that fails)
  std::string folder_hint;             // the line under the path; "" for none
  bool process_allowed = false;        // the folder passed its check

  SheetChoice sheets = SheetChoice::kPlayersAndTeams;
  bool index = false;
  bool leaders = false;  // kept while Teams Only is chosen, which has no leaders
  WorkbookViewing viewing = WorkbookViewing::kViewAfterCompleted;

  std::filesystem::path output_folder;   // "Workbook Folder"
  std::filesystem::path saved_workbook;  // "Workbook Saved": the last run's workbook, or empty

  RunPhase run = RunPhase::kIdle;
  std::string started_time;       // "Processing Started"
  std::string ended_time;         // "Processing Ended"
  bool report_available = false;  // "Run Report" has a report to show

  std::string_view progress_label;  // one of window_text's two labels
  std::string progress_text;
  int progress_value = 0;        // the bar, 0 to 100
  bool progress_figure = false;  // the bar shows its percentage

  Severity status_severity = Severity::kNone;
  std::string status_text;

  // Folder, options, workbook folder and Run Report take input.
  bool choices_enabled() const { return run == RunPhase::kIdle; }
  bool process_enabled() const {
    return run == RunPhase::kRunning || (run == RunPhase::kIdle && process_allowed);
  }
  // "&Process", "&Stop" or "Stopping...".
  std::string_view process_caption() const;
};

class WindowModel {
 public:
  // How long the path field waits after the last key before checking.
  static constexpr std::chrono::milliseconds kPathPause{400};
  // How long a run may take to notice a stop after the window closed before
  // the program ends without it (writing a large workbook cannot be
  // interrupted and takes several seconds).
  static constexpr std::chrono::milliseconds kStopGrace{120000};

  WindowModel(WindowSetup setup, WindowHost& host);
  // Stops a run still going and waits for its thread.
  ~WindowModel();
  WindowModel(const WindowModel&) = delete;
  WindowModel& operator=(const WindowModel&) = delete;

  // Restores the remembered folder and choices and draws everything. Once,
  // when the window is ready to be drawn.
  void Start();

  const WindowState& state() const { return state_; }

  // The folder.
  // The user edited the path field (each change).
  void PathTyped(std::string_view text);
  // The path field lost the focus: a typed path is checked now.
  void PathEditingFinished();
  // Shows `folder` as the chosen one (the folder list, tests). False, and
  // nothing changes, when it is not a folder that can be listed.
  bool ChooseFolder(const std::filesystem::path& folder);
  // A drive (volume root) chosen in the drive list; one that cannot be read
  // is told and the list returns to the folder's drive.
  void DrivePicked(const std::filesystem::path& root);
  // "Browse...".
  void Browse();
  // The watched folder changed (WindowHost::WatchFolder).
  void FolderContentChanged();

  // The choices.
  void SetSheets(SheetChoice sheets);
  void SetIndex(bool index);
  void SetLeaders(bool leaders);
  void SetViewing(WorkbookViewing viewing);
  // "Change...".
  void ChangeOutputFolder();
  // Uses `folder` for later runs and remembers it, when a workbook can be
  // written there; otherwise tells the user why not and returns false.
  bool SetOutputFolder(const std::filesystem::path& folder);

  // Return, wherever the focus is: checks the typed path, then runs a folder
  // that passed. Nothing during a run.
  void Return();
  // "Process", or "Stop" during a run.
  void ProcessOrStop();
  // "Run Report" and the warning box's "Show Report".
  void ShowReport();
  // The report of the last run, as the Run Report dialog shows it.
  std::string ReportText() const;
  // The Run Report dialog's "Save...": asks for a file and writes the
  // report, replacing the file (a link at that name is replaced, not
  // followed). True when saved.
  bool SaveReport();
  // "About".
  void About();

  // The user closes the window ("Exit", the title bar, the system). True
  // when the window may close (hide) now; the program then always ends
  // (WindowHost::Quit, or EndAtOnce after kStopGrace). False when the user
  // chose to let the run go on.
  bool CloseRequested();

  // A WindowHost timer went off.
  void TimerFired(WindowTimer timer);

 private:
  class RunChannel;
  struct FinishedRun {
    RunResult result;
    std::optional<std::filesystem::path> folder;  // what the run asked to remember
  };

  void Refresh(unsigned parts);
  // Calls a modal WindowHost method; a run that ends meanwhile is told once
  // the last modal box or dialog is closed.
  template <typename F>
  auto Modal(F&& call);
  MessageAnswer Tell(Severity severity, const std::string& text,
                     MessageButtons buttons = MessageButtons::kOk);

  bool ShowFolder(const std::filesystem::path& folder, bool set_path_text);
  void ApplyTypedPath(bool tidy_text);
  void Judge();
  void SetStatus(Severity severity, std::string text);

  void StartRun();
  void DeliverProgress();
  void ShowProgress();
  void RunEnded();
  void TellPendingRun();
  void Conclude(const FinishedRun& run);
  std::string Remember(const FinishedRun& run);
  void Discard(const FinishedRun& run);
  void ReportOutcome(const RunResult& result, const std::string& remember_problem);
  // Wraps a task for PostToWindow: it does nothing once the model is gone.
  std::function<void()> WhileAlive(void (WindowModel::*method)());

  WindowSetup setup_;
  WindowHost& host_;
  WindowState state_;
  std::unique_ptr<RememberedFolderFile> remembered_;
  bool typed_pending_ = false;  // the path field changed since its last check

  std::unique_ptr<RunChannel> channel_;
  std::unique_ptr<BackgroundWork> work_;
  FinishedRun running_;                 // written by the run's thread until it returns
  std::optional<FinishedRun> pending_;  // ended while a modal box was open
  std::filesystem::path run_output_;
  SheetChoice run_sheets_ = SheetChoice::kPlayersAndTeams;
  bool run_index_ = false;
  bool run_leaders_ = false;
  WorkbookViewing run_viewing_ = WorkbookViewing::kViewAfterCompleted;
  ProgressShown progress_;
  std::string report_text_;  // the last run's report

  int modal_depth_ = 0;
  bool closing_ = false;  // the window closed; the program ends once the run stopped
  std::shared_ptr<int> alive_ = std::make_shared<int>(0);
};

}  // namespace statcrane

#include "app/window_model.h"

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <mutex>
#include <system_error>
#include <thread>
#include <utility>

#include "app/output_check.h"
#include "app/report_file.h"
#include "app/window_texts.h"
#include "app/workbook_name.h"
#include "util/error.h"
#include "util/platform_desktop.h"
#include "util/platform_files.h"
#include "util/utf8_path.h"

namespace statcrane {
namespace {

namespace fs = std::filesystem;

constexpr std::string_view kCloseQuestion =
    "A run is going on. Stop it and close StatCrane? No workbook is written for a stopped run.";

// A path as the user reads it: the system's separators.
std::string Shown(fs::path path) { return Utf8FromPath(path.make_preferred()); }

// A run's message as a sentence of a message box: "cannot save ..." gives
// "Cannot save ....".
std::string AsSentence(std::string text) {
  if (!text.empty() && text[0] >= 'a' && text[0] <= 'z') {
    text[0] = static_cast<char>(text[0] - 'a' + 'A');
  }
  if (!text.empty() && text.back() != '.') text += '.';
  return text;
}

// Absolute, without "." and "..", doubled or trailing separators.
fs::path Clean(const fs::path& folder) {
  std::error_code ec;
  fs::path path = fs::absolute(folder, ec);
  if (ec) path = folder;
  path = path.lexically_normal();
  if (!path.has_filename() && path.has_relative_path()) path = path.parent_path();
  return path;
}

bool IsReadableFolder(const fs::path& folder) {
  std::error_code ec;
  if (folder.empty() || !fs::is_directory(folder, ec)) return false;
  fs::directory_iterator listing(folder, ec);
  return !ec;
}

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

// A typed path: blanks around it dropped, "~" for the home folder.
fs::path ExpandTypedPath(std::string_view text, const fs::path& home) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  if (text.empty()) return {};
  if (text == "~") return Clean(home);
  if (text.starts_with("~/")) return Clean(home / PathFromUtf8(text.substr(2)));
  return Clean(PathFromUtf8(text));
}

// A run that returns instead of throwing, whatever the run function does.
RunResult CallRun(const RunFunction& run, const RunOptions& options, RunObserver& observer,
                  RememberedFolder* remembered) {
  try {
    return run(options, observer, remembered);
  } catch (...) {
    RunResult result;
    RecordRunException(result);
    return result;
  }
}

// The run asks to remember its folder through this; the model writes it
// once the run has ended, on the window's thread.
class FolderOfCompletedRun : public RememberedFolder {
 public:
  explicit FolderOfCompletedRun(std::optional<fs::path>& folder) : folder_(folder) {}
  void Save(const fs::path& folder) override { folder_ = folder; }

 private:
  std::optional<fs::path>& folder_;
};

std::string_view SheetsName(SheetChoice sheets) {
  switch (sheets) {
    case SheetChoice::kPlayersOnly:
      return "players-only";
    case SheetChoice::kTeamsOnly:
      return "teams-only";
    case SheetChoice::kPlayersAndTeams:
      break;
  }
  return "players-and-teams";
}

std::string_view ViewingName(WorkbookViewing viewing) {
  return viewing == WorkbookViewing::kDontOpen ? "dont-open" : "view-after-completed";
}

}  // namespace

std::unique_ptr<BackgroundWork> StartThread(std::function<void()> work) {
  class ThreadWork : public BackgroundWork {
   public:
    explicit ThreadWork(std::function<void()> work) : thread_(std::move(work)) {}
    void Wait() override {
      if (thread_.joinable()) thread_.join();
    }

   private:
    std::thread thread_;
  };
  return std::make_unique<ThreadWork>(std::move(work));
}

WindowSetup DesktopWindowSetup() {
  WindowSetup setup;
  const fs::path program = ProgramFolder();
  // Installed: in a "bin" folder, or by the Windows installer (its
  // uninstaller beside the program). Such a program keeps its settings in
  // the user's settings folder; a copy run from its build or unpacked folder
  // beside itself.
  const bool installed = program.filename() == "bin" || PathEntryExists(program / "Uninstall.exe");
  if (!installed) setup.program_folder = program;
  setup.config_folder = UserSettingsFolder();
  std::error_code ec;
  setup.start_folder = fs::current_path(ec);
  setup.home_folder = HomeFolder();
  setup.documents_folder = DocumentsFolder();
  setup.run = RunProcessing;
  return setup;
}

std::string_view WindowState::process_caption() const {
  switch (run) {
    case RunPhase::kRunning:
      return window_text::kStop;
    case RunPhase::kStopping:
      return window_text::kStopping;
    case RunPhase::kIdle:
      break;
  }
  return window_text::kProcess;
}

// Carries a run's progress from its thread to the window's. The text and
// position change once per player, faster than a window can draw: only the
// latest of each is kept, and at most one delivery waits in the window's
// queue. StopRequested is the one call the other way round.
class WindowModel::RunChannel : public RunObserver {
 public:
  explicit RunChannel(std::function<void()> schedule) : schedule_(std::move(schedule)) {}

  void ProgressText(std::string_view text) override {
    std::lock_guard lock(mutex_);
    text_ = text;
    text_changed_ = true;
    ScheduleDelivery();
  }
  void PhaseProgress(std::string_view phase, int64_t done, int64_t total) override {
    std::lock_guard lock(mutex_);
    phase_ = phase;
    done_ = done;
    total_ = total;
    phase_changed_ = true;
    ScheduleDelivery();
  }
  bool StopRequested() const override { return stop_.load(std::memory_order_relaxed); }

  void RequestStop() { stop_.store(true, std::memory_order_relaxed); }
  void Reset() { stop_.store(false, std::memory_order_relaxed); }

  // Hands what came since the last call to `progress`. On the window's thread.
  void Take(ProgressShown& progress) {
    std::lock_guard lock(mutex_);
    delivery_waiting_ = false;
    if (phase_changed_) progress.Phase(phase_, done_, total_);
    if (text_changed_) progress.Text(text_);
    phase_changed_ = text_changed_ = false;
  }

 private:
  void ScheduleDelivery() {
    if (delivery_waiting_) return;
    delivery_waiting_ = true;
    schedule_();
  }

  std::function<void()> schedule_;
  std::atomic<bool> stop_{false};
  std::mutex mutex_;
  bool delivery_waiting_ = false;
  bool text_changed_ = false;
  std::string text_;
  bool phase_changed_ = false;
  std::string phase_;
  int64_t done_ = 0;
  int64_t total_ = 0;
};

WindowModel::WindowModel(WindowSetup setup, WindowHost& host)
    : setup_(std::move(setup)), host_(host) {
  if (!setup_.run) setup_.run = RunProcessing;
  channel_ = std::make_unique<RunChannel>(
      [this, deliver = WhileAlive(&WindowModel::DeliverProgress)] { host_.PostToWindow(deliver); });
  state_.progress_label = window_text::kPlayerProgressLabel;
}

WindowModel::~WindowModel() {
  if (work_) {
    channel_->RequestStop();
    work_->Wait();
  }
}

std::function<void()> WindowModel::WhileAlive(void (WindowModel::*method)()) {
  return [this, alive = std::weak_ptr<int>(alive_), method] {
    if (!alive.expired()) (this->*method)();
  };
}

void WindowModel::Refresh(unsigned parts) { host_.Refresh(parts); }

template <typename F>
auto WindowModel::Modal(F&& call) {
  struct Depth {
    WindowModel& model;
    explicit Depth(WindowModel& m) : model(m) { ++model.modal_depth_; }
    ~Depth() { --model.modal_depth_; }
  };
  auto answer = [&] {
    Depth depth(*this);
    return call();
  }();
  if (modal_depth_ == 0 && pending_ && !closing_) TellPendingRun();
  return answer;
}

MessageAnswer WindowModel::Tell(Severity severity, const std::string& text,
                                MessageButtons buttons) {
  return Modal([&] { return host_.Message(severity, text, buttons); });
}

void WindowModel::Start() {
  remembered_ = std::make_unique<RememberedFolderFile>(setup_.program_folder, setup_.config_folder);
  const std::optional<fs::path> folder = remembered_->ReadFolder();
  state_.index = remembered_->ReadSetting(kPlayerIndexSetting) == "1";
  state_.leaders = remembered_->ReadSetting(kLeadersSetting) == "1";
  if (const auto sheets = remembered_->ReadSetting(kSheetsSetting)) {
    for (const SheetChoice choice :
         {SheetChoice::kPlayersOnly, SheetChoice::kTeamsOnly, SheetChoice::kPlayersAndTeams}) {
      if (*sheets == SheetsName(choice)) state_.sheets = choice;
    }
  }
  if (remembered_->ReadSetting(kViewingSetting) == ViewingName(WorkbookViewing::kDontOpen)) {
    state_.viewing = WorkbookViewing::kDontOpen;
  }

  // First start shows the current folder. A remembered folder that is gone
  // (a removed drive, a renamed folder) is named, and the home folder shown.
  std::string status;
  if (!ShowFolder(folder ? *folder : setup_.start_folder, true)) {
    if (folder) {
      status = "The folder of the last run cannot be found: " + Shown(*folder) +
               ". Connect its drive and choose it again, or choose another folder.";
    }
    if (!ShowFolder(setup_.home_folder, true)) Judge();
  }
  if (!remembered_->problem().empty()) {
    status += (status.empty() ? "" : " ") + remembered_->problem();
  }
  if (!status.empty()) SetStatus(Severity::kWarning, status);

  fs::path output;
  if (const auto saved = remembered_->ReadOutputFolder()) output = *saved;
  std::error_code ec;
  if (output.empty() || !fs::is_directory(output, ec)) output = setup_.documents_folder;
  state_.output_folder = Clean(output);
  Refresh(kAllParts);
}

// ---------------------------------------------------------------------------
// The folder.

bool WindowModel::ShowFolder(const fs::path& folder, bool set_path_text) {
  if (!IsReadableFolder(folder)) return false;
  const fs::path path = Clean(folder);
  unsigned parts = kFolderPart;
  if (set_path_text) {
    host_.StopTimer(WindowTimer::kPathPause);
    typed_pending_ = false;
    state_.path_text = Shown(path);
    parts |= kPathTextPart;
  }
  if (path != state_.folder || path != state_.shown_folder) host_.WatchFolder(path);
  state_.folder = path;
  state_.shown_folder = path;
  Judge();
  Refresh(parts);
  return true;
}

bool WindowModel::ChooseFolder(const fs::path& folder) {
  if (state_.run != RunPhase::kIdle) return false;
  return ShowFolder(folder, true);
}

void WindowModel::PathTyped(std::string_view text) {
  if (state_.run != RunPhase::kIdle) return;
  state_.path_text = text;
  // The line under the path spoke of the folder before; until the pause
  // is over nothing is said and nothing runs.
  typed_pending_ = true;
  state_.folder_hint.clear();
  state_.process_allowed = false;
  host_.StartTimer(WindowTimer::kPathPause, kPathPause);
  Refresh(kFolderPart);
}

void WindowModel::PathEditingFinished() {
  if (!typed_pending_ || state_.run != RunPhase::kIdle) return;
  host_.StopTimer(WindowTimer::kPathPause);
  ApplyTypedPath(true);
}

void WindowModel::ApplyTypedPath(bool tidy_text) {
  typed_pending_ = false;
  const fs::path typed = ExpandTypedPath(state_.path_text, setup_.home_folder);
  // A folder is shown in the lists too; anything else stays the folder a
  // run would read, and its check says why it cannot.
  if (!ShowFolder(typed, tidy_text)) {
    if (typed != state_.folder) host_.WatchFolder({});
    state_.folder = typed;
    Judge();
    unsigned parts = kFolderPart;
    if (tidy_text && !typed.empty()) {
      state_.path_text = Shown(typed);
      parts |= kPathTextPart;
    }
    Refresh(parts);
  }
}

void WindowModel::Judge() {
  if (typed_pending_) return;
  const FolderVerdict verdict = JudgeEncyclopediaFolder(state_.folder);
  state_.process_allowed = verdict.process_allowed;
  state_.folder_hint = verdict.hint;
}

void WindowModel::FolderContentChanged() {
  Judge();
  // A folder that was removed and made again is watched anew.
  if (IsReadableFolder(state_.folder)) host_.WatchFolder(state_.folder);
  Refresh(kFolderPart);
}

void WindowModel::DrivePicked(const fs::path& root) {
  if (state_.run != RunPhase::kIdle) return;
  if (!ShowFolder(root, true)) {
    Refresh(kFolderPart);  // the drive list returns to the folder's drive
    Tell(Severity::kWarning, "The drive " + Shown(root) + " cannot be read.");
  }
}

void WindowModel::Browse() {
  if (state_.run != RunPhase::kIdle) return;
  const fs::path start = IsReadableFolder(state_.folder) ? state_.folder : setup_.home_folder;
  const std::optional<fs::path> folder = Modal([&] {
    return host_.ChooseFolder(std::string(window_text::kChooseEncyclopediaFolder), start);
  });
  if (!folder || folder->empty()) return;
  if (!ShowFolder(*folder, true)) {
    Tell(Severity::kWarning, "The folder " + Shown(*folder) + " cannot be read.");
  }
}

// ---------------------------------------------------------------------------
// The choices.

void WindowModel::SetSheets(SheetChoice sheets) {
  if (state_.run != RunPhase::kIdle) return;
  state_.sheets = sheets;
  Refresh(kChoicesPart);
}

void WindowModel::SetIndex(bool index) {
  if (state_.run != RunPhase::kIdle) return;
  state_.index = index;
  Refresh(kChoicesPart);
}

void WindowModel::SetLeaders(bool leaders) {
  if (state_.run != RunPhase::kIdle) return;
  state_.leaders = leaders;
  Refresh(kChoicesPart);
}

void WindowModel::SetViewing(WorkbookViewing viewing) {
  if (state_.run != RunPhase::kIdle) return;
  state_.viewing = viewing;
  Refresh(kChoicesPart);
}

void WindowModel::ChangeOutputFolder() {
  if (state_.run != RunPhase::kIdle) return;
  const std::optional<fs::path> folder = Modal([&] {
    return host_.ChooseFolder(std::string(window_text::kChooseOutputFolder), state_.output_folder);
  });
  if (folder && !folder->empty()) SetOutputFolder(*folder);
}

bool WindowModel::SetOutputFolder(const fs::path& folder) {
  const fs::path path = Clean(folder);
  if (const std::string problem = CheckOutputFolder(path); !problem.empty()) {
    Tell(Severity::kWarning,
         problem + "\n\nWorkbooks still go to " + Shown(state_.output_folder) + ".");
    return false;
  }
  state_.output_folder = path;
  Refresh(kOutputPart);
  try {
    remembered_->SaveOutputFolder(path);
  } catch (const StatCraneError& error) {
    Tell(Severity::kWarning, error.message() + "\n\nThe folder is used until the program ends.");
  }
  return true;
}

// ---------------------------------------------------------------------------
// Runs.

void WindowModel::Return() {
  if (state_.run != RunPhase::kIdle || closing_) return;
  host_.StopTimer(WindowTimer::kPathPause);
  ApplyTypedPath(true);
  if (state_.process_allowed) StartRun();
}

void WindowModel::ProcessOrStop() {
  if (state_.run == RunPhase::kRunning) {
    channel_->RequestStop();
    state_.run = RunPhase::kStopping;
    Refresh(kRunPart);
    return;
  }
  Return();
}

void WindowModel::StartRun() {
  std::error_code ec;
  fs::create_directories(state_.output_folder, ec);
  if (const std::string problem = CheckOutputFolder(state_.output_folder); !problem.empty()) {
    Tell(Severity::kWarning, problem + "\n\nChoose another workbook folder with \"Change...\".");
    return;
  }
  const auto now = std::chrono::system_clock::now();
  RunOptions options;
  options.encyclopedia_folder = state_.folder;
  options.sheets = run_sheets_ = state_.sheets;
  run_index_ = state_.index;
  options.index = run_index_ ? IndexChoice::kIndex : IndexChoice::kNone;
  run_leaders_ = state_.leaders;
  options.leaders =
      run_leaders_ && PlayersWanted(state_.sheets) ? LeadersChoice::kLeaders : LeadersChoice::kNone;
  run_viewing_ = state_.viewing;
  options.viewing = ViewingChoice::kViewAfterCompleted;
  run_output_ = options.output = NewWorkbookPath(state_.output_folder, now);
  options.overwrite = false;

  state_.run = RunPhase::kRunning;
  state_.started_time = host_.TimeStamp(now);
  state_.ended_time.clear();
  state_.saved_workbook.clear();
  state_.status_severity = Severity::kNone;
  state_.status_text.clear();
  progress_ = ProgressShown();
  progress_.Phase("reading", 0, 0);
  ShowProgress();
  channel_->Reset();
  running_ = FinishedRun{};
  Refresh(kRunPart | kOutputPart | kStatusPart | kProgressPart);
  work_ = host_.StartBackground([this, options, ended = WhileAlive(&WindowModel::RunEnded)] {
    FolderOfCompletedRun remembered(running_.folder);
    running_.result = CallRun(setup_.run, options, *channel_, &remembered);
    host_.PostToWindow(ended);
  });
}

void WindowModel::DeliverProgress() {
  channel_->Take(progress_);
  ShowProgress();
  Refresh(kProgressPart);
}

void WindowModel::ShowProgress() {
  state_.progress_label = progress_.label() == "Players" ? window_text::kPlayerProgressLabel
                                                         : window_text::kProgressLabel;
  state_.progress_text = progress_.WindowLine();
  const int percent = progress_.percent();
  state_.progress_figure = percent >= 0;
  state_.progress_value = std::max(percent, 0);
}

void WindowModel::RunEnded() {
  if (!work_) return;
  work_->Wait();
  work_.reset();
  channel_->Take(progress_);  // the last progress, when still on its way
  FinishedRun run = std::move(running_);
  if (closing_) {
    Discard(run);
    host_.StopTimer(WindowTimer::kStopGrace);
    host_.Quit(0);
    return;
  }
  pending_ = std::move(run);
  if (modal_depth_ == 0) TellPendingRun();
}

void WindowModel::TellPendingRun() {
  const FinishedRun run = std::move(*pending_);
  pending_.reset();
  Conclude(run);
}

void WindowModel::Discard(const FinishedRun& run) {
  // The window closed during the run: a workbook it wrote all the same (the
  // stop came while it was being written) is not kept.
  if (run.result.outcome == RunOutcome::kCompleted) {
    std::error_code ec;
    fs::remove(run.result.output, ec);
  }
}

void WindowModel::Conclude(const FinishedRun& run) {
  const RunResult& result = run.result;
  state_.run = RunPhase::kIdle;
  state_.ended_time = host_.TimeStamp(std::chrono::system_clock::now());
  report_text_ = statcrane::ReportText(result);
  state_.report_available = true;
  Judge();  // the folder may have changed while the run went on
  ShowProgress();
  const bool completed = result.outcome == RunOutcome::kCompleted;
  if (completed) {
    state_.progress_figure = false;
    state_.progress_value = 100;
  } else {
    state_.progress_figure = false;
    state_.progress_value = 0;
    if (result.outcome == RunOutcome::kStopped) {
      state_.progress_label = window_text::kProgressLabel;
      state_.progress_text = "Stopped";
    }
  }
  const std::string remember_problem = Remember(run);
  if (!result.output.empty()) state_.saved_workbook = result.output;
  Refresh(kAllParts & ~kPathTextPart);

  // The workbook is opened first, so that a box about warnings does not
  // keep it waiting.
  if (completed && run_viewing_ == WorkbookViewing::kViewAfterCompleted &&
      !host_.OpenWorkbook(result.output)) {
    Tell(Severity::kInformation,
         "No application was found to open the workbook. It is saved as\n" + Shown(result.output));
  }
  ReportOutcome(result, remember_problem);
  host_.RunConcluded();
}

std::string WindowModel::Remember(const FinishedRun& run) {
  if (run.result.outcome != RunOutcome::kCompleted || !run.folder) return "";
  try {
    remembered_->SaveSetting(kSheetsSetting, SheetsName(run_sheets_));
    remembered_->SaveSetting(kPlayerIndexSetting, run_index_ ? "1" : "0");
    remembered_->SaveSetting(kLeadersSetting, run_leaders_ ? "1" : "0");
    remembered_->SaveSetting(kViewingSetting, ViewingName(run_viewing_));
    remembered_->Save(*run.folder);
  } catch (const StatCraneError& error) {
    return error.message();
  }
  return "";
}

void WindowModel::SetStatus(Severity severity, std::string text) {
  state_.status_severity = text.empty() ? Severity::kNone : severity;
  state_.status_text = std::move(text);
  Refresh(kStatusPart);
}

void WindowModel::ReportOutcome(const RunResult& result, const std::string& remember_problem) {
  switch (result.outcome) {
    case RunOutcome::kCompleted:
      break;
    case RunOutcome::kStopped:
      SetStatus(Severity::kInformation, "Stopped: no workbook was written.");
      return;
    case RunOutcome::kNothingToWrite:
      SetStatus(Severity::kError, "Nothing to write: no workbook was written.");
      Tell(Severity::kError, AsSentence(result.error));
      return;
    case RunOutcome::kFailed:
    case RunOutcome::kFailedIncompleteSaved:
    case RunOutcome::kFailedIncompleteNotSaved: {
      SetStatus(Severity::kError, "The run failed: see the message.");
      std::string text = AsSentence(result.error) + "\n\n";
      if (result.outcome == RunOutcome::kFailedIncompleteSaved) {
        text += "What was built before the error was saved as an incomplete workbook:\n" +
                Shown(result.output);
      } else if (!result.output.empty()) {
        text += "The workbook was saved:\n" + Shown(result.output);
      } else if (result.outcome == RunOutcome::kFailedIncompleteNotSaved) {
        text +=
            "No workbook was written. What was built before the error could not be saved "
            "either: " +
            AsSentence(result.not_saved);
      } else {
        text += "No workbook was written.";
      }
      Tell(Severity::kError, text);
      return;
    }
  }
  const RunReport& report = result.report;
  if (!report.HasWarnings() && remember_problem.empty()) {
    SetStatus(Severity::kInformation,
              "Completed: " + CountText(report.players_written, "player", "players") + " and " +
                  CountText(report.teams_written, "team", "teams") + " written.");
    return;
  }
  std::string summary;
  std::string text;
  MessageButtons buttons = MessageButtons::kOk;
  if (report.HasWarnings()) {
    summary = "Completed with warnings: " + report.WarningsSummary() + " \u2014 see Run Report";
    text = summary + ".";
    if (const std::string types = report.SeasonTypeMessage(); !types.empty()) {
      text += "\n\n" + types;
    }
    buttons = MessageButtons::kOkAndShowReport;
  } else {
    summary = "Completed; the folder will not be remembered.";
    text = "The workbook was written.";
  }
  if (!remember_problem.empty()) text += "\n\n" + remember_problem;
  SetStatus(Severity::kWarning, summary);
  if (Tell(Severity::kWarning, text, buttons) == MessageAnswer::kShowReport) ShowReport();
}

// ---------------------------------------------------------------------------
// The report, About, closing.

void WindowModel::ShowReport() {
  if (!state_.report_available) return;
  Modal([&] {
    host_.ShowRunReport();
    return true;
  });
}

std::string WindowModel::ReportText() const { return report_text_; }

bool WindowModel::SaveReport() {
  const std::optional<fs::path> file = Modal(
      [&] { return host_.ChooseReportFile(setup_.home_folder / "StatCrane run report.txt"); });
  if (!file || file->empty()) return false;
  try {
    SaveReportFile(*file, ReportText());
  } catch (const StatCraneError& error) {
    Tell(Severity::kWarning, "The report was not saved. " + error.message());
    return false;
  }
  return true;
}

void WindowModel::About() {
  Tell(Severity::kInformation,
       "StatCrane " STATCRANE_VERSION
       "\n\nTurns the encyclopedia of a baseball simulation game into a statistics workbook "
       "(.xlsx).\n\nFree software under the MIT licence: you may use, copy, change and pass it "
       "on; it comes without any warranty.");
}

bool WindowModel::CloseRequested() {
  if (closing_) return true;
  if (state_.run == RunPhase::kRunning) {
    // The question comes first: a run that ends meanwhile waits for the
    // answer before it tells anything.
    ++modal_depth_;
    const bool stop = host_.Ask(std::string(kCloseQuestion));
    --modal_depth_;
    if (!stop) {
      if (modal_depth_ == 0 && pending_) TellPendingRun();
      return false;
    }
  }
  closing_ = true;
  host_.StopTimer(WindowTimer::kPathPause);
  if (pending_) {
    Discard(*pending_);
    pending_.reset();
  }
  if (!work_) {
    host_.Quit(0);
    return true;
  }
  // The run stops at its next check and writes no workbook; the program
  // ends once its thread has returned (RunEnded).
  channel_->RequestStop();
  state_.run = RunPhase::kStopping;
  host_.StartTimer(WindowTimer::kStopGrace, kStopGrace);
  return true;
}

void WindowModel::TimerFired(WindowTimer timer) {
  switch (timer) {
    case WindowTimer::kPathPause:
      if (typed_pending_ && state_.run == RunPhase::kIdle) ApplyTypedPath(false);
      return;
    case WindowTimer::kStopGrace:
      if (!work_) return;
      std::fputs("statcrane: the run did not stop in time; ending without it\n", stderr);
      {
        std::error_code ec;
        fs::remove(run_output_, ec);
      }
      host_.EndAtOnce(1);
      return;
  }
}

}  // namespace statcrane

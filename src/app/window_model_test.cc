// The window model, headless: start-up and what is remembered, choosing and
// typing the folder, Return, runs and how they end, closing during a run,
// the run report. A fake window records what the model asked of it; runs go
// on real threads and come back through its queue.
#include "app/window_model.h"

#include <gtest/gtest.h>

#include <condition_variable>
#include <cstdlib>
#include <deque>
#include <fstream>
#include <iterator>
#include <map>
#include <mutex>
#include <thread>

#include "app/window_texts.h"
#include "testing/temp_dir.h"
#include "util/error.h"

namespace statcrane {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using testing::TempDir;

std::string FileBytes(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

void WriteText(const fs::path& file, std::string_view text) {
  std::ofstream(file, std::ios::binary) << text;
}

std::vector<fs::path> FilesIn(const fs::path& folder) {
  std::vector<fs::path> files;
  std::error_code ec;
  for (const auto& entry : fs::directory_iterator(folder, ec)) files.push_back(entry.path());
  return files;
}

struct Told {
  Severity severity;
  std::string text;
  MessageButtons buttons;
};

// A window that records what it was asked, answers as the test says, and
// runs what was posted to it when the test pumps.
class FakeWindow : public WindowHost {
 public:
  void Refresh(unsigned parts) override { refreshed |= parts; }
  void RunConcluded() override { ++concluded; }
  MessageAnswer Message(Severity severity, const std::string& text,
                        MessageButtons buttons) override {
    told.push_back({severity, text, buttons});
    events.push_back("message");
    if (while_modal) while_modal();
    return message_answer;
  }
  bool Ask(const std::string& question) override {
    questions.push_back(question);
    if (while_modal) while_modal();
    return answer;
  }
  std::optional<fs::path> ChooseFolder(const std::string&, const fs::path&) override {
    return chosen_folder;
  }
  std::optional<fs::path> ChooseReportFile(const fs::path&) override { return chosen_file; }
  void ShowRunReport() override {
    events.push_back("report");
    if (on_report) on_report();
  }
  bool OpenWorkbook(const fs::path& workbook) override {
    opened.push_back(workbook);
    events.push_back("open");
    return can_open;
  }
  std::string TimeStamp(std::chrono::system_clock::time_point) override {
    return "stamp " + std::to_string(++stamps);
  }
  void WatchFolder(const fs::path& folder) override { watched = folder; }
  void StartTimer(WindowTimer timer, std::chrono::milliseconds delay) override {
    timers[timer] = delay;
  }
  void StopTimer(WindowTimer timer) override { timers.erase(timer); }
  std::unique_ptr<BackgroundWork> StartBackground(std::function<void()> work) override {
    {
      std::lock_guard lock(mutex_);
      ++works_started_;
    }
    return StartThread([this, work = std::move(work)] {
      work();
      std::lock_guard lock(mutex_);
      ++works_done_;
      posted_.notify_all();
    });
  }
  void PostToWindow(std::function<void()> task) override {
    std::lock_guard lock(mutex_);
    queue_.push_back(std::move(task));
    posted_.notify_all();
  }
  void Quit(int status) override { quit = status; }
  void EndAtOnce(int status) override { ended_at_once = status; }

  // Runs posted tasks until every run started has returned and nothing is
  // waiting; false after `timeout`.
  bool Settle(std::chrono::seconds timeout = 120s) {
    return PumpUntil([this] { return works_done_ == works_started_ && queue_.empty(); }, timeout);
  }
  // Runs posted tasks until `done` (checked with the queue locked); false
  // after `timeout`.
  bool PumpUntil(const std::function<bool()>& done, std::chrono::seconds timeout = 120s) {
    const auto until = std::chrono::steady_clock::now() + timeout;
    for (;;) {
      std::unique_lock lock(mutex_);
      if (done()) return true;
      if (!posted_.wait_until(lock, until, [&] { return !queue_.empty() || done(); })) {
        return false;
      }
      if (queue_.empty()) continue;
      std::function<void()> task = std::move(queue_.front());
      queue_.pop_front();
      lock.unlock();
      task();
    }
  }
  // A timer the model started goes off.
  bool Fire(WindowTimer timer) {
    if (timers.erase(timer) == 0) return false;
    model->TimerFired(timer);
    return true;
  }

  WindowModel* model = nullptr;
  unsigned refreshed = 0;
  std::vector<Told> told;
  std::vector<std::string> events;
  MessageAnswer message_answer = MessageAnswer::kOk;
  std::vector<std::string> questions;
  bool answer = true;
  std::function<void()> while_modal;
  std::optional<fs::path> chosen_folder, chosen_file;
  std::function<void()> on_report;
  std::vector<fs::path> opened;
  bool can_open = true;
  int stamps = 0;
  fs::path watched;
  std::map<WindowTimer, std::chrono::milliseconds> timers;
  int concluded = 0;
  std::optional<int> quit, ended_at_once;

 private:
  std::mutex mutex_;
  std::condition_variable posted_;
  std::deque<std::function<void()>> queue_;
  int works_started_ = 0;
  int works_done_ = 0;
};

// A run that reports what the test asks and returns at once.
RunFunction FakeRun(std::function<void(RunResult&, const RunOptions&)> fill) {
  return [fill](const RunOptions& options, RunObserver& observer, RememberedFolder* remembered) {
    observer.ProgressText("TEAMS COMPLETED");
    RunResult result;
    fill(result, options);
    if (result.outcome == RunOutcome::kCompleted) {
      // A completed run wrote the requested file.
      if (result.output.empty()) result.output = options.output;
      if (remembered != nullptr) remembered->Save(options.encyclopedia_folder);
    }
    return result;
  };
}

// A run that goes on until it is stopped or the gate opens; then completes
// and writes a (tiny) workbook.
struct GatedRun {
  std::atomic<bool> open{false};
  std::atomic<bool> started{false};
  RunFunction Function() {
    return [this](const RunOptions& options, RunObserver& observer, RememberedFolder* remembered) {
      observer.PhaseProgress("players", 1, 12);
      observer.ProgressText("Aaron,Hank");
      started = true;
      while (!open) {
        CheckStop(observer);
        std::this_thread::sleep_for(1ms);
      }
      WriteText(options.output, "PK");
      RunResult result;
      result.outcome = RunOutcome::kCompleted;
      result.output = options.output;
      if (remembered != nullptr) remembered->Save(options.encyclopedia_folder);
      return result;
    };
  }
};

// One window's folders under a temporary folder, its fake window and model.
class Place {
 public:
  Place() {
    for (const char* name : {"prog", "start", "home"}) fs::create_directories(dir_ / name);
  }
  fs::path Path(std::string_view name) const { return dir_ / name; }
  fs::path SettingsFile() const { return Path("prog/data/STATCRANE.txt"); }

  // A folder holding the named files, each empty.
  fs::path Folder(std::string_view name, std::initializer_list<std::string_view> files) {
    fs::create_directories(Path(name));
    for (const std::string_view file : files) WriteText(Path(name) / file, "");
    return Path(name);
  }

  // Starts a model and its window anew; `run` replaces the processing run.
  WindowModel& Open(RunFunction run = nullptr) {
    model_.reset();
    window_ = std::make_unique<FakeWindow>();
    WindowSetup setup;
    setup.program_folder = Path("prog");
    setup.config_folder = Path("config");
    setup.start_folder = Path("start");
    setup.home_folder = Path("home");
    setup.documents_folder = Path("Documents");
    setup.run = std::move(run);
    model_ = std::make_unique<WindowModel>(std::move(setup), *window_);
    window_->model = model_.get();
    model_->Start();
    return *model_;
  }

  // Presses Process and waits until the run was told.
  void Process() {
    model_->ProcessOrStop();
    ASSERT_TRUE(window_->Settle());
  }

  FakeWindow& window() { return *window_; }

 private:
  TempDir dir_;
  std::unique_ptr<FakeWindow> window_;
  std::unique_ptr<WindowModel> model_;
};

fs::path SampleFolder() {
  const char* source = std::getenv("STATCRANE_SOURCE_DIR");
  return fs::path(source != nullptr ? source : ".") / "samples" / "sample-encyclopedia";
}

TEST(WindowModelTest, FirstStartShowsTheCurrentFolderAndMakesTheSettingsFile) {
  Place place;
  const WindowModel& model = place.Open();
  const WindowState& state = model.state();
  EXPECT_EQ(FileBytes(place.SettingsFile()), "\"" + place.Path("prog").string() + "\"\r\n");
  EXPECT_EQ(state.folder, place.Path("start"));
  EXPECT_EQ(state.shown_folder, place.Path("start"));
  EXPECT_EQ(state.path_text, place.Path("start").string());
  EXPECT_EQ(place.window().watched, place.Path("start"));
  EXPECT_FALSE(state.process_allowed);
  EXPECT_FALSE(state.process_enabled());
  EXPECT_NE(state.folder_hint.find("ENCTEAM.DAT"), std::string::npos);
  EXPECT_EQ(state.output_folder, place.Path("Documents"));
  EXPECT_EQ(state.sheets, SheetChoice::kPlayersAndTeams);
  EXPECT_FALSE(state.index);
  EXPECT_EQ(state.viewing, WorkbookViewing::kViewAfterCompleted);
  EXPECT_EQ(state.progress_label, window_text::kPlayerProgressLabel);
  EXPECT_EQ(state.process_caption(), "&Process");
  EXPECT_TRUE(state.progress_text.empty() && state.started_time.empty() &&
              state.status_text.empty());
  EXPECT_FALSE(state.report_available);
  EXPECT_EQ(place.window().refreshed, kAllParts);
  EXPECT_TRUE(place.window().told.empty());
}

TEST(WindowModelTest, FolderCheckSaysWhyProcessCannotRun) {
  Place place;
  WindowModel& model = place.Open();
  const WindowState& state = model.state();
  const fs::path capitals = place.Folder("capitals", {"ENCTEAM.DAT"});
  const fs::path others = place.Folder(
      "others", {"ENCPLYR.DAT", "ENCPLSTATS.DAT", "encleag.dat", "enclgyr.dat", "enctmyr.dat"});

  ASSERT_TRUE(model.ChooseFolder(capitals));
  EXPECT_TRUE(state.process_enabled());
  EXPECT_EQ(state.folder_hint,
            "Missing here, read as empty: ENCPLYR.DAT, ENCPLSTATS.DAT, encleag.dat, enclgyr.dat, "
            "enctmyr.dat");
  ASSERT_TRUE(model.ChooseFolder(others));
  EXPECT_FALSE(state.process_enabled());
  EXPECT_NE(state.folder_hint.find("ENCTEAM.DAT"), std::string::npos);
  // The team file appearing and going while the folder is shown.
  WriteText(others / "EncTeam.Dat", "");
  model.FolderContentChanged();
  EXPECT_TRUE(state.process_enabled());
  EXPECT_EQ(state.folder_hint, "");
  fs::remove(others / "EncTeam.Dat");
  model.FolderContentChanged();
  EXPECT_FALSE(state.process_enabled());

  // Not a folder that can be shown: nothing changes.
  EXPECT_FALSE(model.ChooseFolder(place.Path("none")));
  EXPECT_EQ(state.folder, others);
  // The folder goes while it is shown.
  fs::remove_all(others);
  model.FolderContentChanged();
  EXPECT_EQ(state.folder_hint, "This folder does not exist.");
}

// The line under the path followed the folder before the one typed; Return
// ran the old folder when it had passed; a missing folder was told as one
// without ENCTEAM.DAT.
TEST(WindowModelTest, TypedPathIsCheckedAfterAPauseAndReturnRunsOnlyAFolderThatPassed) {
  Place place;
  const fs::path league = place.Folder("my league/enc", {"encteam.dat"});
  const fs::path other = place.Folder("other", {"ENCTEAM.DAT"});
  std::vector<fs::path> ran;
  WindowModel& model = place.Open(FakeRun([&](RunResult& result, const RunOptions& options) {
    ran.push_back(options.encyclopedia_folder);
    result.outcome = RunOutcome::kCompleted;
  }));
  const WindowState& state = model.state();
  ASSERT_TRUE(model.ChooseFolder(league));
  ASSERT_TRUE(state.process_enabled());

  // While typing, nothing is said of the old folder and nothing runs; after
  // the pause the line speaks of what was typed.
  place.window().refreshed = 0;
  model.PathTyped(place.Path("no such").string());
  EXPECT_EQ(state.folder_hint, "");
  EXPECT_FALSE(state.process_enabled());
  EXPECT_EQ(place.window().timers[WindowTimer::kPathPause], WindowModel::kPathPause);
  EXPECT_EQ(place.window().refreshed & kPathTextPart, 0u);  // the field is the user's
  ASSERT_TRUE(place.window().Fire(WindowTimer::kPathPause));
  EXPECT_EQ(state.folder_hint, "This folder does not exist.");
  EXPECT_EQ(state.folder, place.Path("no such"));
  EXPECT_EQ(state.shown_folder, league);
  model.Return();
  EXPECT_TRUE(ran.empty());
  EXPECT_EQ(state.run, RunPhase::kIdle);

  // A typed folder that exists: the lists follow after the pause, the text
  // stays as typed until the field is left.
  const std::string typed = "  " + other.string() + "/ ";
  model.PathTyped(typed);
  ASSERT_TRUE(place.window().Fire(WindowTimer::kPathPause));
  EXPECT_EQ(state.shown_folder, other);
  EXPECT_EQ(state.path_text, typed);
  EXPECT_TRUE(state.process_enabled());
  model.PathEditingFinished();  // nothing pending: the text stays
  EXPECT_EQ(state.path_text, typed);
  model.PathTyped(typed);
  model.PathEditingFinished();
  EXPECT_EQ(state.path_text, other.string());
  EXPECT_FALSE(place.window().timers.contains(WindowTimer::kPathPause));

  // Return before the pause is over checks what was typed and runs it, not
  // the folder shown before.
  ASSERT_TRUE(model.ChooseFolder(league));
  model.PathTyped(other.string());
  model.Return();
  ASSERT_TRUE(place.window().Settle());
  EXPECT_EQ(ran, std::vector<fs::path>{other});
  // ... and a typed path that fails keeps Return from running the old one.
  model.PathTyped(place.Path("other/ENCTEAM.DAT").string());
  model.Return();
  ASSERT_TRUE(place.window().Settle());
  EXPECT_EQ(ran.size(), 1u);
  EXPECT_EQ(state.folder_hint, "This is a file, not a folder.");

  // "~" is the home folder; an empty field asks for a folder.
  fs::create_directories(place.Path("home/enc"));
  model.PathTyped("~/enc");
  model.PathEditingFinished();
  EXPECT_EQ(state.folder, place.Path("home/enc"));
  model.PathTyped("   ");
  model.PathEditingFinished();
  EXPECT_EQ(state.folder_hint, "Choose the encyclopedia folder.");
}

TEST(WindowModelTest, BrowseAndTheDriveListChooseTheFolder) {
  Place place;
  const fs::path other = place.Folder("other", {"ENCTEAM.DAT"});
  WindowModel& model = place.Open();
  place.window().chosen_folder = other;
  model.Browse();
  EXPECT_EQ(model.state().folder, other);
  EXPECT_EQ(model.state().path_text, other.string());
  place.window().chosen_folder.reset();
  model.Browse();
  EXPECT_EQ(model.state().folder, other);

  model.DrivePicked(place.Path("no drive"));
  ASSERT_EQ(place.window().told.size(), 1u);
  EXPECT_EQ(place.window().told[0].text,
            "The drive " + place.Path("no drive").string() + " cannot be read.");
  EXPECT_EQ(model.state().folder, other);
  model.DrivePicked(place.Path("home"));
  EXPECT_EQ(model.state().folder, place.Path("home"));
}

TEST(WindowModelTest, ARunOnTheSampleWritesANewWorkbookEachTimeAndOpensIt) {
  if (!fs::is_directory(SampleFolder())) GTEST_SKIP() << "no bundled sample";
  Place place;
  WindowModel& model = place.Open();
  const WindowState& state = model.state();
  ASSERT_TRUE(model.ChooseFolder(SampleFolder()));
  place.Process();
  ASSERT_TRUE(place.window().told.empty()) << place.window().told[0].text;
  EXPECT_EQ(state.run, RunPhase::kIdle);
  EXPECT_EQ(state.progress_text, "Processing Completed");
  EXPECT_EQ(state.progress_label, window_text::kProgressLabel);
  EXPECT_EQ(state.progress_value, 100);
  EXPECT_EQ(state.started_time, "stamp 1");
  EXPECT_EQ(state.ended_time, "stamp 2");
  EXPECT_TRUE(state.status_text.starts_with("Completed: ")) << state.status_text;
  EXPECT_TRUE(state.report_available);
  EXPECT_EQ(place.window().concluded, 1);
  const std::vector<fs::path> written = FilesIn(place.Path("Documents"));
  ASSERT_EQ(written.size(), 1u);
  EXPECT_TRUE(written[0].filename().string().starts_with("StatCrane 20"));
  EXPECT_EQ(state.saved_workbook, written[0]);
  EXPECT_EQ(place.window().opened, written);
  EXPECT_EQ(FileBytes(written[0]).substr(0, 2), "PK");
  EXPECT_TRUE(
      FileBytes(place.SettingsFile())
          .starts_with("\"" + fs::absolute(SampleFolder()).lexically_normal().string() + "\"\r\n"));

  // Teams only, not opened: another file beside the first.
  model.SetSheets(SheetChoice::kTeamsOnly);
  model.SetViewing(WorkbookViewing::kDontOpen);
  const std::string first = FileBytes(written[0]);
  place.Process();
  EXPECT_EQ(FilesIn(place.Path("Documents")).size(), 2u);
  EXPECT_EQ(FileBytes(written[0]), first);
  EXPECT_EQ(place.window().opened.size(), 1u);
}

// The sheets and viewing choices were not remembered.
TEST(WindowModelTest, ACompletedRunRemembersItsFolderAndChoicesAFailedOneNothing) {
  Place place;
  const fs::path league = place.Folder("league", {"ENCTEAM.DAT"});
  bool fail = false;
  LeadersChoice leaders_asked = LeadersChoice::kNone;
  auto run = FakeRun([&](RunResult& result, const RunOptions& options) {
    leaders_asked = options.leaders;
    if (fail) {
      result.error = "broken";
    } else {
      result.outcome = RunOutcome::kCompleted;
    }
  });
  WindowModel* model = &place.Open(run);
  ASSERT_TRUE(model->ChooseFolder(league));
  model->SetSheets(SheetChoice::kPlayersOnly);
  model->SetIndex(true);
  model->SetLeaders(true);
  model->SetViewing(WorkbookViewing::kDontOpen);
  place.Process();
  EXPECT_EQ(leaders_asked, LeadersChoice::kLeaders);
  EXPECT_EQ(FileBytes(place.SettingsFile()),
            "\"" + league.string() +
                "\"\r\nsheets \"players-only\"\r\nplayer-index \"1\"\r\nleaders "
                "\"1\"\r\nviewing \"dont-open\"\r\n");

  // Teams only have no leaders; the box keeps its choice.
  fail = true;
  model->SetSheets(SheetChoice::kTeamsOnly);
  model->SetIndex(false);
  place.Process();
  EXPECT_EQ(leaders_asked, LeadersChoice::kNone);
  EXPECT_TRUE(model->state().leaders);
  model = &place.Open(run);
  const WindowState& state = model->state();
  EXPECT_EQ(state.folder, league);
  EXPECT_TRUE(state.process_enabled());
  EXPECT_EQ(state.sheets, SheetChoice::kPlayersOnly);
  EXPECT_TRUE(state.index);
  EXPECT_TRUE(state.leaders);
  EXPECT_EQ(state.viewing, WorkbookViewing::kDontOpen);
}

// A folder named with a line break put a forged "workbook-folder" line
// into the settings.
TEST(WindowModelTest, AFolderNamedWithALineBreakIsRememberedAsOneFolder) {
#ifdef _WIN32
  GTEST_SKIP() << "Windows folder names hold no line breaks or quotes";
#endif
  Place place;
  const fs::path odd = place.Folder("enc\r\nworkbook-folder \"/tmp\"\r\n\"x", {"ENCTEAM.DAT"});
  WindowModel* model = &place.Open(FakeRun(
      [](RunResult& result, const RunOptions&) { result.outcome = RunOutcome::kCompleted; }));
  ASSERT_TRUE(model->ChooseFolder(odd));
  place.Process();
  model = &place.Open();
  EXPECT_EQ(model->state().folder, odd);
  EXPECT_EQ(model->state().output_folder, place.Path("Documents"));
}

// A remembered folder that had gone gave way to the home folder without a word.
TEST(WindowModelTest, ARememberedFolderThatIsGoneIsNamedInTheStatusLine) {
  Place place;
  fs::create_directories(place.Path("prog/data"));
  const fs::path gone = place.Path("stick") / "league";
  WriteText(place.SettingsFile(), "\"" + gone.string() + "\"\r\n");
  const WindowState& state = place.Open().state();
  EXPECT_EQ(state.folder, place.Path("home"));
  EXPECT_EQ(state.status_severity, Severity::kWarning);
  EXPECT_NE(state.status_text.find(gone.string()), std::string::npos) << state.status_text;
  EXPECT_TRUE(place.window().told.empty());

  // Nowhere to keep the settings: the window starts and says so.
  Place nowhere;
  WriteText(nowhere.Path("prog/data"), "a file where the data folder belongs");
  WriteText(nowhere.Path("config"), "a file where the configuration folder belongs");
  const WindowState& started = nowhere.Open().state();
  EXPECT_EQ(started.folder, nowhere.Path("start"));
  EXPECT_NE(started.status_text.find("STATCRANE.txt"), std::string::npos) << started.status_text;
}

// The warning box had only OK, and the workbook opened only once it was
// closed.
TEST(WindowModelTest, WarningsOpenTheWorkbookFirstAndTheBoxOffersTheReport) {
  Place place;
  const fs::path league = place.Folder("league", {"ENCTEAM.DAT"});
  WindowModel& model = place.Open(FakeRun([](RunResult& result, const RunOptions&) {
    result.outcome = RunOutcome::kCompleted;
    for (const char* file : {"ENCPLYR.DAT", "encleag.dat"}) result.report.FileMissing(file);
    for (int i = 0; i < 60; ++i)
      result.report.RecordSkipped("ENCTEAM.DAT", {"deleted record", "deleted records"});
    for (const int type : {0, 3, 3, 4, 8, 8, 8}) ++result.report.unknown_season_types[type];
  }));
  ASSERT_TRUE(model.ChooseFolder(league));
  place.window().message_answer = MessageAnswer::kShowReport;
  std::string report;
  place.window().on_report = [&] { report = model.ReportText(); };
  place.Process();
  EXPECT_EQ(place.window().events, (std::vector<std::string>{"open", "message", "report"}));
  ASSERT_EQ(place.window().told.size(), 1u);
  const Told& told = place.window().told[0];
  EXPECT_EQ(told.severity, Severity::kWarning);
  EXPECT_EQ(told.buttons, MessageButtons::kOkAndShowReport);
  EXPECT_TRUE(
      told.text.starts_with("Completed with warnings: 2 files missing, 60 records "
                            "skipped, 7 records of unknown season types \u2014 see Run "
                            "Report"))
      << told.text;
  EXPECT_NE(told.text.find("Season types 0, 3, 4 and 8 are not ones this program knows: their 7 "
                           "records were left out of the workbook (1 of type 0, 2 of type 3, 1 "
                           "of type 4, 3 of type 8)."),
            std::string::npos)
      << told.text;
  EXPECT_TRUE(model.state().status_text.starts_with("Completed with warnings: 2 files missing"));
  EXPECT_EQ(model.state().status_severity, Severity::kWarning);
  EXPECT_NE(report.find("60 deleted records"), std::string::npos) << report;
}

// A run of the real program that finds no player and no team: no workbook,
// an error in the status line and the box, nothing remembered.
TEST(WindowModelTest, NothingToWriteIsAFailureWithoutAWorkbook) {
  Place place;
  const fs::path league = place.Folder("league", {"ENCTEAM.DAT", "enctmyr.dat"});
  WindowModel& model = place.Open();
  ASSERT_TRUE(model.ChooseFolder(league));
  const std::string settings = FileBytes(place.SettingsFile());
  place.Process();
  const WindowState& state = model.state();
  EXPECT_EQ(state.status_severity, Severity::kError);
  EXPECT_EQ(state.status_text, "Nothing to write: no workbook was written.");
  ASSERT_EQ(place.window().told.size(), 1u);
  EXPECT_EQ(place.window().told[0].severity, Severity::kError);
  EXPECT_TRUE(place.window().told[0].text.starts_with(
      "Nothing to write: no player of the encyclopedia has a statistics line and no team has a "
      "season (4 files missing: "))
      << place.window().told[0].text;
  EXPECT_TRUE(place.window().opened.empty());
  EXPECT_TRUE(state.saved_workbook.empty());
  EXPECT_TRUE(FilesIn(place.Path("Documents")).empty());
  EXPECT_EQ(FileBytes(place.SettingsFile()), settings);
  EXPECT_TRUE(state.process_enabled());
}

TEST(WindowModelTest, FailedAndStoppedRunsAreToldAndTheWindowIsReadyAgain) {
  Place place;
  const fs::path league = place.Folder("league", {"ENCTEAM.DAT"});
  WindowModel& model = place.Open(FakeRun([](RunResult& result, const RunOptions& options) {
    result.outcome = RunOutcome::kFailedIncompleteSaved;
    result.error = "ENCPLSTATS.DAT: the file cannot be read (Input/output error)";
    result.output = options.output.string() + " (incomplete).xlsx";
  }));
  const WindowState& state = model.state();
  ASSERT_TRUE(model.ChooseFolder(league));
  place.Process();
  ASSERT_EQ(place.window().told.size(), 1u);
  EXPECT_EQ(place.window().told[0].severity, Severity::kError);
  const std::string& error = place.window().told[0].text;
  EXPECT_NE(error.find("ENCPLSTATS.DAT: the file cannot be read"), std::string::npos);
  EXPECT_NE(error.find("incomplete workbook:\n"), std::string::npos) << error;
  EXPECT_TRUE(state.saved_workbook.string().ends_with("(incomplete).xlsx"));
  EXPECT_FALSE(state.ended_time.empty());
  EXPECT_TRUE(place.window().opened.empty());
  EXPECT_EQ(state.status_severity, Severity::kError);
  EXPECT_TRUE(state.process_enabled() && state.choices_enabled());
  EXPECT_EQ(FileBytes(place.SettingsFile()), "\"" + place.Path("prog").string() + "\"\r\n");

  // Stop: the bar does not stay where the run was.
  GatedRun gated;
  WindowModel& again = place.Open(gated.Function());
  ASSERT_TRUE(again.ChooseFolder(league));
  again.ProcessOrStop();
  EXPECT_EQ(again.state().process_caption(), "&Stop");
  EXPECT_FALSE(again.state().choices_enabled());
  while (!gated.started) std::this_thread::sleep_for(1ms);
  again.ProcessOrStop();
  EXPECT_EQ(again.state().process_caption(), "Stopping...");
  EXPECT_FALSE(again.state().process_enabled());
  ASSERT_TRUE(place.window().Settle());
  EXPECT_EQ(again.state().progress_text, "Stopped");
  EXPECT_EQ(again.state().progress_value, 0);
  EXPECT_FALSE(again.state().progress_figure);
  EXPECT_TRUE(again.state().status_text.starts_with("Stopped"));
  EXPECT_TRUE(again.state().process_enabled());
  EXPECT_TRUE(FilesIn(place.Path("Documents")).empty());
  EXPECT_TRUE(place.window().told.empty() && place.window().opened.empty());
}

TEST(WindowModelTest, ProgressIsLabelledByItsPhase) {
  Place place;
  const fs::path league = place.Folder("league", {"ENCTEAM.DAT"});
  std::vector<std::pair<std::string, std::string>> seen;
  WindowModel* model = nullptr;
  std::atomic<int> step{0};
  WindowModel& opened =
      place.Open([&](const RunOptions&, RunObserver& observer, RememberedFolder*) {
        const auto wait_for = [&](int n) {
          while (step < n) std::this_thread::sleep_for(1ms);
        };
        observer.PhaseProgress("players", 3, 4);
        observer.ProgressText("Aaron,Hank");
        wait_for(1);
        observer.PhaseProgress("writing", 89, 100);
        wait_for(2);
        return RunResult{};
      });
  model = &opened;
  ASSERT_TRUE(model->ChooseFolder(league));
  model->ProcessOrStop();
  const auto shown = [&] {
    return std::pair(std::string(model->state().progress_label), model->state().progress_text);
  };
  ASSERT_TRUE(place.window().PumpUntil([&] { return shown().second == "Players: Aaron,Hank"; }));
  EXPECT_EQ(shown(), std::pair(std::string(window_text::kPlayerProgressLabel),
                               std::string("Players: Aaron,Hank")));
  EXPECT_EQ(model->state().progress_value, 75);
  step = 1;
  ASSERT_TRUE(place.window().PumpUntil([&] { return shown().second == "Writing workbook 89 %"; }));
  EXPECT_EQ(shown().first, window_text::kProgressLabel);
  step = 2;
  ASSERT_TRUE(place.window().Settle());
}

// Closing during a run left the question open while the run ended: its box
// stacked on top, and answering Yes closed the window but not the program.
TEST(WindowModelTest, ClosingDuringARunAsksFirstAndTheProgramAlwaysEnds) {
  auto start = [](Place& place, GatedRun& gated) -> WindowModel& {
    WindowModel& model = place.Open(gated.Function());
    EXPECT_TRUE(model.ChooseFolder(place.Folder("league", {"ENCTEAM.DAT"})));
    model.ProcessOrStop();
    while (!gated.started) std::this_thread::sleep_for(1ms);
    return model;
  };
  {
    // No: the run goes on. The run ends while the question is open: it is
    // told once the question is answered, not before.
    Place place;
    GatedRun gated;
    WindowModel& model = start(place, gated);
    place.window().answer = false;
    place.window().while_modal = [&] {
      gated.open = true;
      ASSERT_TRUE(place.window().Settle());
      EXPECT_EQ(model.state().run, RunPhase::kRunning);
      EXPECT_TRUE(place.window().opened.empty());
    };
    EXPECT_FALSE(model.CloseRequested());
    EXPECT_EQ(place.window().questions.size(), 1u);
    EXPECT_EQ(model.state().run, RunPhase::kIdle);
    EXPECT_EQ(place.window().opened.size(), 1u);
    EXPECT_EQ(place.window().quit, std::nullopt);
    // Idle: the window closes and the program ends at once.
    EXPECT_TRUE(model.CloseRequested());
    EXPECT_EQ(place.window().quit, 0);
  }
  {
    // Yes: the program ends once the run has stopped; no workbook, nothing
    // told, nothing remembered.
    Place place;
    GatedRun gated;
    WindowModel& model = start(place, gated);
    EXPECT_TRUE(model.CloseRequested());
    EXPECT_EQ(place.window().quit, std::nullopt);
    EXPECT_TRUE(place.window().timers.contains(WindowTimer::kStopGrace));
    ASSERT_TRUE(place.window().Settle());
    EXPECT_EQ(place.window().quit, 0);
    EXPECT_FALSE(place.window().timers.contains(WindowTimer::kStopGrace));
    EXPECT_TRUE(place.window().told.empty() && place.window().opened.empty());
    EXPECT_EQ(place.window().concluded, 0);
  }
  {
    // Yes after the run completed while the question was open: the program
    // ends, and the workbook of the run the user gave up is not kept.
    Place place;
    GatedRun gated;
    WindowModel& model = start(place, gated);
    place.window().while_modal = [&] {
      gated.open = true;
      ASSERT_TRUE(place.window().Settle());
      EXPECT_EQ(FilesIn(place.Path("Documents")).size(), 1u);
    };
    EXPECT_TRUE(model.CloseRequested());
    EXPECT_EQ(place.window().quit, 0);
    EXPECT_TRUE(place.window().told.empty() && place.window().opened.empty());
    EXPECT_TRUE(FilesIn(place.Path("Documents")).empty());
    EXPECT_EQ(FileBytes(place.SettingsFile()), "\"" + place.Path("prog").string() + "\"\r\n");
  }
  {
    // A run that does not stop in time: the program ends without it.
    Place place;
    GatedRun gated;
    WindowModel& model = start(place, gated);
    place.window().answer = true;
    EXPECT_TRUE(model.CloseRequested());
    EXPECT_TRUE(place.window().Fire(WindowTimer::kStopGrace));
    EXPECT_EQ(place.window().ended_at_once, 1);
    gated.open = true;
  }
}

// "Save..." followed a link planted at the chosen name and replaced the file
// it pointed to.
TEST(WindowModelTest, TheReportIsSavedReplacingALinkNotWhatItPointsTo) {
#ifdef _WIN32
  GTEST_SKIP() << "symbolic links need a privilege on Windows";
#endif
  Place place;
  const fs::path league = place.Folder("league", {"ENCTEAM.DAT"});
  WindowModel& model = place.Open(FakeRun([](RunResult& result, const RunOptions&) {
    result.outcome = RunOutcome::kCompleted;
    result.report.RecordsRead("ENCTEAM.DAT", 30);
    result.report.RecordSkipped("ENCTEAM.DAT", {"deleted record", "deleted records"});
  }));
  ASSERT_TRUE(model.ChooseFolder(league));
  place.Process();
  const fs::path precious = place.Path("precious.txt");
  WriteText(precious, "keep me");
  const fs::path chosen = place.Path("report.txt");
  fs::create_symlink(precious, chosen);
  place.window().chosen_file = chosen;
  EXPECT_TRUE(model.SaveReport());
  EXPECT_EQ(FileBytes(precious), "keep me");
  EXPECT_FALSE(fs::is_symlink(chosen));
  EXPECT_EQ(FileBytes(chosen), model.ReportText());
  EXPECT_NE(model.ReportText().find("1 deleted record\n"), std::string::npos);

  // A file that cannot be written is told; cancelling saves nothing.
  place.window().told.clear();
  place.window().chosen_file = place.Path("no folder/report.txt");
  EXPECT_FALSE(model.SaveReport());
  ASSERT_EQ(place.window().told.size(), 1u);
  EXPECT_TRUE(place.window().told[0].text.starts_with("The report was not saved."));
  place.window().chosen_file.reset();
  EXPECT_FALSE(model.SaveReport());
}

TEST(WindowModelTest, TheWorkbookFolderIsCheckedWhenChosenAndBeforeARun) {
  Place place;
  const fs::path league = place.Folder("league", {"ENCTEAM.DAT"});
  int runs = 0;
  WindowModel& model = place.Open(FakeRun([&](RunResult& result, const RunOptions&) {
    ++runs;
    result.outcome = RunOutcome::kCompleted;
  }));
  ASSERT_TRUE(model.ChooseFolder(league));
  // A folder that takes no files (/proc, whatever its permission bits say
  // to the superuser), or is not there.
#ifdef _WIN32
  const fs::path refused = place.Path("no such folder");
#else
  const fs::path refused = "/proc";
#endif
  EXPECT_FALSE(model.SetOutputFolder(refused));
  EXPECT_EQ(model.state().output_folder, place.Path("Documents"));
  ASSERT_EQ(place.window().told.size(), 1u);
  EXPECT_NE(place.window().told[0].text.find(refused.string()), std::string::npos);

  // Chosen, remembered, then made a file before the run: told, no run.
  place.window().chosen_folder = place.Folder("books", {});
  model.ChangeOutputFolder();
  EXPECT_EQ(model.state().output_folder, place.Path("books"));
  EXPECT_NE(
      FileBytes(place.SettingsFile()).find("workbook-folder \"" + place.Path("books").string()),
      std::string::npos);
  fs::remove_all(place.Path("books"));
  WriteText(place.Path("books"), "now a file");
  model.ProcessOrStop();
  EXPECT_EQ(model.state().run, RunPhase::kIdle);
  EXPECT_EQ(runs, 0);
  ASSERT_EQ(place.window().told.size(), 2u);
  EXPECT_NE(place.window().told[1].text.find("Change"), std::string::npos);
}

TEST(WindowModelTest, AboutAndOpeningFailuresAreToldAsPlainText) {
#ifdef _WIN32
  GTEST_SKIP() << "Windows folder names hold no markup characters (< > \")";
#endif
  Place place;
  // Text from the file system goes into messages as it is: the window shows
  // it as plain text, never as markup.
  const fs::path html =
      place.Folder("<h1 style=\"color:red\">big</h1><img src=x>", {"ENCTEAM.DAT"});
  WindowModel& model = place.Open(FakeRun([](RunResult& result, const RunOptions& options) {
    result.outcome = RunOutcome::kCompleted;
    result.output = options.output;
  }));
  model.About();
  ASSERT_EQ(place.window().told.size(), 1u);
  EXPECT_NE(place.window().told[0].text.find(STATCRANE_VERSION), std::string::npos);
  EXPECT_NE(place.window().told[0].text.find("licence"), std::string::npos);

  fs::create_directories(html / "books");
  ASSERT_TRUE(model.SetOutputFolder(html / "books"));
  ASSERT_TRUE(model.ChooseFolder(html));
  place.window().can_open = false;
  place.Process();
  ASSERT_EQ(place.window().told.size(), 2u);
  EXPECT_TRUE(place.window().told[1].text.starts_with("No application was found"));
  EXPECT_NE(place.window().told[1].text.find("<h1 style=\"color:red\">big</h1><img src=x>"),
            std::string::npos);
}

}  // namespace
}  // namespace statcrane

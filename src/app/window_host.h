// What a window gives the window model (window_model.h): drawing, modal
// boxes and dialogs, opening a workbook, time stamps, timers, the thread a
// run goes on and the way back to the window's thread. The Qt window on
// Linux and the native window on Windows each implement it; the model's
// tests implement it headless.
//
// Every method is called on the window's thread, except PostToWindow, which
// any thread may call. The modal ones return when the user has answered;
// meanwhile the window keeps dispatching (progress, PostToWindow tasks,
// timers).
#pragma once

#include <chrono>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace statcrane {

// The parts of WindowState (window_model.h) a change touched; the view
// redraws those.
enum WindowPart : unsigned {
  // The path field's text. Sent only when the model sets the text (never for
  // the user's own typing), so a view may replace the field's content.
  kPathTextPart = 1u << 0,
  kFolderPart = 1u << 1,    // the folder shown in the lists, the hint, Process
  kChoicesPart = 1u << 2,   // sheets, index, viewing
  kOutputPart = 1u << 3,    // the workbook folder and the saved workbook
  kRunPart = 1u << 4,       // idle or running: buttons, enabled controls, times
  kProgressPart = 1u << 5,  // the progress label, text and bar
  kStatusPart = 1u << 6,    // the status line
  kAllParts = (1u << 7) - 1,
};

enum class Severity { kNone, kInformation, kWarning, kError };

enum class MessageButtons { kOk, kOkAndShowReport };
enum class MessageAnswer { kOk, kShowReport };

// The model's timers: single shot, restarted by StartTimer.
enum class WindowTimer {
  kPathPause,  // the pause after typing in the path field
  kStopGrace,  // how long a run may take to stop after the window closed
};

// A piece of work on a thread of its own.
class BackgroundWork {
 public:
  // REQUIRES: Wait() was called (the thread has returned).
  virtual ~BackgroundWork() = default;
  // Returns once the work has returned.
  virtual void Wait() = 0;
};

// A BackgroundWork on a std::thread; what both windows use.
std::unique_ptr<BackgroundWork> StartThread(std::function<void()> work);

class WindowHost {
 public:
  virtual ~WindowHost() = default;

  // Redraw `parts` (WindowPart bits) from the model's state.
  virtual void Refresh(unsigned parts) = 0;
  // A run ended and what it ended with has been told.
  virtual void RunConcluded() {}

  // A modal message box titled "StatCrane" with the severity's icon. `text`
  // is plain text, shown as it is (never as markup); its lines are broken at
  // '\n'.
  virtual MessageAnswer Message(Severity severity, const std::string& text,
                                MessageButtons buttons) = 0;
  // A modal question; true for Yes.
  virtual bool Ask(const std::string& question) = 0;
  // The system's folder dialog; nullopt when cancelled.
  virtual std::optional<std::filesystem::path> ChooseFolder(const std::string& title,
                                                            const std::filesystem::path& start) = 0;
  // The system's save dialog for a text file (it asks before replacing a
  // file); nullopt when cancelled.
  virtual std::optional<std::filesystem::path> ChooseReportFile(
      const std::filesystem::path& suggested) = 0;
  // The Run Report dialog, modal: WindowModel::ReportText(), to select, copy
  // and save (through WindowModel::SaveReport).
  virtual void ShowRunReport() = 0;

  // Opens the workbook in the application the system has for .xlsx files;
  // false when there is none.
  virtual bool OpenWorkbook(const std::filesystem::path& workbook) = 0;
  // `when` as the user's locale writes a date and time, with the year in
  // four digits and the seconds.
  virtual std::string TimeStamp(std::chrono::system_clock::time_point when) = 0;
  // Calls WindowModel::FolderContentChanged when the content of `folder`
  // changes (files made, removed, renamed), or the folder goes; an empty
  // path stops watching.
  virtual void WatchFolder(const std::filesystem::path& folder) = 0;

  // Calls WindowModel::TimerFired(timer) once, `delay` from now; a timer
  // already going starts anew.
  virtual void StartTimer(WindowTimer timer, std::chrono::milliseconds delay) = 0;
  virtual void StopTimer(WindowTimer timer) = 0;
  // Runs `work` on a thread of its own.
  virtual std::unique_ptr<BackgroundWork> StartBackground(std::function<void()> work) = 0;
  // Calls `task` on the window's thread, soon, after what is already waiting.
  // Any thread.
  virtual void PostToWindow(std::function<void()> task) = 0;

  // Ends the window's event loop; the program then exits with `status`.
  virtual void Quit(int status) = 0;
  // Ends the process at once with `status` (a run that did not stop in time
  // cannot be waited for).
  virtual void EndAtOnce(int status) = 0;
};

}  // namespace statcrane

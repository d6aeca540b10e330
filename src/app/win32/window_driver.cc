// statcrane-window-driver.exe: drives the Windows window from outside, as a
// user would, for its tests under Wine (scripts/test-windows-window) and its
// pictures. It finds the running window, types a folder's path, presses the
// window's buttons with the messages a click sends, answers its boxes, and
// asks the window whether each control's text fits.
//
//   find [seconds]          waits for the window; prints its place
//   fits                    every control's text fits, the window fits its
//                           screen and its buttons are in view
//   run FOLDER [--leave-box]
//                           types FOLDER, chooses "Don't open", presses
//                           Return and waits for the run's end, answering
//                           its boxes with OK (or leaving the first open)
//   start FOLDER            the same with Process; returns once the run
//                           shows its progress
//   answer [yes]            answers the open boxes with OK (or Yes)
//   ask-close               closes the window and returns once a box asks
//   close [--when-in DIR]   closes the window (once a temporary file of a run
//                           is in DIR), answers Yes to the question about
//                           the run, and waits for the program to end
//
// Prints what it saw; exit status 0 when all went as expected, 1 when not,
// 2 for a wrong command line. Every wait has a time limit.
#include <windows.h>
// After windows.h.
#include <commctrl.h>
#include <shellapi.h>

#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "app/win32/win32_controls.h"
#include "util/platform_text_windows.h"

namespace statcrane {
namespace {

constexpr UINT kSendMs = 10000;  // a window that does not answer by then is hung

void Say(const std::string& line) {
  std::fwrite(line.data(), 1, line.size(), stdout);
  std::fputc('\n', stdout);
  std::fflush(stdout);
}

bool Send(HWND window, UINT message, WPARAM wparam, LPARAM lparam, LRESULT* result = nullptr) {
  DWORD_PTR answer = 0;
  const bool answered =
      SendMessageTimeoutW(window, message, wparam, lparam, SMTO_NORMAL, kSendMs, &answer) != 0;
  if (result != nullptr) *result = static_cast<LRESULT>(answer);
  return answered;
}

// A control's text, from another process (WM_GETTEXT is carried across).
std::wstring TextOf(HWND control) {
  LRESULT length = 0;
  if (!Send(control, WM_GETTEXTLENGTH, 0, 0, &length) || length <= 0) return {};
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  LRESULT got = 0;
  Send(control, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()), &got);
  text.resize(static_cast<size_t>(got));
  return text;
}

std::string ClassOf(HWND window) {
  wchar_t name[64] = {};
  GetClassNameW(window, name, 64);
  return Utf8FromWide(name);
}

class Deadline {
 public:
  explicit Deadline(DWORD seconds) : end_(GetTickCount64() + seconds * 1000ull) {}
  bool Passed() const { return GetTickCount64() > end_; }

 private:
  ULONGLONG end_;
};

struct Driven {
  HWND window = nullptr;
  DWORD process_id = 0;
  HWND Control(int id) const { return GetDlgItem(window, id); }
  std::string Text(int id) const { return Utf8FromWide(TextOf(Control(id))); }
};

// The window, shown and answering (its buttons have their captions).
HWND FindTheWindow(DWORD seconds) {
  const Deadline deadline(seconds);
  for (;;) {
    HWND window = FindWindowW(kWindowClassName, nullptr);
    if (window != nullptr && IsWindowVisible(window) &&
        !TextOf(GetDlgItem(window, kProcess)).empty()) {
      return window;
    }
    if (deadline.Passed()) return nullptr;
    Sleep(100);
  }
}

// The visible dialog boxes of the window's process (message boxes and
// questions).
std::vector<HWND> BoxesOf(DWORD process_id) {
  struct Search {
    DWORD process_id;
    std::vector<HWND> found;
  } search{process_id, {}};
  EnumWindows(
      [](HWND window, LPARAM data) -> BOOL {
        auto* search = reinterpret_cast<Search*>(data);
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        if (owner == search->process_id && IsWindowVisible(window) && ClassOf(window) == "#32770") {
          search->found.push_back(window);
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

// What a box says: the texts of its controls, its buttons' included.
std::string BoxText(HWND box) {
  std::vector<std::string> parts;
  EnumChildWindows(
      box,
      [](HWND child, LPARAM data) -> BOOL {
        const std::string text = Utf8FromWide(TextOf(child));
        if (!text.empty()) reinterpret_cast<std::vector<std::string>*>(data)->push_back(text);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&parts));
  std::string all;
  for (const std::string& part : parts) all += (all.empty() ? "" : " | ") + part;
  for (char& c : all) {
    if (c == '\r' || c == '\n') c = ' ';
  }
  return all;
}

// Presses a box's button (IDOK, IDYES, ...): a task dialog takes
// TDM_CLICK_BUTTON, a plain message box the command.
bool Answer(HWND box, int button) {
  Send(box, TDM_CLICK_BUTTON, static_cast<WPARAM>(button), 0);
  const Deadline deadline(5);
  while (IsWindow(box) && IsWindowVisible(box)) {
    if (deadline.Passed()) return false;
    PostMessageW(box, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), 0);
    Sleep(200);
  }
  return true;
}

void Click(const Driven& driven, int id) { Send(driven.Control(id), BM_CLICK, 0, 0); }

// Process reads "&Stop" or "Stopping..." during a run.
bool IsRunning(const Driven& driven) {
  const std::string caption = driven.Text(kProcess);
  return caption == "&Stop" || caption == "Stopping...";
}

// Types `folder` into the path field, as the user's typing does (the field
// tells the window of each change).
void TypePath(const Driven& driven, const std::wstring& folder) {
  HWND field = driven.Control(kFolderPath);
  Send(field, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(folder.c_str()));
  Send(driven.window, WM_COMMAND, MAKEWPARAM(kFolderPath, EN_CHANGE),
       reinterpret_cast<LPARAM>(field));
}

int Find(const Driven& driven) {
  RECT outer{}, client{};
  GetWindowRect(driven.window, &outer);
  GetClientRect(driven.window, &client);
  HDC screen = GetDC(nullptr);
  const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  char line[160];
  std::snprintf(line, sizeof line, "window %ld %ld %ld %ld client %ld %ld dpi %d", outer.left,
                outer.top, outer.right - outer.left, outer.bottom - outer.top, client.right,
                client.bottom, dpi);
  Say(line);
  return 0;
}

int Fits(const Driven& driven) {
  int faults = 0;
  for (int id = kFolderLabel; id <= kExit; ++id) {
    LRESULT across = 0, down = 0;
    if (!Send(driven.window, kMeasureControl, static_cast<WPARAM>(id), 0, &across) ||
        !Send(driven.window, kMeasureControl, static_cast<WPARAM>(id), 1, &down)) {
      Say("fits: the window does not answer");
      return 1;
    }
    if (static_cast<int>(across) > 0 || static_cast<int>(down) > 0) {
      Say("does not fit: \"" + driven.Text(id) + "\" (control " + std::to_string(id) + ") " +
          std::to_string(static_cast<int>(across)) + " px too narrow, " +
          std::to_string(static_cast<int>(down)) + " px too low");
      ++faults;
    }
  }
  // The window within its screen's work area, the buttons within the window.
  MONITORINFO monitor{};
  monitor.cbSize = sizeof monitor;
  GetMonitorInfoW(MonitorFromWindow(driven.window, MONITOR_DEFAULTTONEAREST), &monitor);
  RECT outer{};
  GetWindowRect(driven.window, &outer);
  const RECT& work = monitor.rcWork;
  if (outer.right - outer.left > work.right - work.left ||
      outer.bottom - outer.top > work.bottom - work.top) {
    Say("the window is larger than its screen's work area");
    ++faults;
  }
  RECT client{};
  GetClientRect(driven.window, &client);
  for (const int id : {kProcess, kRunReport, kAbout, kExit}) {
    RECT button{};
    GetWindowRect(driven.Control(id), &button);
    MapWindowPoints(nullptr, driven.window, reinterpret_cast<POINT*>(&button), 2);
    if (button.left < 0 || button.top < 0 || button.right > client.right ||
        button.bottom > client.bottom) {
      Say("out of view: \"" + driven.Text(id) + "\"");
      ++faults;
    }
  }
  Say(faults == 0 ? "fits: every text fits" : "fits: " + std::to_string(faults) + " faults");
  return faults == 0 ? 0 : 1;
}

// Waits for the run's end, answering each box with OK (printing what it
// said), or leaving the first one open.
int AwaitEnd(const Driven& driven, bool leave_box, DWORD seconds) {
  const Deadline deadline(seconds);
  // The box that tells the outcome follows the end of the run: the end
  // counts once nothing has shown for a while.
  int quiet = 0;
  while (quiet < 15) {
    for (HWND box : BoxesOf(driven.process_id)) {
      quiet = 0;
      Say("box: " + BoxText(box));
      if (leave_box) return 0;
      if (!Answer(box, IDOK)) {
        Say("the box does not close");
        return 1;
      }
    }
    quiet = IsRunning(driven) ? 0 : quiet + 1;
    if (deadline.Passed()) {
      Say("the run did not end in time");
      return 1;
    }
    Sleep(100);
  }
  Say("status: " + driven.Text(kStatusText));
  Say("saved: " + driven.Text(kSavedWorkbook));
  return driven.Text(kSavedWorkbook).empty() ? 1 : 0;
}

int StartRun(const Driven& driven, const std::wstring& folder, bool with_return) {
  if (IsRunning(driven)) {
    Say("a run is going on already");
    return 1;
  }
  Click(driven, kDontOpen);
  TypePath(driven, folder);
  const Deadline deadline(30);
  if (with_return) {
    // Return checks the typed path at once and runs a folder that passed.
    Send(driven.window, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
  } else {
    // Process is enabled once the path passed its check (after the pause).
    while (!IsWindowEnabled(driven.Control(kProcess))) {
      if (deadline.Passed()) {
        Say("Process stays disabled: " + driven.Text(kFolderHint));
        return 1;
      }
      Sleep(100);
    }
    Click(driven, kProcess);
  }
  while (!IsRunning(driven)) {
    if (deadline.Passed() || !BoxesOf(driven.process_id).empty()) {
      Say("the run did not start: " + driven.Text(kFolderHint) + " " + driven.Text(kStatusText));
      for (HWND box : BoxesOf(driven.process_id)) Say("box: " + BoxText(box));
      return 1;
    }
    Sleep(50);
  }
  return 0;
}

// Whether a run is writing into `folder`.
bool HasRunFile(const std::wstring& folder) {
  WIN32_FIND_DATAW found{};
  HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return false;
  bool seen = false;
  do {
    // The writer's private folder (".statcrane-..."), not the check of the
    // folder made before a run (".statcrane-check-...").
    const std::wstring name = found.cFileName;
    seen = name.starts_with(L".statcrane-") && !name.starts_with(L".statcrane-check-");
  } while (!seen && FindNextFileW(search, &found));
  FindClose(search);
  return seen;
}

int Close(const Driven& driven, const std::wstring& watched) {
  HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, driven.process_id);
  if (!watched.empty()) {
    const Deadline deadline(120);
    while (!HasRunFile(watched)) {
      if (deadline.Passed() || !IsRunning(driven)) {
        Say("no run wrote into the folder");
        return 1;
      }
      Sleep(20);
    }
  }
  const bool was_running = IsRunning(driven);
  PostMessageW(driven.window, WM_CLOSE, 0, 0);
  const ULONGLONG closed_at = GetTickCount64();
  const Deadline deadline(90);
  bool asked = false;
  for (;;) {
    if (process != nullptr && WaitForSingleObject(process, 100) == WAIT_OBJECT_0) break;
    if (process == nullptr && !IsWindow(driven.window)) break;
    for (HWND box : BoxesOf(driven.process_id)) {
      Say("box: " + BoxText(box));
      asked = true;
      Answer(box, IDYES);
    }
    if (deadline.Passed()) {
      Say("the program did not end");
      return 1;
    }
  }
  if (process != nullptr) CloseHandle(process);
  Say("ended " + std::to_string(GetTickCount64() - closed_at) + " ms after closing" +
      (asked ? ", after the question" : ""));
  if (was_running && !asked) {
    Say("closing during the run asked nothing");
    return 1;
  }
  return 0;
}

int Main() {
  int argc = 0;
  wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  if (argv == nullptr) return 2;
  if (argc < 2) {
    Say("usage: statcrane-window-driver find|fits|run|start|answer|ask-close|close ...");
    return 2;
  }
  const std::wstring command = argv[1];
  DWORD find_seconds = 60;
  if (command == L"find" && argc > 2) find_seconds = static_cast<DWORD>(_wtoi(argv[2]));
  Driven driven;
  driven.window = FindTheWindow(find_seconds);
  if (driven.window == nullptr) {
    Say("no StatCrane window");
    return 1;
  }
  GetWindowThreadProcessId(driven.window, &driven.process_id);
  if (command == L"find") return Find(driven);
  if (command == L"fits") return Fits(driven);
  if ((command == L"run" || command == L"start") && argc > 2) {
    const bool leave_box = argc > 3 && std::wstring(argv[3]) == L"--leave-box";
    if (const int failed = StartRun(driven, argv[2], command == L"run")) return failed;
    if (command == L"run") return AwaitEnd(driven, leave_box, 300);
    // Until the progress shows a player.
    const Deadline deadline(60);
    while (driven.Text(kProgressText).empty() && IsRunning(driven) && !deadline.Passed()) Sleep(50);
    Say("progress: " + driven.Text(kProgressText));
    return 0;
  }
  if (command == L"answer") {
    const int button = argc > 2 && std::wstring(argv[2]) == L"yes" ? IDYES : IDOK;
    for (HWND box : BoxesOf(driven.process_id)) {
      Say("box: " + BoxText(box));
      if (!Answer(box, button)) return 1;
    }
    return 0;
  }
  if (command == L"ask-close") {
    PostMessageW(driven.window, WM_CLOSE, 0, 0);
    const Deadline deadline(20);
    while (BoxesOf(driven.process_id).empty()) {
      if (deadline.Passed()) {
        Say("nothing asked");
        return 1;
      }
      Sleep(100);
    }
    for (HWND box : BoxesOf(driven.process_id)) Say("box: " + BoxText(box));
    return 0;
  }
  if (command == L"close") {
    const std::wstring watched = argc > 3 && std::wstring(argv[2]) == L"--when-in" ? argv[3] : L"";
    return Close(driven, watched);
  }
  Say("unknown command: " + Utf8FromWide(command));
  return 2;
}

}  // namespace
}  // namespace statcrane

int main() { return statcrane::Main(); }

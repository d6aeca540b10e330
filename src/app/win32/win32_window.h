// The program's window on Windows (Win32 API, Common Controls 6): a view of
// the window model (app/window_model.h), with the Qt window's controls,
// captions, access keys, tab order and default button. It lays out the
// controls at the monitor's DPI, draws the model's state, forwards the
// user's actions and gives the model what it needs of the system
// (WindowHost): task dialogs, the folder and save dialogs, timers, the run's
// thread and the way back to the window's thread (a posted message).
#pragma once

#include <windows.h>

#include <filesystem>
#include <memory>
#include <string>

#include "app/window_host.h"
#include "app/window_model.h"

namespace statcrane {

class Win32Window : private WindowHost {
 public:
  explicit Win32Window(WindowSetup setup);
  ~Win32Window() override;

  // Creates and shows the window and runs its message loop until the
  // program ends; returns the exit status.
  int Run(int show_command);

 private:
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
  LRESULT Handle(UINT message, WPARAM wparam, LPARAM lparam);
  void CreateControls();
  void ApplyDpi(UINT dpi);
  // Places the controls at dpi_; the window fits its monitor's work area,
  // scrolling what is above the buttons when the screen is too low.
  void Layout();
  void ScrollTo(int position);
  // The size of control `id`'s text in its font: on one line, or broken into
  // lines `wrap_width` wide.
  SIZE TextSize(int id, int wrap_width = 0) const;
  // How many pixels control `id`'s text lacks, across or down; zero or less
  // when it fits.
  int Overflow(int id, bool down) const;
  void Command(int id, int code);
  void FillFolderList();

  // WindowHost.
  void Refresh(unsigned parts) override;
  MessageAnswer Message(Severity severity, const std::string& text,
                        MessageButtons buttons) override;
  bool Ask(const std::string& question) override;
  std::optional<std::filesystem::path> ChooseFolder(const std::string& title,
                                                    const std::filesystem::path& start) override;
  std::optional<std::filesystem::path> ChooseReportFile(
      const std::filesystem::path& suggested) override;
  void ShowRunReport() override;
  bool OpenWorkbook(const std::filesystem::path& workbook) override;
  std::string TimeStamp(std::chrono::system_clock::time_point when) override;
  void WatchFolder(const std::filesystem::path& folder) override;
  void StartTimer(WindowTimer timer, std::chrono::milliseconds delay) override;
  void StopTimer(WindowTimer timer) override;
  std::unique_ptr<BackgroundWork> StartBackground(std::function<void()> work) override;
  void PostToWindow(std::function<void()> task) override;
  void Quit(int status) override;
  void EndAtOnce(int status) override;

  HWND Control(int id) const;
  void SetText(int id, const std::string& text);
  // Scrolls a path box to the end of its text.
  void ShowEnd(int id);

  std::unique_ptr<WindowModel> model_;
  WindowSetup setup_;
  HWND window_ = nullptr;
  HFONT font_ = nullptr;
  HFONT bold_font_ = nullptr;
  UINT dpi_ = 96;
  int scroll_ = 0;  // how far the content is scrolled, in pixels
  bool setting_path_text_ = false;
  std::filesystem::path listed_folder_;   // the folder the folder list shows
  std::filesystem::path watched_folder_;  // checked again every few seconds
  int exit_status_ = 0;
};

}  // namespace statcrane

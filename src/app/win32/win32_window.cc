#include "app/win32/win32_window.h"

#include <commctrl.h>
#include <shobjidl.h>
#include <windowsx.h>

#include <algorithm>
#include <cstdlib>
#include <initializer_list>
#include <iterator>
#include <system_error>
#include <vector>

#include "app/win32/win32_controls.h"
#include "app/window_texts.h"
#include "util/platform_desktop.h"
#include "util/platform_text_windows.h"
#include "util/platform_time.h"
#include "util/utf8_path.h"

namespace statcrane {
namespace {

namespace fs = std::filesystem;
namespace text = window_text;

constexpr wchar_t kReportClass[] = L"StatCraneRunReport";
constexpr UINT kPostedTask = WM_APP + 1;
constexpr UINT_PTR kWatchTimer = 3;
constexpr UINT kWatchMs = 2000;

struct Placement {
  int id;
  int x, y, width, height;  // at 96 DPI, in the client area
};

// The layout at 96 DPI: the folder on the left, times and options on the
// right, progress, workbook folder and buttons below. Client area 640 x 542.
constexpr Placement kPlacements[] = {
    {kFolderLabel, 16, 12, 330, 18},     {kFolderPath, 16, 32, 250, 24},
    {kBrowse, 272, 31, 74, 26},          {kFolderHint, 16, 60, 330, 32},
    {kDriveLabel, 16, 99, 130, 18},      {kDriveList, 150, 96, 196, 200},
    {kFolderList, 16, 126, 330, 190},    {kStartedLabel, 366, 12, 258, 18},
    {kStartedTime, 366, 30, 258, 22},    {kEndedLabel, 366, 58, 258, 18},
    {kEndedTime, 366, 76, 258, 22},      {kViewingGroup, 366, 108, 258, 70},
    {kViewAfter, 380, 128, 230, 20},     {kDontOpen, 380, 150, 230, 20},
    {kSheetsGroup, 366, 186, 258, 130},  {kPlayersOnly, 380, 206, 230, 20},
    {kTeamsOnly, 380, 230, 230, 20},     {kPlayersAndTeams, 380, 254, 230, 20},
    {kPlayerIndex, 380, 284, 112, 20},   {kLeaders, 498, 284, 112, 20},
    {kProgressLabel, 16, 326, 608, 18},  {kProgressText, 16, 346, 608, 22},
    {kProgressBar, 16, 372, 608, 14},    {kStatusText, 16, 392, 608, 34},
    {kOutputLabel, 16, 436, 100, 18},    {kOutputFolder, 120, 432, 418, 24},
    {kChangeOutput, 546, 431, 78, 26},   {kSavedLabel, 16, 466, 106, 18},
    {kSavedWorkbook, 126, 462, 498, 24}, {kProcess, 16, 498, 90, 32},
    {kRunReport, 236, 498, 90, 32},      {kAbout, 332, 498, 90, 32},
    {kExit, 534, 498, 90, 32},
};
constexpr int kClientWidth = 640;
constexpr int kClientHeight = 542;
// Everything above this scrolls when the screen is too low for the window;
// the buttons below stay at the window's foot.
constexpr int kButtonRowTop = 490;
constexpr int kButtonRowHeight = kClientHeight - kButtonRowTop;
constexpr int kScrollStep = 24;

bool IsButton(int id) { return id == kProcess || id == kRunReport || id == kAbout || id == kExit; }

std::wstring WindowText(HWND control) {
  std::wstring text(static_cast<size_t>(GetWindowTextLengthW(control)) + 1, L'\0');
  text.resize(
      static_cast<size_t>(GetWindowTextW(control, text.data(), static_cast<int>(text.size()))));
  return text;
}

// The DPI of the monitor the window is on (Windows 10 1607 and later), or
// of the screen.
UINT DpiOf(HWND window) {
  using GetDpiForWindowFunction = UINT(WINAPI*)(HWND);
  static const auto get_dpi = reinterpret_cast<GetDpiForWindowFunction>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), "GetDpiForWindow")));
  if (get_dpi != nullptr && window != nullptr) return get_dpi(window);
  HDC screen = GetDC(nullptr);
  const UINT dpi = static_cast<UINT>(GetDeviceCaps(screen, LOGPIXELSY));
  ReleaseDC(nullptr, screen);
  return dpi;
}

// The width of a vertical scroll bar at `dpi` (Windows 10 1607 and later),
// or at the system's DPI.
int ScrollBarWidth(UINT dpi) {
  using GetSystemMetricsForDpiFunction = int(WINAPI*)(int, UINT);
  static const auto get_metric =
      reinterpret_cast<GetSystemMetricsForDpiFunction>(reinterpret_cast<void*>(
          GetProcAddress(GetModuleHandleW(L"user32.dll"), "GetSystemMetricsForDpi")));
  return get_metric != nullptr ? get_metric(SM_CXVSCROLL, dpi) : GetSystemMetrics(SM_CXVSCROLL);
}

// A single-shot task dialog; the button pressed.
int TaskDialogBox(HWND owner, Severity severity, const std::wstring& content,
                  TASKDIALOG_COMMON_BUTTON_FLAGS common,
                  const std::vector<TASKDIALOG_BUTTON>& buttons) {
  TASKDIALOGCONFIG config{};
  config.cbSize = sizeof config;
  config.hwndParent = owner;
  config.dwFlags = TDF_ALLOW_DIALOG_CANCELLATION | TDF_POSITION_RELATIVE_TO_WINDOW;
  config.dwCommonButtons = common;
  config.pszWindowTitle = L"StatCrane";
  config.pszMainIcon = severity == Severity::kError     ? TD_ERROR_ICON
                       : severity == Severity::kWarning ? TD_WARNING_ICON
                                                        : TD_INFORMATION_ICON;
  config.pszContent = content.c_str();
  config.pButtons = buttons.empty() ? nullptr : buttons.data();
  config.cButtons = static_cast<UINT>(buttons.size());
  int pressed = IDCANCEL;
  if (FAILED(TaskDialogIndirect(&config, &pressed, nullptr, nullptr))) {
    // Without Common Controls 6: a plain message box.
    const UINT type = (common & TDCBF_YES_BUTTON)      ? MB_YESNO | MB_ICONQUESTION
                      : severity == Severity::kError   ? MB_OK | MB_ICONERROR
                      : severity == Severity::kWarning ? MB_OK | MB_ICONWARNING
                                                       : MB_OK | MB_ICONINFORMATION;
    pressed = MessageBoxW(owner, content.c_str(), L"StatCrane", type);
  }
  return pressed;
}

std::optional<fs::path> PickWithDialog(HWND owner, bool folder, const std::wstring& title,
                                       const fs::path& start) {
  IFileDialog* dialog = nullptr;
  const HRESULT made = CoCreateInstance(folder ? CLSID_FileOpenDialog : CLSID_FileSaveDialog,
                                        nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&dialog));
  if (FAILED(made)) return std::nullopt;
  FILEOPENDIALOGOPTIONS options = 0;
  dialog->GetOptions(&options);
  options |= FOS_FORCEFILESYSTEM;
  if (folder)
    options |= FOS_PICKFOLDERS;
  else
    options |= FOS_OVERWRITEPROMPT;
  dialog->SetOptions(options);
  dialog->SetTitle(title.c_str());
  const fs::path start_folder = folder ? start : start.parent_path();
  IShellItem* where = nullptr;
  if (SUCCEEDED(SHCreateItemFromParsingName(start_folder.c_str(), nullptr, IID_PPV_ARGS(&where)))) {
    dialog->SetFolder(where);
    where->Release();
  }
  if (!folder) {
    static const COMDLG_FILTERSPEC kText[] = {{L"Text files (*.txt)", L"*.txt"}};
    dialog->SetFileTypes(1, kText);
    dialog->SetDefaultExtension(L"txt");
    dialog->SetFileName(start.filename().c_str());
  }
  std::optional<fs::path> chosen;
  IShellItem* item = nullptr;
  if (SUCCEEDED(dialog->Show(owner)) && SUCCEEDED(dialog->GetResult(&item))) {
    PWSTR name = nullptr;
    if (SUCCEEDED(item->GetDisplayName(SIGDN_FILESYSPATH, &name))) {
      chosen = fs::path(name);
      CoTaskMemFree(name);
    }
    item->Release();
  }
  dialog->Release();
  return chosen;
}

// The Run Report dialog: the report, selectable, with Copy, Save... and
// Close; modal to its owner.
class ReportDialog {
 public:
  ReportDialog(HWND owner, HFONT font, UINT dpi, WindowModel& model)
      : owner_(owner), font_(font), dpi_(dpi), model_(model) {}

  void Show() {
    static const bool registered = [] {
      WNDCLASSEXW type{};
      type.cbSize = sizeof type;
      type.lpfnWndProc = Proc;
      type.hInstance = GetModuleHandleW(nullptr);
      type.hCursor = LoadCursorW(nullptr, IDC_ARROW);
      type.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
      type.lpszClassName = kReportClass;
      type.hIcon = LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(1));
      return RegisterClassExW(&type) != 0;
    }();
    if (!registered) return;
    const auto scale = [this](int value) { return MulDiv(value, static_cast<int>(dpi_), 96); };
    RECT frame{0, 0, scale(640), scale(420)};
    AdjustWindowRectEx(&frame, WS_OVERLAPPEDWINDOW, FALSE, WS_EX_DLGMODALFRAME);
    window_ =
        CreateWindowExW(WS_EX_DLGMODALFRAME, kReportClass, WideFromUtf8(text::kReportTitle).c_str(),
                        WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT, frame.right - frame.left,
                        frame.bottom - frame.top, owner_, nullptr, GetModuleHandleW(nullptr), this);
    if (window_ == nullptr) return;
    EnableWindow(owner_, FALSE);
    ShowWindow(window_, SW_SHOW);
    MSG message;
    while (open_ && GetMessageW(&message, nullptr, 0, 0) > 0) {
      if (!IsDialogMessageW(window_, &message)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
      }
    }
    EnableWindow(owner_, TRUE);
    SetActiveWindow(owner_);
    if (IsWindow(window_)) DestroyWindow(window_);
  }

 private:
  static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == WM_NCCREATE) {
      SetWindowLongPtrW(
          window, GWLP_USERDATA,
          reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(lparam)->lpCreateParams));
    }
    auto* self = reinterpret_cast<ReportDialog*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (self == nullptr) return DefWindowProcW(window, message, wparam, lparam);
    switch (message) {
      case WM_CREATE:
        self->window_ = window;
        self->Create();
        return 0;
      case WM_SIZE:
        self->Layout();
        return 0;
      case WM_COMMAND:
        if (LOWORD(wparam) == 1) self->Copy();
        if (LOWORD(wparam) == 2) self->model_.SaveReport();
        if (LOWORD(wparam) == IDCANCEL || LOWORD(wparam) == 3) self->open_ = false;
        return 0;
      case WM_CLOSE:
        self->open_ = false;
        return 0;
      default:
        return DefWindowProcW(window, message, wparam, lparam);
    }
  }

  void Create() {
    std::wstring report = WideFromUtf8(model_.ReportText());
    std::wstring lines;  // an edit control breaks lines at CR LF only
    for (const wchar_t c : report) {
      if (c == L'\n') lines += L'\r';
      lines += c;
    }
    text_ = CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", lines.c_str(),
                            WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | WS_HSCROLL |
                                ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL | ES_AUTOHSCROLL,
                            0, 0, 0, 0, window_, nullptr, GetModuleHandleW(nullptr), nullptr);
    HFONT fixed = static_cast<HFONT>(GetStockObject(ANSI_FIXED_FONT));
    SendMessageW(text_, WM_SETFONT, reinterpret_cast<WPARAM>(fixed), TRUE);
    const std::string_view captions[] = {text::kCopy, text::kSave, text::kClose};
    for (int i = 0; i < 3; ++i) {
      buttons_[i] = CreateWindowExW(
          0, L"BUTTON", WideFromUtf8(captions[i]).c_str(),
          WS_CHILD | WS_VISIBLE | WS_TABSTOP | (i == 2 ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON), 0, 0, 0,
          0, window_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(i + 1)),
          GetModuleHandleW(nullptr), nullptr);
      SendMessageW(buttons_[i], WM_SETFONT, reinterpret_cast<WPARAM>(font_), TRUE);
    }
    Layout();
  }

  void Layout() {
    RECT client;
    GetClientRect(window_, &client);
    const auto scale = [this](int value) { return MulDiv(value, static_cast<int>(dpi_), 96); };
    const int margin = scale(10), button_w = scale(90), button_h = scale(28);
    MoveWindow(text_, margin, margin, client.right - 2 * margin,
               client.bottom - 3 * margin - button_h, TRUE);
    for (int i = 0; i < 3; ++i) {
      MoveWindow(buttons_[i], client.right - margin - (3 - i) * (button_w + margin / 2),
                 client.bottom - margin - button_h, button_w, button_h, TRUE);
    }
  }

  void Copy() {
    const std::wstring all = WindowText(text_);
    if (!OpenClipboard(window_)) return;
    EmptyClipboard();
    const size_t bytes = (all.size() + 1) * sizeof(wchar_t);
    if (HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes)) {
      std::copy_n(all.c_str(), all.size() + 1, static_cast<wchar_t*>(GlobalLock(memory)));
      GlobalUnlock(memory);
      if (SetClipboardData(CF_UNICODETEXT, memory) == nullptr) GlobalFree(memory);
    }
    CloseClipboard();
  }

  HWND owner_;
  HFONT font_;
  UINT dpi_;
  WindowModel& model_;
  HWND window_ = nullptr;
  HWND text_ = nullptr;
  HWND buttons_[3] = {};
  bool open_ = true;
};

}  // namespace

Win32Window::Win32Window(WindowSetup setup) : setup_(std::move(setup)) {}

Win32Window::~Win32Window() {
  model_.reset();
  if (font_ != nullptr) DeleteObject(font_);
  if (bold_font_ != nullptr) DeleteObject(bold_font_);
}

int Win32Window::Run(int show_command) {
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES | ICC_PROGRESS_CLASS};
  InitCommonControlsEx(&controls);
  WNDCLASSEXW type{};
  type.cbSize = sizeof type;
  type.lpfnWndProc = WindowProc;
  type.hInstance = GetModuleHandleW(nullptr);
  type.hIcon = LoadIconW(type.hInstance, MAKEINTRESOURCEW(1));
  type.hIconSm = static_cast<HICON>(LoadImageW(type.hInstance, MAKEINTRESOURCEW(1), IMAGE_ICON,
                                               GetSystemMetrics(SM_CXSMICON),
                                               GetSystemMetrics(SM_CYSMICON), 0));
  type.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  type.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  type.lpszClassName = kWindowClassName;
  RegisterClassExW(&type);
  constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
  window_ =
      CreateWindowExW(WS_EX_CONTROLPARENT, kWindowClassName, WideFromUtf8(text::kTitle).c_str(),
                      kStyle, CW_USEDEFAULT, CW_USEDEFAULT, kClientWidth, kClientHeight, nullptr,
                      nullptr, type.hInstance, this);
  if (window_ == nullptr) return 1;
  ShowWindow(window_, show_command);
  UpdateWindow(window_);
  SetFocus(Control(kFolderPath));

  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    if (!IsDialogMessageW(window_, &message)) {
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
  }
  model_.reset();  // stops and waits for a run that is still going
  if (IsWindow(window_)) DestroyWindow(window_);
  CoUninitialize();
  return exit_status_;
}

LRESULT CALLBACK Win32Window::WindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_NCCREATE) {
    auto* self =
        static_cast<Win32Window*>(reinterpret_cast<CREATESTRUCTW*>(lparam)->lpCreateParams);
    self->window_ = window;
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  auto* self = reinterpret_cast<Win32Window*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (self == nullptr) return DefWindowProcW(window, message, wparam, lparam);
  return self->Handle(message, wparam, lparam);
}

LRESULT Win32Window::Handle(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_CREATE:
      CreateControls();
      ApplyDpi(DpiOf(window_));
      model_ = std::make_unique<WindowModel>(setup_, static_cast<WindowHost&>(*this));
      model_->Start();
      SetTimer(window_, kWatchTimer, kWatchMs, nullptr);
      return 0;
    case WM_DPICHANGED: {
      ApplyDpi(HIWORD(wparam));
      const RECT* suggested = reinterpret_cast<RECT*>(lparam);
      SetWindowPos(window_, nullptr, suggested->left, suggested->top,
                   suggested->right - suggested->left, suggested->bottom - suggested->top,
                   SWP_NOZORDER | SWP_NOACTIVATE);
      return 0;
    }
    case WM_COMMAND:
      Command(LOWORD(wparam), HIWORD(wparam));
      return 0;
    case WM_VSCROLL: {
      SCROLLINFO scroll{};
      scroll.cbSize = sizeof scroll;
      scroll.fMask = SIF_ALL;
      GetScrollInfo(window_, SB_VERT, &scroll);
      const int step = MulDiv(kScrollStep, static_cast<int>(dpi_), 96);
      switch (LOWORD(wparam)) {
        case SB_LINEUP:
          ScrollTo(scroll_ - step);
          break;
        case SB_LINEDOWN:
          ScrollTo(scroll_ + step);
          break;
        case SB_PAGEUP:
          ScrollTo(scroll_ - static_cast<int>(scroll.nPage));
          break;
        case SB_PAGEDOWN:
          ScrollTo(scroll_ + static_cast<int>(scroll.nPage));
          break;
        case SB_THUMBTRACK:
        case SB_THUMBPOSITION:
          ScrollTo(scroll.nTrackPos);
          break;
        default:
          break;
      }
      return 0;
    }
    case WM_MOUSEWHEEL:
      if (GetWindowLongPtrW(window_, GWL_STYLE) & WS_VSCROLL) {
        ScrollTo(scroll_ - GET_WHEEL_DELTA_WPARAM(wparam) / WHEEL_DELTA *
                               MulDiv(kScrollStep * 3, static_cast<int>(dpi_), 96));
        return 0;
      }
      break;
    case WM_TIMER:
      if (wparam == kWatchTimer) {
        if (model_ && !watched_folder_.empty()) model_->FolderContentChanged();
      } else {
        KillTimer(window_, wparam);
        if (model_) {
          model_->TimerFired(wparam == 1 ? WindowTimer::kPathPause : WindowTimer::kStopGrace);
        }
      }
      return 0;
    case kPostedTask: {
      std::unique_ptr<std::function<void()>> task(reinterpret_cast<std::function<void()>*>(lparam));
      (*task)();
      return 0;
    }
    case WM_SETCURSOR:
      if (model_ && model_->state().run != RunPhase::kIdle && LOWORD(lparam) == HTCLIENT) {
        SetCursor(LoadCursorW(nullptr, IDC_APPSTARTING));
        return TRUE;
      }
      break;
    case WM_CTLCOLORSTATIC:
      // Labels on the window's face, not white.
      SetBkMode(reinterpret_cast<HDC>(wparam), TRANSPARENT);
      return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
    case kMeasureControl:
      return Overflow(static_cast<int>(wparam), lparam != 0);
    case WM_CLOSE:
      if (model_ && model_->CloseRequested()) ShowWindow(window_, SW_HIDE);
      return 0;
    case WM_DESTROY:
      return 0;
    default:
      break;
  }
  return DefWindowProcW(window_, message, wparam, lparam);
}

void Win32Window::CreateControls() {
  struct Spec {
    int id;
    const wchar_t* type;
    std::string_view caption;
    DWORD style;
    DWORD extended = 0;
  };
  constexpr DWORD kLabel = SS_LEFT | SS_NOPREFIX;
  constexpr DWORD kShown = ES_READONLY | ES_AUTOHSCROLL;  // boxes the program fills
  const Spec specs[] = {
      {kFolderLabel, L"STATIC", text::kFolderLabel, SS_LEFT},
      {kFolderPath, L"EDIT", "", WS_TABSTOP | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE},
      {kBrowse, L"BUTTON", text::kBrowse, WS_TABSTOP | BS_PUSHBUTTON},
      {kFolderHint, L"STATIC", "", kLabel},
      {kDriveLabel, L"STATIC", text::kDriveLabel, SS_LEFT},
      {kDriveList, L"COMBOBOX", "", WS_TABSTOP | CBS_DROPDOWNLIST | WS_VSCROLL},
      {kFolderList, L"LISTBOX", "",
       WS_TABSTOP | WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | LBS_HASSTRINGS,
       WS_EX_CLIENTEDGE},
      {kStartedLabel, L"STATIC", text::kStartedLabel, kLabel},
      {kStartedTime, L"EDIT", "", kShown, WS_EX_CLIENTEDGE},
      {kEndedLabel, L"STATIC", text::kEndedLabel, kLabel},
      {kEndedTime, L"EDIT", "", kShown, WS_EX_CLIENTEDGE},
      {kViewingGroup, L"BUTTON", text::kViewingGroup, BS_GROUPBOX},
      {kViewAfter, L"BUTTON", text::kViewAfterCompleted,
       WS_TABSTOP | WS_GROUP | BS_AUTORADIOBUTTON},
      {kDontOpen, L"BUTTON", text::kDontOpen, BS_AUTORADIOBUTTON},
      {kSheetsGroup, L"BUTTON", text::kSheetsGroup, BS_GROUPBOX},
      {kPlayersOnly, L"BUTTON", text::kPlayersOnly, WS_TABSTOP | WS_GROUP | BS_AUTORADIOBUTTON},
      {kTeamsOnly, L"BUTTON", text::kTeamsOnly, BS_AUTORADIOBUTTON},
      {kPlayersAndTeams, L"BUTTON", text::kPlayersAndTeams, BS_AUTORADIOBUTTON},
      {kPlayerIndex, L"BUTTON", text::kPlayerIndex, WS_TABSTOP | WS_GROUP | BS_AUTOCHECKBOX},
      {kLeaders, L"BUTTON", text::kLeaders, WS_TABSTOP | BS_AUTOCHECKBOX},
      {kProgressLabel, L"STATIC", text::kPlayerProgressLabel, SS_CENTER | SS_NOPREFIX},
      {kProgressText, L"EDIT", "", kShown, WS_EX_CLIENTEDGE},
      {kProgressBar, PROGRESS_CLASSW, "", 0},
      {kStatusText, L"STATIC", "", kLabel},
      {kOutputLabel, L"STATIC", text::kOutputFolderLabel, SS_LEFTNOWORDWRAP | SS_NOPREFIX},
      {kOutputFolder, L"EDIT", "", kShown, WS_EX_CLIENTEDGE},
      {kChangeOutput, L"BUTTON", text::kChangeOutputFolder, WS_TABSTOP | BS_PUSHBUTTON},
      {kSavedLabel, L"STATIC", text::kSavedLabel, SS_LEFTNOWORDWRAP | SS_NOPREFIX},
      {kSavedWorkbook, L"EDIT", "", kShown, WS_EX_CLIENTEDGE},
      {kButtonStrip, L"STATIC", "", SS_LEFT},
      {kProcess, L"BUTTON", text::kProcess, WS_TABSTOP | BS_DEFPUSHBUTTON},
      {kRunReport, L"BUTTON", text::kRunReport, WS_TABSTOP | BS_PUSHBUTTON},
      {kAbout, L"BUTTON", text::kAbout, WS_TABSTOP | BS_PUSHBUTTON},
      {kExit, L"BUTTON", text::kExit, WS_TABSTOP | BS_PUSHBUTTON},
  };
  for (const Spec& spec : specs) {
    CreateWindowExW(spec.extended, spec.type, WideFromUtf8(spec.caption).c_str(),
                    WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | spec.style, 0, 0, 0, 0, window_,
                    reinterpret_cast<HMENU>(static_cast<INT_PTR>(spec.id)),
                    GetModuleHandleW(nullptr), nullptr);
  }
  SendMessageW(Control(kProgressBar), PBM_SETRANGE32, 0, 100);
  // The drives of the machine.
  std::wstring drives(512, L'\0');
  drives.resize(GetLogicalDriveStringsW(static_cast<DWORD>(drives.size()), drives.data()));
  for (size_t at = 0; at < drives.size() && drives[at] != L'\0';) {
    const std::wstring root(drives.c_str() + at);
    SendMessageW(Control(kDriveList), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(root.c_str()));
    at += root.size() + 1;
  }
}

void Win32Window::ApplyDpi(UINT dpi) {
  dpi_ = dpi;
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof metrics;
  SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
  LOGFONTW face = metrics.lfMessageFont;
  // The system's message font is at the system's DPI; this monitor's size.
  face.lfHeight = -MulDiv(9, static_cast<int>(dpi), 72);
  if (font_ != nullptr) DeleteObject(font_);
  if (bold_font_ != nullptr) DeleteObject(bold_font_);
  font_ = CreateFontIndirectW(&face);
  face.lfWeight = FW_BOLD;
  bold_font_ = CreateFontIndirectW(&face);
  for (const Placement& place : kPlacements) {
    const bool bold = place.id == kFolderLabel || place.id == kDriveLabel;
    SendMessageW(Control(place.id), WM_SETFONT, reinterpret_cast<WPARAM>(bold ? bold_font_ : font_),
                 FALSE);
  }
  Layout();
}

void Win32Window::Layout() {
  const auto scale = [this](int value) { return MulDiv(value, static_cast<int>(dpi_), 96); };
  const DWORD style = static_cast<DWORD>(GetWindowLongPtrW(window_, GWL_STYLE));
  const DWORD extended = static_cast<DWORD>(GetWindowLongPtrW(window_, GWL_EXSTYLE));
  RECT frame{0, 0, 0, 0};
  AdjustWindowRectEx(&frame, style & ~WS_VSCROLL, FALSE, extended);
  MONITORINFO monitor{};
  monitor.cbSize = sizeof monitor;
  GetMonitorInfoW(MonitorFromWindow(window_, MONITOR_DEFAULTTONEAREST), &monitor);
  const RECT work = monitor.rcWork;
  const int available = (work.bottom - work.top) - (frame.bottom - frame.top);
  const int wanted = scale(kClientHeight);
  const bool scrolling = wanted > available;
  const int client_height = scrolling ? available : wanted;
  const int rows_height = client_height - scale(kButtonRowHeight);  // what scrolls
  const int content_height = scale(kButtonRowTop);
  scroll_ = scrolling ? std::clamp(scroll_, 0, content_height - rows_height) : 0;
  const int scroll_bar = scrolling ? ScrollBarWidth(dpi_) : 0;
  // Across, the layout closes up (margins and gaps, boxes) only on a screen
  // too narrow for it.
  const int wanted_width = scale(kClientWidth);
  const int content_width = std::min<int>(
      wanted_width, (work.right - work.left) - (frame.right - frame.left) - scroll_bar);
  const auto across = [&](int value) { return MulDiv(scale(value), content_width, wanted_width); };

  std::vector<RECT> places;  // in kPlacements' order
  for (const Placement& place : kPlacements) {
    const int y = IsButton(place.id) ? client_height - scale(kClientHeight - place.y)
                                     : scale(place.y) - scroll_;
    places.push_back({across(place.x), y, across(place.x + place.width), y + scale(place.height)});
  }
  const auto at = [&places](int id) -> RECT& {
    return places[static_cast<size_t>(
        std::find_if(std::begin(kPlacements), std::end(kPlacements),
                     [id](const Placement& place) { return place.id == id; }) -
        std::begin(kPlacements))];
  };
  // A label and the box beside it share a row: the label as wide as its
  // text in this font, the box from there to its place's right edge.
  const auto beside = [&](std::initializer_list<int> labels, std::initializer_list<int> boxes) {
    int width = 0;
    for (const int id : labels) width = std::max<int>(width, TextSize(id).cx);
    for (const int id : labels) {
      at(id).right = std::max<int>(at(id).right, at(id).left + width);
    }
    const int box_left = at(*labels.begin()).left + width + scale(8);
    for (const int id : boxes) at(id).left = std::max<int>(at(id).left, box_left);
  };
  beside({kDriveLabel}, {kDriveList});
  beside({kOutputLabel, kSavedLabel}, {kOutputFolder, kSavedWorkbook});
  for (size_t i = 0; i < places.size(); ++i) {
    const RECT& place = places[i];
    MoveWindow(Control(kPlacements[i].id), place.left, place.top, place.right - place.left,
               place.bottom - place.top, FALSE);
  }
  // Group boxes behind the buttons they frame.
  for (const int id : {kViewingGroup, kSheetsGroup}) {
    SetWindowPos(Control(id), HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  }
  MoveWindow(Control(kButtonStrip), 0, rows_height, content_width, scale(kButtonRowHeight), FALSE);
  SetWindowPos(Control(kButtonStrip), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  for (const int id : {kProcess, kRunReport, kAbout, kExit}) {
    SetWindowPos(Control(id), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  }

  SCROLLINFO scroll{};
  scroll.cbSize = sizeof scroll;
  scroll.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
  scroll.nMax = scrolling ? content_height - 1 : 0;
  scroll.nPage = scrolling ? static_cast<UINT>(rows_height) : 0;
  scroll.nPos = scroll_;
  SetScrollInfo(window_, SB_VERT, &scroll, TRUE);
  ShowScrollBar(window_, SB_VERT, scrolling);

  // The scroll bar beside the content; AdjustWindowRectEx leaves it out.
  RECT outer{0, 0, content_width + scroll_bar, client_height};
  AdjustWindowRectEx(&outer, style & ~WS_VSCROLL, FALSE, extended);
  RECT now;
  GetWindowRect(window_, &now);
  const int width = outer.right - outer.left;
  const int height = outer.bottom - outer.top;
  // Within the monitor's work area.
  const int left = std::max<int>(work.left, std::min<int>(now.left, work.right - width));
  const int top = std::max<int>(work.top, std::min<int>(now.top, work.bottom - height));
  SetWindowPos(window_, nullptr, left, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
  InvalidateRect(window_, nullptr, TRUE);
}

void Win32Window::ScrollTo(int position) {
  if (position == scroll_) return;
  scroll_ = std::max(position, 0);
  Layout();
}

HWND Win32Window::Control(int id) const { return GetDlgItem(window_, id); }

SIZE Win32Window::TextSize(int id, int wrap_width) const {
  HWND control = Control(id);
  std::wstring caption = WindowText(control);
  wchar_t type[16] = {};
  GetClassNameW(control, type, 16);
  const bool is_edit = lstrcmpiW(type, L"Edit") == 0;
  // An empty box still shows a line of text.
  if (caption.empty() && is_edit) caption = L"Ay";
  if (control == nullptr || caption.empty()) return {0, 0};
  const auto style = static_cast<DWORD>(GetWindowLongPtrW(control, GWL_STYLE));
  UINT format = DT_CALCRECT | DT_EXPANDTABS;
  if (is_edit || (lstrcmpiW(type, L"Static") == 0 && (style & SS_NOPREFIX))) format |= DT_NOPREFIX;
  format |= wrap_width > 0 ? DT_WORDBREAK : DT_SINGLELINE;
  HDC dc = GetDC(control);
  const HGDIOBJ old =
      SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)));
  RECT needed{0, 0, wrap_width, 0};
  DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &needed, format);
  SelectObject(dc, old);
  ReleaseDC(control, dc);
  return {needed.right - needed.left, needed.bottom - needed.top};
}

int Win32Window::Overflow(int id, bool down) const {
  HWND control = Control(id);
  if (control == nullptr) return 0;
  const auto scale = [this](int value) { return MulDiv(value, static_cast<int>(dpi_), 96); };
  RECT client;
  GetClientRect(control, &client);
  const auto style = static_cast<DWORD>(GetWindowLongPtrW(control, GWL_STYLE));
  wchar_t type[32] = {};
  GetClassNameW(control, type, 32);
  // Room the control keeps for itself beside and above its text.
  int beside = 0, above = 0;
  bool wraps = false;
  if (lstrcmpiW(type, L"Static") == 0) {
    wraps = (style & SS_TYPEMASK) != SS_LEFTNOWORDWRAP;
  } else if (lstrcmpiW(type, L"Button") == 0) {
    switch (style & BS_TYPEMASK) {
      case BS_GROUPBOX:
        beside = scale(20);  // the frame's corner and the gaps around the caption
        break;
      case BS_AUTORADIOBUTTON:
      case BS_RADIOBUTTON:
      case BS_AUTOCHECKBOX:
      case BS_CHECKBOX:
        beside = scale(13 + 6);  // the box or circle and the gap after it
        break;
      default:
        beside = scale(12);  // a push button's edges and focus frame
        above = scale(6);
        break;
    }
  } else if (lstrcmpiW(type, L"Edit") == 0) {
    // Paths and times scroll across; only the height is checked.
    return down ? TextSize(id).cy - client.bottom : 0;
  } else {
    return 0;  // lists, drive list, progress bar: no caption of their own
  }
  const SIZE needed = TextSize(id, wraps ? std::max<int>(client.right - beside, 1) : 0);
  return down ? needed.cy + above - client.bottom : needed.cx + beside - client.right;
}

void Win32Window::SetText(int id, const std::string& value) {
  const std::wstring wide = WideFromUtf8(value);
  if (WindowText(Control(id)) != wide) SetWindowTextW(Control(id), wide.c_str());
}

void Win32Window::ShowEnd(int id) {
  // A path too long for its box shows its end: the folder's or the file's
  // own name.
  const int length = GetWindowTextLengthW(Control(id));
  SendMessageW(Control(id), EM_SETSEL, static_cast<WPARAM>(length), static_cast<LPARAM>(length));
}

void Win32Window::Command(int id, int code) {
  if (!model_) return;
  WindowModel& model = *model_;
  switch (id) {
    case IDOK:  // Return, wherever the focus is
      model.Return();
      return;
    case kFolderPath:
      if (code == EN_CHANGE && !setting_path_text_) {
        model.PathTyped(Utf8FromWide(WindowText(Control(kFolderPath))));
      }
      if (code == EN_KILLFOCUS) model.PathEditingFinished();
      return;
    case kBrowse:
      model.Browse();
      return;
    case kDriveList:
      if (code == CBN_SELCHANGE) {
        const int index = ComboBox_GetCurSel(Control(kDriveList));
        std::wstring root(
            static_cast<size_t>(ComboBox_GetLBTextLen(Control(kDriveList), index)) + 1, L'\0');
        root.resize(static_cast<size_t>(SendMessageW(Control(kDriveList), CB_GETLBTEXT, index,
                                                     reinterpret_cast<LPARAM>(root.data()))));
        model.DrivePicked(fs::path(root));
      }
      return;
    case kFolderList:
      if (code == LBN_DBLCLK) {
        const int index = ListBox_GetCurSel(Control(kFolderList));
        if (index < 0) return;
        if (index == 0 && listed_folder_.has_relative_path()) {
          model.ChooseFolder(listed_folder_.parent_path());
        } else {
          std::wstring name(
              static_cast<size_t>(ListBox_GetTextLen(Control(kFolderList), index)) + 1, L'\0');
          name.resize(static_cast<size_t>(SendMessageW(Control(kFolderList), LB_GETTEXT, index,
                                                       reinterpret_cast<LPARAM>(name.data()))));
          model.ChooseFolder(listed_folder_ / name);
        }
      }
      return;
    case kViewAfter:
      model.SetViewing(WorkbookViewing::kViewAfterCompleted);
      return;
    case kDontOpen:
      model.SetViewing(WorkbookViewing::kDontOpen);
      return;
    case kPlayersOnly:
      model.SetSheets(SheetChoice::kPlayersOnly);
      return;
    case kTeamsOnly:
      model.SetSheets(SheetChoice::kTeamsOnly);
      return;
    case kPlayersAndTeams:
      model.SetSheets(SheetChoice::kPlayersAndTeams);
      return;
    case kPlayerIndex:
      model.SetIndex(Button_GetCheck(Control(kPlayerIndex)) == BST_CHECKED);
      return;
    case kLeaders:
      model.SetLeaders(Button_GetCheck(Control(kLeaders)) == BST_CHECKED);
      return;
    case kChangeOutput:
      model.ChangeOutputFolder();
      return;
    case kProcess:
      model.ProcessOrStop();
      return;
    case kRunReport:
      model.ShowReport();
      return;
    case kAbout:
      model.About();
      return;
    case kExit:
      SendMessageW(window_, WM_CLOSE, 0, 0);
      return;
    default:
      return;
  }
}

void Win32Window::FillFolderList() {
  const fs::path folder = model_->state().shown_folder;
  if (folder == listed_folder_) return;
  listed_folder_ = folder;
  HWND list = Control(kFolderList);
  SendMessageW(list, WM_SETREDRAW, FALSE, 0);
  ListBox_ResetContent(list);
  if (folder.has_relative_path()) ListBox_AddString(list, L"..");
  std::vector<std::wstring> names;
  std::error_code error;
  for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
    std::error_code kind_error;
    if (it->is_directory(kind_error)) names.push_back(it->path().filename().wstring());
  }
  std::sort(names.begin(), names.end(), [](const std::wstring& a, const std::wstring& b) {
    return CompareStringEx(LOCALE_NAME_USER_DEFAULT, LINGUISTIC_IGNORECASE | SORT_DIGITSASNUMBERS,
                           a.c_str(), -1, b.c_str(), -1, nullptr, nullptr, 0) == CSTR_LESS_THAN;
  });
  for (const std::wstring& name : names) ListBox_AddString(list, name.c_str());
  SendMessageW(list, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(list, nullptr, TRUE);
}

// ---------------------------------------------------------------------------
// Drawing the state.

void Win32Window::Refresh(unsigned parts) {
  if (!model_) return;
  const WindowState& state = model_->state();
  if (parts & kPathTextPart) {
    setting_path_text_ = true;
    SetText(kFolderPath, state.path_text);
    ShowEnd(kFolderPath);
    setting_path_text_ = false;
  }
  if (parts & kFolderPart) {
    SetText(kFolderHint, state.folder_hint);
    FillFolderList();
    const std::wstring root = state.shown_folder.root_path().wstring();
    const int index = ComboBox_FindStringExact(Control(kDriveList), -1, root.c_str());
    if (index >= 0) ComboBox_SetCurSel(Control(kDriveList), index);
  }
  if (parts & kChoicesPart) {
    CheckRadioButton(window_, kViewAfter, kDontOpen,
                     state.viewing == WorkbookViewing::kDontOpen ? kDontOpen : kViewAfter);
    CheckRadioButton(window_, kPlayersOnly, kPlayersAndTeams,
                     state.sheets == SheetChoice::kPlayersOnly ? kPlayersOnly
                     : state.sheets == SheetChoice::kTeamsOnly ? kTeamsOnly
                                                               : kPlayersAndTeams);
    Button_SetCheck(Control(kPlayerIndex), state.index ? BST_CHECKED : BST_UNCHECKED);
    Button_SetCheck(Control(kLeaders), state.leaders ? BST_CHECKED : BST_UNCHECKED);
  }
  if (parts & (kChoicesPart | kRunPart | kFolderPart)) {
    // Team sheets only have no leaders.
    EnableWindow(Control(kLeaders), state.choices_enabled() && PlayersWanted(state.sheets));
  }
  if (parts & kOutputPart) {
    SetText(kOutputFolder, Utf8FromPath(fs::path(state.output_folder).make_preferred()));
    SetText(kSavedWorkbook, Utf8FromPath(fs::path(state.saved_workbook).make_preferred()));
    ShowEnd(kOutputFolder);
    ShowEnd(kSavedWorkbook);
  }
  if (parts & (kRunPart | kFolderPart)) {
    const bool idle = state.choices_enabled();
    for (const int id : {kFolderPath, kBrowse, kDriveList, kFolderList, kViewAfter, kDontOpen,
                         kPlayersOnly, kTeamsOnly, kPlayersAndTeams, kPlayerIndex, kChangeOutput}) {
      EnableWindow(Control(id), idle);
    }
    EnableWindow(Control(kRunReport), idle && state.report_available);
    SetText(kProcess, std::string(state.process_caption()));
    EnableWindow(Control(kProcess), state.process_enabled());
    SetText(kStartedTime, state.started_time);
    SetText(kEndedTime, state.ended_time);
  }
  if (parts & kProgressPart) {
    SetText(kProgressLabel, std::string(state.progress_label));
    SetText(kProgressText, state.progress_text);
    SendMessageW(Control(kProgressBar), PBM_SETPOS, static_cast<WPARAM>(state.progress_value), 0);
  }
  if (parts & kStatusPart) SetText(kStatusText, state.status_text);
}

// ---------------------------------------------------------------------------
// What the window does for the model.

MessageAnswer Win32Window::Message(Severity severity, const std::string& message,
                                   MessageButtons buttons) {
  std::vector<TASKDIALOG_BUTTON> extra;
  const std::wstring show_report = WideFromUtf8(text::kShowReport);
  constexpr int kShowReportId = 1000;
  if (buttons == MessageButtons::kOkAndShowReport)
    extra.push_back({kShowReportId, show_report.c_str()});
  const int pressed = TaskDialogBox(IsWindowVisible(window_) ? window_ : nullptr, severity,
                                    WideFromUtf8(message), TDCBF_OK_BUTTON, extra);
  return pressed == kShowReportId ? MessageAnswer::kShowReport : MessageAnswer::kOk;
}

bool Win32Window::Ask(const std::string& question) {
  return TaskDialogBox(window_, Severity::kWarning, WideFromUtf8(question),
                       TDCBF_YES_BUTTON | TDCBF_NO_BUTTON, {}) == IDYES;
}

std::optional<fs::path> Win32Window::ChooseFolder(const std::string& title, const fs::path& start) {
  return PickWithDialog(window_, true, WideFromUtf8(title), start);
}

std::optional<fs::path> Win32Window::ChooseReportFile(const fs::path& suggested) {
  return PickWithDialog(window_, false, WideFromUtf8(text::kSaveReportTitle), suggested);
}

void Win32Window::ShowRunReport() { ReportDialog(window_, font_, dpi_, *model_).Show(); }

bool Win32Window::OpenWorkbook(const fs::path& workbook) {
  return OpenInDesktopApplication(workbook).empty();
}

std::string Win32Window::TimeStamp(std::chrono::system_clock::time_point when) {
  return LocalDateTimeText(when);
}

void Win32Window::WatchFolder(const fs::path& folder) { watched_folder_ = folder; }

void Win32Window::StartTimer(WindowTimer timer, std::chrono::milliseconds delay) {
  SetTimer(window_, timer == WindowTimer::kPathPause ? 1 : 2, static_cast<UINT>(delay.count()),
           nullptr);
}

void Win32Window::StopTimer(WindowTimer timer) {
  KillTimer(window_, timer == WindowTimer::kPathPause ? 1 : 2);
}

std::unique_ptr<BackgroundWork> Win32Window::StartBackground(std::function<void()> work) {
  return StartThread(std::move(work));
}

void Win32Window::PostToWindow(std::function<void()> task) {
  auto* posted = new std::function<void()>(std::move(task));
  if (!PostMessageW(window_, kPostedTask, 0, reinterpret_cast<LPARAM>(posted))) delete posted;
}

void Win32Window::Quit(int status) {
  exit_status_ = status;
  PostQuitMessage(status);
}

void Win32Window::EndAtOnce(int status) { std::_Exit(status); }

}  // namespace statcrane

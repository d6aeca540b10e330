// The window on Windows: statcrane.exe without arguments (its console, when
// it has one of its own, is let go), and statcrane-window.exe, the program
// the Start menu starts.
#include <windows.h>

#include "app/win32/win32_window.h"
#include "app/window/window_main.h"

namespace statcrane {

int RunWindow(int /*argc*/, char** /*argv*/) {
  // Started from Explorer, a console program gets a console of its own: let
  // it go, so that only the window is seen. Started from a console, the
  // console stays the user's.
  DWORD processes[2];
  if (GetConsoleProcessList(processes, 2) == 1) FreeConsole();
  Win32Window window(DesktopWindowSetup());
  return window.Run(SW_SHOWDEFAULT);
}

}  // namespace statcrane

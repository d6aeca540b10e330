// statcrane-window.exe: the window alone, a Windows (not console) program,
// for the Start menu and double clicks.
#include <windows.h>

#include "app/win32/win32_window.h"

int WINAPI WinMain(HINSTANCE /*instance*/, HINSTANCE /*previous*/, LPSTR /*arguments*/,
                   int show_command) {
  statcrane::Win32Window window(statcrane::DesktopWindowSetup());
  return window.Run(show_command);
}

// statcrane: the window when started without arguments, the command line
// otherwise.
#include "app/command_line.h"

#ifdef STATCRANE_HAVE_WINDOW
#include "app/window/window_main.h"
#endif

int main(int argc, char** argv) {
#ifdef STATCRANE_HAVE_WINDOW
  if (argc == 1) return statcrane::RunWindow(argc, argv);
#endif
  return statcrane::RunCommandLine(argc, argv);
}

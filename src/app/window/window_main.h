// The program's window, started when `statcrane` gets no arguments.
#pragma once

namespace statcrane {

// Opens the main window and runs until it is closed; returns the exit status
// (0; 2 when there is no display to open it on).
int RunWindow(int argc, char** argv);

}  // namespace statcrane

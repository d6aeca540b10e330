// The program's window, started when `statcrane` gets no arguments.
#pragma once

namespace statcrane {

// Opens Form1 and runs until the program ends; returns the exit status
// (0, or 1 after a start-up or run error).
int RunWindow(int argc, char** argv);

}  // namespace statcrane

// What the benchmarks share: times, peak memory, measuring in a child
// process, and the floor (cells straight through libxlsxwriter).
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <span>
#include <vector>

namespace statcrane::bench {

// Elapsed and processor time (user and system): on a shared machine the
// processor time is the steadier of the two.
struct Times {
  double elapsed = 0;
  double processor = 0;
  Times operator+(const Times& o) const { return {elapsed + o.elapsed, processor + o.processor}; }
};

// Processor time of the whole process so far.
double ProcessSeconds();

class Stopwatch {
 public:
  Times Lap();

 private:
  double start_ = MonotonicSeconds();
  double cpu_ = ProcessSeconds();
  static double MonotonicSeconds();
};

double PeakResidentMiB();  // of this process so far (getrusage ru_maxrss)

// What a measurement in a child process gives: the child's whole time and
// peak resident memory (its own, not mixed with the parent's or other
// children's), and the numbers the child reported.
struct ChildResult {
  bool ok = false;  // the child ended normally, exit status 0
  Times times;      // from fork to exit; processor time from the child's rusage
  double peak_mib = 0;
  std::vector<double> values;
};

// Runs `work` in a forked child. `work` fills its vector with up to 64
// numbers that come back in `values`, and returns false on failure.
ChildResult MeasureInChild(const std::function<bool(std::vector<double>&)>& work);

// The floor: hitting lines of 21 cells (numbers in A and C to U, a club
// abbreviation in B, "#.000" on D, E and F, medium left and right borders)
// straight through libxlsxwriter in constant-memory mode, with no model in
// between. Exits the program when libxlsxwriter reports an error.
inline constexpr int kFloorColumns = 21;
void WriteFloorWorkbook(int64_t rows, const std::filesystem::path& file);

// The values of hitting line i as the floor writes them; column B (index 1)
// holds Club(i) instead.
void HittingLineValues(int64_t i, std::span<double, kFloorColumns> values);
const char* Club(int64_t i);

}  // namespace statcrane::bench

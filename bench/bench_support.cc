#include "bench_support.h"

#include <sys/resource.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>
#include <xlsxwriter.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "util/three_decimals.h"

namespace statcrane::bench {
namespace {

double Seconds(const timespec& t) {
  return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

double Seconds(const timeval& t) {
  return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) * 1e-6;
}

constexpr std::array<const char*, 30> kClubs = {
    "NYY", "BOS", "TOR", "BAL", "TBR", "CLE", "DET", "KCR", "MIN", "CWS",
    "HOU", "LAA", "OAK", "SEA", "TEX", "ATL", "MIA", "NYM", "PHI", "WSN",
    "CHC", "CIN", "MIL", "PIT", "STL", "ARI", "COL", "LAD", "SDP", "SFG"};

constexpr size_t kMaxValues = 64;

// Writes or reads all of a buffer through a pipe end.
bool Transfer(int fd, char* data, size_t size, bool write) {
  while (size > 0) {
    const ssize_t n = write ? ::write(fd, data, size) : ::read(fd, data, size);
    if (n <= 0) return false;
    data += n;
    size -= static_cast<size_t>(n);
  }
  return true;
}

}  // namespace

double ProcessSeconds() {
  timespec t{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
  return Seconds(t);
}

double Stopwatch::MonotonicSeconds() {
  timespec t{};
  clock_gettime(CLOCK_MONOTONIC, &t);
  return Seconds(t);
}

Times Stopwatch::Lap() {
  const double now = MonotonicSeconds();
  const double cpu = ProcessSeconds();
  const Times lap{now - start_, cpu - cpu_};
  start_ = now;
  cpu_ = cpu;
  return lap;
}

double PeakResidentMiB() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

ChildResult MeasureInChild(const std::function<bool(std::vector<double>&)>& work) {
  ChildResult result;
  int fds[2];
  if (::pipe(fds) != 0) return result;
  std::fflush(nullptr);
  Stopwatch watch;
  const pid_t pid = ::fork();
  if (pid < 0) {
    ::close(fds[0]);
    ::close(fds[1]);
    return result;
  }
  if (pid == 0) {
    ::close(fds[0]);
    std::vector<double> values;
    bool ok = false;
    try {
      ok = work(values);
    } catch (const std::exception& error) {
      std::fprintf(stderr, "child: %s\n", error.what());
    }
    values.resize(kMaxValues);
    ok = ok && Transfer(fds[1], reinterpret_cast<char*>(values.data()),
                        values.size() * sizeof(double), true);
    std::fflush(nullptr);
    ::_exit(ok ? 0 : 1);
  }
  ::close(fds[1]);
  std::vector<double> values(kMaxValues);
  const bool got = Transfer(fds[0], reinterpret_cast<char*>(values.data()),
                            values.size() * sizeof(double), false);
  ::close(fds[0]);
  int status = 0;
  rusage usage{};
  if (::wait4(pid, &status, 0, &usage) != pid) return result;
  result.times.elapsed = watch.Lap().elapsed;
  result.times.processor = Seconds(usage.ru_utime) + Seconds(usage.ru_stime);
  result.peak_mib = static_cast<double>(usage.ru_maxrss) / 1024.0;
  result.ok = got && WIFEXITED(status) && WEXITSTATUS(status) == 0;
  if (got) result.values = std::move(values);
  return result;
}

const char* Club(int64_t i) { return kClubs[static_cast<size_t>(i % 30)]; }

void HittingLineValues(int64_t i, std::span<double, kFloorColumns> v) {
  int64_t at_bats = 50 + (i * 37) % 600;
  int64_t hits = at_bats * (20 + i % 15) / 100;
  int64_t doubles = hits / 5, triples = hits / 40, homers = (i * 13) % 45;
  int64_t walks = (i * 11) % 90, hbp = i % 9, sac_flies = i % 7;
  int64_t total_bases = hits + doubles + 2 * triples + 3 * homers;
  v[0] = static_cast<double>(1901 + i % 120);
  v[1] = 0;
  v[2] = static_cast<double>(20 + i % 21);
  v[3] = RoundThreeDecimals(static_cast<double>(hits) / static_cast<double>(at_bats));
  v[4] = RoundThreeDecimalsSingle(static_cast<double>(hits + walks + hbp) /
                                  static_cast<double>(at_bats + walks + hbp + sac_flies));
  v[5] = RoundThreeDecimals(static_cast<double>(total_bases) / static_cast<double>(at_bats));
  int64_t counts[15] = {at_bats,        hits,           doubles, triples,   homers,
                        (i * 17) % 130, (i * 19) % 140, hbp,     walks,     (i * 23) % 200,
                        i % 60,         i % 20,         i % 12,  sac_flies, total_bases};
  for (int k = 0; k < 15; ++k) v[static_cast<size_t>(6 + k)] = static_cast<double>(counts[k]);
}

void WriteFloorWorkbook(int64_t rows, const std::filesystem::path& file) {
  std::string folder = file.parent_path().string();
  lxw_workbook_options options{};
  options.constant_memory = LXW_TRUE;
  options.tmpdir = folder.data();
  lxw_workbook* book = workbook_new_opt(file.c_str(), &options);
  lxw_worksheet* sheet = workbook_add_worksheet(book, "A");
  lxw_format* line = workbook_add_format(book);
  format_set_left(line, LXW_BORDER_MEDIUM);
  format_set_right(line, LXW_BORDER_MEDIUM);
  lxw_format* rate = workbook_add_format(book);
  format_set_num_format(rate, "#.000");
  format_set_left(rate, LXW_BORDER_MEDIUM);
  format_set_right(rate, LXW_BORDER_MEDIUM);
  std::array<double, kFloorColumns> v;
  for (int64_t i = 0; i < rows; ++i) {
    HittingLineValues(i, v);
    lxw_row_t r = static_cast<lxw_row_t>(i);
    for (int c = 0; c < kFloorColumns; ++c) {
      if (c == 1) {
        worksheet_write_string(sheet, r, 1, Club(i), line);
      } else {
        worksheet_write_number(sheet, r, static_cast<lxw_col_t>(c), v[static_cast<size_t>(c)],
                               c >= 3 && c <= 5 ? rate : line);
      }
    }
  }
  lxw_error error = workbook_close(book);
  if (error != LXW_NO_ERROR) {
    std::fprintf(stderr, "floor: %s\n", lxw_strerror(error));
    std::exit(1);
  }
}

}  // namespace statcrane::bench

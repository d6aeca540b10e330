#include "workbook/xlsx_writer.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <exception>
#include <mutex>
#include <numeric>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "util/error.h"
#include "util/platform_files.h"
#include "util/step_clock.h"
#include "workbook/compressor.h"
#include "workbook/xlsx_parts.h"
#include "workbook/xlsx_styles.h"
#include "workbook/zip_writer.h"

// The compression level, chosen from measurements (bench/compression_bench
// on the full-capacity workbook, 478 MB of XML with every cell's reference,
// one thread): libdeflate's level 1 makes 74.08 MB at about 415 MB/s, level
// 2 74.23 MB at 280, level 3 72.57 MB at 235, level 4 69.41 MB at 180, level
// 5 62.62 MB at 135. The file may be at most 1.1 times the previous writer's
// 67,482,929 bytes (74.23 MB), and the whole run at most 0.2 times the floor
// (bench/full_run_bench): level 1 keeps both, with little room in size
// (1.098 times; its run took 0.19 to 0.21 times the floor's processor
// time), while level 3 (1.076 times) took 0.24 to 0.27 and level 4 0.28 to
// 0.30. See kDefaultCompressionLevel.

namespace statcrane {
namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

double Seconds(Clock::duration d) { return std::chrono::duration<double>(d).count(); }
// Processor seconds of the calling thread: how busy it was, also on a
// machine that others share.
double ThreadSeconds() { return ThreadProcessorSeconds(); }

// The current time as W3CDTF, UTC.
std::string NowW3cdtf() {
  using namespace std::chrono;
  const auto now = floor<seconds>(system_clock::now());
  const auto day = floor<days>(now);
  const year_month_day date{day};
  const hh_mm_ss<seconds> time{now - day};
  char text[32];
  std::snprintf(text, sizeof text, "%04d-%02u-%02uT%02d:%02d:%02dZ", static_cast<int>(date.year()),
                static_cast<unsigned>(date.month()), static_cast<unsigned>(date.day()),
                static_cast<int>(time.hours().count()), static_cast<int>(time.minutes().count()),
                static_cast<int>(time.seconds().count()));
  return text;
}

// The file an OutputFile is, as the zip writer's sink.
class FileSink : public ByteSink {
 public:
  explicit FileSink(OutputFile& file) : file_(file) {}
  void Write(std::span<const uint8_t> data) override { file_.Write(data); }

 private:
  OutputFile& file_;
};

// A part ready for the file.
struct CompressedPart {
  std::vector<uint8_t> deflated;
  uint32_t crc = 0;
  uint64_t size = 0;
};

CompressedPart Compress(Compressor& compressor, std::string_view xml) {
  CompressedPart part;
  compressor.Deflate(xml, part.deflated);
  part.crc = Crc32(0, xml);
  part.size = xml.size();
  return part;
}

// Runs `task(worker, item)` for items 0..count-1 on `workers` threads (the
// calling thread waits). Items are taken in order by whichever thread is
// free; the first exception stops the others taking more and is rethrown.
class WorkerPool {
 public:
  explicit WorkerPool(int workers) : workers_(std::max(workers, 1)), busy_(workers_, 0.0) {}
  int workers() const { return workers_; }
  const std::vector<double>& busy() const { return busy_; }

  // Starts the threads; Wait() joins them.
  template <typename Task>
  void Start(size_t count, Task task) {
    next_ = 0;
    threads_.clear();
    const int threads = static_cast<int>(std::min<size_t>(static_cast<size_t>(workers_), count));
    for (int w = 0; w < threads; ++w) {
      threads_.emplace_back([this, w, count, task] {
        const double start = ThreadSeconds();
        try {
          for (size_t item; !failed_.load() && (item = next_.fetch_add(1)) < count;) task(w, item);
        } catch (...) {
          std::lock_guard<std::mutex> lock(mutex_);
          if (!error_) error_ = std::current_exception();
          failed_ = true;
        }
        busy_[static_cast<size_t>(w)] += ThreadSeconds() - start;
      });
    }
  }
  void Wait() {
    for (std::thread& thread : threads_) thread.join();
    threads_.clear();
  }
  void Rethrow() {
    if (error_) std::rethrow_exception(error_);
  }
  bool failed() const { return failed_.load(); }
  ~WorkerPool() { Wait(); }

 private:
  int workers_;
  std::vector<double> busy_;
  std::vector<std::thread> threads_;
  std::atomic<size_t> next_{0};
  std::atomic<bool> failed_{false};
  std::mutex mutex_;
  std::exception_ptr error_;
};

int ThreadCount(int requested) {
  if (requested > 0) return requested;
  const unsigned cores = std::thread::hardware_concurrency();
  return cores == 0 ? 1 : static_cast<int>(cores);
}

class PackageWriter {
 public:
  PackageWriter(const Workbook& workbook, ProgressObserver* progress,
                const XlsxWriteOptions& options)
      : workbook_(workbook),
        progress_(progress),
        options_(options),
        pool_(ThreadCount(options.threads)),
        sheets_(workbook.SheetCount()) {}
  // A failure on this thread (the file) leaves the pool working: stop it
  // before the parts it uses go.
  ~PackageWriter() {
    stop_ = true;
    pool_.Wait();
  }
  PackageWriter(const PackageWriter&) = delete;
  PackageWriter& operator=(const PackageWriter&) = delete;

  int64_t Write(OutputFile& file) {
    const auto start = Clock::now();
    Survey();
    StartSheets();
    FileSink sink(file);
    ZipWriter zip(sink);
    WriteSmallParts(zip);
    WriteSheets(zip);
    const double finish = ThreadSeconds();
    zip.Finish();
    stats_.write_seconds += ThreadSeconds() - finish;
    stats_.file_bytes = static_cast<int64_t>(zip.bytes_written());
    stats_.elapsed = Seconds(Clock::now() - start);
    stats_.thread_busy = pool_.busy();
    if (options_.stats != nullptr) *options_.stats = stats_;
    int64_t cells = 0;
    for (const SheetState& sheet : sheets_) cells += sheet.survey.stored_cells;
    return cells;
  }

 private:
  struct SheetState {
    SheetSurvey survey;
    std::optional<CompressedPart> part;  // set when compressed, taken when written
  };

  void Report() {
    if (progress_ == nullptr) return;
    const int64_t done = rows_done_.load();
    if (done == last_reported_) return;
    last_reported_ = done;
    progress_->PhaseProgress("writing", done, total_rows_);
  }

  // Looks over every sheet's cells: the block each covers, and the texts
  // they hold, which go to the shared strings part.
  void Survey() {
    const size_t texts = workbook_.strings().size();
    std::vector<std::vector<uint8_t>> used(static_cast<size_t>(pool_.workers()));
    std::vector<double> seconds(used.size(), 0);
    pool_.Start(sheets_.size(), [&](int worker, size_t i) {
      const double task_start = ThreadSeconds();
      std::vector<uint8_t>& mine = used[static_cast<size_t>(worker)];
      if (mine.empty()) mine.assign(texts, 0);
      sheets_[i].survey = SurveySheet(workbook_.SheetAt(i), mine);
      seconds[static_cast<size_t>(worker)] += ThreadSeconds() - task_start;
    });
    pool_.Wait();
    pool_.Rethrow();
    std::vector<uint8_t> all(texts, 0);
    for (const std::vector<uint8_t>& mine : used) {
      for (size_t t = 0; t < mine.size(); ++t) all[t] |= mine[t];
    }
    int64_t text_cells = 0;
    for (const SheetState& sheet : sheets_) text_cells += sheet.survey.text_cells;
    shared_ = ChooseSharedStrings(all, text_cells);
    for (size_t i = 0; i < sheets_.size(); ++i)
      total_rows_ += workbook_.SheetAt(i).LastRow().number();
    stats_.survey_seconds = std::accumulate(seconds.begin(), seconds.end(), 0.0);
  }

  // Makes and compresses the sheet parts on the pool, largest first so that
  // the threads finish together.
  void StartSheets() {
    order_.resize(sheets_.size());
    std::iota(order_.begin(), order_.end(), size_t{0});
    std::stable_sort(order_.begin(), order_.end(), [&](size_t a, size_t b) {
      return sheets_[a].survey.stored_cells > sheets_[b].survey.stored_cells;
    });
    compressors_.resize(static_cast<size_t>(pool_.workers()));
    xml_seconds_.assign(compressors_.size(), 0);
    compress_seconds_.assign(compressors_.size(), 0);
    xml_bytes_.assign(compressors_.size(), 0);
    pool_.Start(order_.size(), [this](int worker, size_t item) {
      const size_t i = order_[item];
      const size_t w = static_cast<size_t>(worker);
      auto& compressor = compressors_[w];
      if (!compressor) compressor = MakeCompressor(options_.compression_level);
      const double start = ThreadSeconds();
      PartBuffer xml;
      SheetPartWriter writer(workbook_.SheetAt(i), sheets_[i].survey,
                             i == workbook_.OpeningSheetIndex(), shared_);
      if (!writer.Write(xml, rows_done_, stop_)) return;
      const double made = ThreadSeconds();
      CompressedPart part = Compress(*compressor, xml.view());
      xml_bytes_[w] += static_cast<int64_t>(xml.size());
      xml.Release();
      xml_seconds_[w] += made - start;
      compress_seconds_[w] += ThreadSeconds() - made;
      {
        std::lock_guard<std::mutex> lock(mutex_);
        sheets_[i].part = std::move(part);
      }
      done_.notify_one();
    });
  }

  // The parts other than the sheets, made and written by this thread while
  // the pool works.
  void WriteSmallParts(ZipWriter& zip) {
    const double start = ThreadSeconds();
    PackageInfo info;
    for (size_t i = 0; i < workbook_.SheetCount(); ++i) {
      info.sheet_names.push_back(workbook_.SheetAt(i).name());
    }
    info.active = workbook_.OpeningSheetIndex();
    info.shared_strings = !shared_.texts.empty();
    info.version = STATCRANE_VERSION;
    info.title = workbook_.title();
    info.defined_names = SheetDefinedNames(workbook_);
    const std::string created = options_.created.empty() ? NowW3cdtf() : options_.created;
    std::vector<std::pair<std::string, std::string>> parts;
    parts.emplace_back("[Content_Types].xml", ContentTypesPart(info));
    parts.emplace_back("_rels/.rels", RootRelationshipsPart());
    parts.emplace_back("docProps/app.xml", AppPropertiesPart(info));
    parts.emplace_back(
        "docProps/core.xml",
        CorePropertiesPart(info.application + " " + info.version, created, info.title));
    parts.emplace_back("xl/workbook.xml", WorkbookPart(info));
    parts.emplace_back("xl/_rels/workbook.xml.rels", WorkbookRelationshipsPart(info));
    parts.emplace_back("xl/styles.xml", StylesPart(workbook_.styles()));
    if (info.shared_strings) {
      parts.emplace_back("xl/sharedStrings.xml", SharedStringsPart(workbook_.strings(), shared_));
    }
    const auto compressor = MakeCompressor(options_.compression_level);
    for (const auto& [name, xml] : parts) {
      const CompressedPart part = Compress(*compressor, xml);
      stats_.xml_bytes += static_cast<int64_t>(xml.size());
      zip.Add(name, part.deflated, part.crc, part.size);
    }
    stats_.write_seconds += ThreadSeconds() - start;
  }

  // Writes the sheet parts in tab order as they are done, reporting progress
  // and passing a stop on to the pool meanwhile.
  void WriteSheets(ZipWriter& zip) {
    try {
      for (size_t i = 0; i < sheets_.size(); ++i) {
        std::optional<CompressedPart> part;
        {
          std::unique_lock<std::mutex> lock(mutex_);
          while (!sheets_[i].part) {
            if (stop_ || pool_.failed()) break;
            done_.wait_for(lock, std::chrono::milliseconds(50));
            lock.unlock();
            Report();
            if (progress_ != nullptr && progress_->StopRequested()) stop_ = true;
            lock.lock();
          }
          part.swap(sheets_[i].part);
        }
        if (!part) break;  // stopped or failed: the pool says which
        const double start = ThreadSeconds();
        zip.Add(SheetPartName(i), part->deflated, part->crc, part->size);
        stats_.write_seconds += ThreadSeconds() - start;
        Report();
        if (progress_ != nullptr && progress_->StopRequested()) stop_ = true;
        if (stop_) break;
      }
    } catch (...) {
      stop_ = true;
      pool_.Wait();
      throw;
    }
    pool_.Wait();
    pool_.Rethrow();
    if (stop_) throw RunStopped();
    for (size_t w = 0; w < xml_seconds_.size(); ++w) {
      stats_.xml_seconds += xml_seconds_[w];
      stats_.compress_seconds += compress_seconds_[w];
      stats_.xml_bytes += xml_bytes_[w];
    }
    Report();
  }

  const Workbook& workbook_;
  ProgressObserver* progress_;
  const XlsxWriteOptions& options_;
  WorkerPool pool_;
  std::vector<SheetState> sheets_;
  std::vector<size_t> order_;
  SharedStrings shared_;
  std::vector<std::unique_ptr<Compressor>> compressors_;
  std::vector<double> xml_seconds_, compress_seconds_;
  std::vector<int64_t> xml_bytes_;
  std::mutex mutex_;
  std::condition_variable done_;
  std::atomic<int64_t> rows_done_{0};
  std::atomic<bool> stop_{false};
  int64_t total_rows_ = 0;
  int64_t last_reported_ = -1;
  XlsxWriteStats stats_;
};

}  // namespace

int64_t WriteXlsx(const Workbook& workbook, const fs::path& target, bool overwrite,
                  ProgressObserver* progress, const XlsxWriteOptions& options) {
  OutputFile file(target, overwrite);
  PackageWriter writer(workbook, progress, options);
  int64_t cells = 0;
  try {
    cells = writer.Write(file);
  } catch (const std::bad_alloc&) {
    throw StatCraneError("cannot save the workbook as \"" + target.string() + "\": out of memory");
  }
  if (progress != nullptr) CheckStop(*progress);
  file.Publish();
  return cells;
}

}  // namespace statcrane
